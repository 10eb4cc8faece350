#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
bash scripts/build.sh build

# Until the main window exists, "running" means checking the sample process
# files that the build produced.
status=0
for f in build/samples/*.ZUL; do
  [ -e "$f" ] || { echo "no sample files were built"; exit 1; }
  if build/tools/zultool check "$f"; then echo "ok  $f"; else echo "BAD $f"; status=1; fi
done
exit $status
