#!/usr/bin/env bash
# Sets up the machine, builds everything and starts the proposal program
# KLAVRegistraPropostas in the folder of the sample process files, so that
# its file dialog opens where they are.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
bash scripts/build.sh build

# The program is a desktop window: without a display say so in one line rather
# than failing inside Qt. The set-up above has installed xvfb-run, so the
# command shown works on this machine as it stands.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to show the window on; run it under a virtual one: xvfb-run -a -s \"-screen 0 1280x800x24\" bash scripts/run.sh" >&2
  exit 1
fi

cd build/samples
exec "$root/build/proposals/KLAVRegistraPropostas"
