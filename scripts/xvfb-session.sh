# shellcheck shell=bash
# A virtual X server for the scripts that run the window program: a work folder, a server
# on a free display, and a clean-up on exit that ends the program ($app_pid), the server
# and removes the work folder. Source it; it runs nothing by itself.
#
#   missing=$(xvfb_missing_tool TOOL...)  prints the first TOOL that is not on PATH and
#                                         succeeds; fails quietly when all of them are there
#   xvfb_session_begin NAME               makes the work folder $work
#                                         ($TMPDIR/NAME-XXXXXX) and sets the EXIT trap
#   xvfb_start LOG                        starts Xvfb with its messages going to LOG, waits
#                                         up to 10 s for the display it picked and exports
#                                         DISPLAY; fails when none comes

work=""
xvfb_pid=""
app_pid=""

xvfb_missing_tool() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "$tool"
      return 0
    fi
  done
  return 1
}

xvfb_session_cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if [ -n "$work" ]; then rm -rf "$work"; fi
}

xvfb_session_begin() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX")
  trap xvfb_session_cleanup EXIT
}

xvfb_start() {
  # A free display: the server picks it and writes its number.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$1" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || return 1
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
}
