#!/usr/bin/env bash
# End to end: starts the real window program in a virtual X server, in a folder of sample
# files with its own settings folder, waits for its window, takes a screenshot, checks the
# title, the size and that the lists show entries, then closes it with Alt+F4 and checks
# that it ends with status 0.
#
# Usage: window_e2e.sh VINTREL_BINARY OUTPUT_FOLDER
# Exit 77 (skipped) when the X tools are missing.
set -euo pipefail

vintrel=$1
out=$2
# shellcheck source=scripts/xvfb-session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb-session.sh"
if missing=$(xvfb_missing_tool Xvfb xdotool import convert); then
  echo "SKIP: $missing is not installed" >&2
  exit 77
fi

xvfb_session_begin vintrel-e2e

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The sample folder: a few files and folders, a hidden file.
mkdir -p "$work/sample/chapter1" "$work/sample/chapter2" "$work/config"
for name in page001.txt page002.txt page003.txt notes.doc README; do
  printf 'Some hyphen-\nated words.\n' >"$work/sample/$name"
done
printf 'x\n' >"$work/sample/.hidden"

xvfb_start "$work/xvfb.log" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

# A file name on the command line opens nothing and changes nothing.
(cd "$work/sample" && XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb \
  exec "$vintrel" page001.txt) >"$work/vintrel.log" 2>&1 &
app_pid=$!

wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vintrel for Windows$' | head -n1) ||
  fail "no window appeared: $(cat "$work/vintrel.log")"
title=$(xdotool getwindowname "$wid")
[ "$title" = "Vintrel for Windows" ] || fail "title is '$title'"

eval "$(xdotool getwindowgeometry --shell "$wid")"
# The form is 562 x 452 pixels below the menu bar.
[ "$WIDTH" -eq 562 ] || fail "window width $WIDTH, not 562"
menu_height=$((HEIGHT - 452))
[ "$menu_height" -gt 10 ] && [ "$menu_height" -lt 60 ] || fail "window height $HEIGHT"

# Let the window paint, then photograph the screen.
sleep 1
shot="$out/vintrel-window.png"
import -window root "$shot"

# Mean brightness (0 black .. 1 white) of a rectangle of the form, in pixels.
brightness() {
  local x=$((X + $1)) y=$((Y + menu_height + $2))
  convert "$shot" -crop "$3x$4+$x+$y" +repage -colorspace Gray -format '%[fx:mean]' info:
}
dark() { awk -v v="$1" 'BEGIN { exit !(v < 0.97) }'; }
white() { awk -v v="$1" 'BEGIN { exit !(v > 0.995) }'; }

# File list (10,70 210x320): five entries at its top, nothing below them.
files_top=$(brightness 14 74 150 70)
files_bottom=$(brightness 14 300 150 80)
dark "$files_top" || fail "the file list shows no entries ($files_top)"
white "$files_bottom" || fail "the file list is not empty below its entries ($files_bottom)"
# Folder list (240,130 200x260): [..] and two folders.
folders_top=$(brightness 244 134 150 45)
dark "$folders_top" || fail "the folder list shows no entries ($folders_top)"
# Drive list (460,260 96x130).
drives_top=$(brightness 464 264 80 14)
dark "$drives_top" || fail "the drive list shows no entries ($drives_top)"
# Status line 1 (10,400 540x16) shows its Japanese text.
status=$(brightness 10 400 200 16)
dark "$status" || fail "status line 1 is blank ($status)"

# Alt+F4 closes the window without a question; the program ends with status 0.
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
xdotool key --clearmodifiers alt+F4
for _ in $(seq 50); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  fail "still running 5 seconds after Alt+F4"
fi
status_code=0
wait "$app_pid" || status_code=$?
app_pid=""
[ "$status_code" -eq 0 ] || fail "ended with status $status_code: $(cat "$work/vintrel.log")"
echo "PASS: window shown and closed; screenshot in $shot"
