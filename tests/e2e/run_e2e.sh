#!/usr/bin/env bash
# End to end: starts the real window program in a virtual X server, in a folder of text
# files, with an output folder and a filter in its settings; presses Enter (the start
# button is the default button and has the focus) and checks the converted files, then
# clicks the start button for a second run, which finds the names in use and numbers its
# outputs; closes with Alt+F4 and checks that the program ends with status 0.
#
# Usage: run_e2e.sh VINTREL_BINARY
# Exit 77 (skipped) when the X tools are missing.
set -euo pipefail

vintrel=$1
# shellcheck source=scripts/xvfb-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb-session.sh"
if missing=$(xvfb_missing_tool Xvfb xdotool); then
  echo "SKIP: $missing is not installed" >&2
  exit 77
fi

xvfb_session_begin vintrel-run-e2e

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/vintrel.log" ] && cat "$work/vintrel.log" >&2
  exit 1
}

# Three text files, one that the filter leaves out, an exception word and the settings.
mkdir -p "$work/sample" "$work/out" "$work/config"
printf 'Some hyphen-\nated words.\n' >"$work/sample/page001.txt"
printf 'A socio-\neconomic survey\n' >"$work/sample/Page002.txt"
printf '   indented-\nline here\n' >"$work/sample/page003.txt"
printf 'not con-\nverted\n' >"$work/sample/notes.doc"
printf 'socio-\n' >"$work/config/vintrel.lst"
printf '[Initial]\r\nFilename=*.txt\r\n[Regist]\r\nOutDir=%s/out/\r\n[Default]\r\nDelAll=1\r\n' \
  "$work" >"$work/config/vintrel.INI"

expect_file() {  # NAME BYTES: waits up to 10 s for out/NAME to hold exactly BYTES
  local path="$work/out/$1" want
  want=$(printf '%s' "$2" | od -An -c)
  for _ in $(seq 100); do
    if [ -f "$path" ] && [ "$(od -An -c "$path")" = "$want" ]; then return 0; fi
    sleep 0.1
  done
  [ -f "$path" ] || fail "$1 was not written; out holds: $(ls "$work/out")"
  fail "$1 holds $(od -An -c "$path"), not $want"
}

xvfb_start "$work/xvfb.log" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

(cd "$work/sample" && XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb exec "$vintrel") \
  >"$work/vintrel.log" 2>&1 &
app_pid=$!

wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vintrel for Windows$' | head -n1) ||
  fail "no window appeared"
eval "$(xdotool getwindowgeometry --shell "$wid")"
menu_height=$((HEIGHT - 452))
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
sleep 0.5

xdotool key --clearmodifiers Return
expect_file PAGE001.TXT $'Some hyphenated\r\nwords.\r\n'
expect_file PAGE002.TXT $'A socio-economic\r\nsurvey\r\n'
expect_file PAGE003.TXT $'indentedline\r\nhere\r\n'
sleep 0.5
[ "$(ls "$work/out" | tr '\n' ' ')" = "PAGE001.TXT PAGE002.TXT PAGE003.TXT " ] ||
  fail "out holds $(ls "$work/out")"
[ "$(cat "$work/sample/page001.txt")" = $'Some hyphen-\nated words.' ] || fail "an input changed"

# The start button sits at 450,10 (100 x 28 pixels) of the form, below the menu bar. The
# names are in use now, so the outputs are numbered.
xdotool mousemove --sync $((X + 500)) $((Y + menu_height + 24)) click 1
expect_file PAGE001.000 $'Some hyphenated\r\nwords.\r\n'
expect_file PAGE002.000 $'A socio-economic\r\nsurvey\r\n'
expect_file PAGE003.000 $'indentedline\r\nhere\r\n'

xdotool key --clearmodifiers alt+F4
for _ in $(seq 50); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "still running 5 seconds after Alt+F4"
status_code=0
wait "$app_pid" || status_code=$?
app_pid=""
[ "$status_code" -eq 0 ] || fail "ended with status $status_code"
echo "PASS: the window converted the folder twice"
