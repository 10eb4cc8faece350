#!/usr/bin/env bash
# Runs one command on a private desktop: its own Xvfb server, with the openbox
# window manager, so that windows are activated, focused and decorated as on
# a user's desktop. The server picks a free display number itself, so several
# runs side by side never meet. The command gets DISPLAY and the xcb platform;
# its exit code is this script's.
#   run-under-wm.sh <command> [arguments...]
set -euo pipefail

for tool in Xvfb openbox xprop flock; do
  command -v "$tool" >/dev/null || { echo "run-under-wm: $tool is missing (scripts/setup.sh installs it)" >&2; exit 2; }
done

work="$(mktemp -d)"
xvfb_pid=""
wm_pid=""
watchdog_pid=""
stop_desktop() {
  if [ -n "$wm_pid" ]; then kill "$wm_pid" 2>/dev/null || true; wait "$wm_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  wm_pid=""
  xvfb_pid=""
}
trap '[ -z "$watchdog_pid" ] || kill "$watchdog_pid" 2>/dev/null || true; stop_desktop; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Starts the server and the window manager; false (with the logs kept) when
# either does not come up.
start_desktop() {
  : >"$work/display"
  # Xvfb writes the display number it took once it accepts clients.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" 9>&- &
  xvfb_pid=$!
  for _ in $(seq 1 200); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || return 1
    sleep 0.05
  done
  local display
  display="$(tr -d '[:space:]' <"$work/display")"
  [ -n "$display" ] || return 1
  export DISPLAY=":$display"
  # openbox announces itself on the root window once it manages windows.
  HOME="$work" openbox --sm-disable >"$work/openbox.log" 2>&1 9>&- &
  wm_pid=$!
  for _ in $(seq 1 200); do
    wm_running && return 0
    kill -0 "$wm_pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

# The server's choice of a free number is not safe against another server
# starting at the same moment (two may end up on one display): the start-ups
# of this script take turns, under one lock for all runs on the machine. A
# server or window manager that does not come up is started again.
started=""
exec 9>"${TMPDIR:-/tmp}/run-under-wm.lock"
flock 9
for _ in 1 2 3; do
  if start_desktop; then started=yes; break; fi
  stop_desktop
done
flock -u 9
exec 9>&-
if [ -z "$started" ]; then
  echo "run-under-wm: no desktop came up" >&2
  cat "$work/xvfb.log" "$work/openbox.log" >&2 2>/dev/null || true
  exit 2
fi

# Should this script be killed outright (a test runner's timeout), the
# server and the window manager still go when it has gone.
(
  while kill -0 "$$" 2>/dev/null; do sleep 1; done
  kill "$wm_pid" "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
) </dev/null >/dev/null 2>&1 &
watchdog_pid=$!

echo "run-under-wm: DISPLAY=$DISPLAY (Xvfb $xvfb_pid, openbox $wm_pid)" >&2
export QT_QPA_PLATFORM=xcb
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
status=0
"$@" || status=$?
exit "$status"
