#!/usr/bin/env bash
# Runs one command on a private desktop: its own Xvfb server, with the openbox
# window manager, so that windows are activated, focused and decorated as on
# a user's desktop. The server picks a free display number itself, so several
# runs side by side never meet. The command gets DISPLAY and the xcb platform;
# its exit code is this script's.
#   run-under-wm.sh <command> [arguments...]
set -euo pipefail

for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "run-under-wm: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done

work="$(mktemp -d)"
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb writes the display number it took once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 200); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 2; }
  sleep 0.05
done
display="$(tr -d '[:space:]' <"$work/display")"
[ -n "$display" ] || { echo "run-under-wm: Xvfb gave no display" >&2; cat "$work/xvfb.log" >&2; exit 2; }
export DISPLAY=":$display"

# openbox announces itself on the root window once it manages windows.
HOME="$work" openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 1 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  kill -0 "$wm_pid" 2>/dev/null || { cat "$work/openbox.log" >&2; exit 2; }
  sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
  { echo "run-under-wm: openbox did not start" >&2; cat "$work/openbox.log" >&2; exit 2; }

# Should this script be killed outright (a test runner's timeout), the
# server and the window manager still go when it has gone.
(
  while kill -0 "$$" 2>/dev/null; do sleep 1; done
  kill "$wm_pid" "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
) </dev/null >/dev/null 2>&1 &

export QT_QPA_PLATFORM=xcb
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
status=0
"$@" || status=$?
exit "$status"
