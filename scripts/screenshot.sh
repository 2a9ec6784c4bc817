#!/usr/bin/env bash
# Saves a picture of the Vintrel window: starts it in a virtual X server in a folder of
# sample files (with a settings folder of its own), photographs the window and closes it.
#
# Usage: scripts/screenshot.sh OUTPUT.png [BUILD_DIR]   (BUILD_DIR defaults to build/dev)
set -euo pipefail

if [ $# -lt 1 ] || [ "$1" = "--help" ]; then
  echo "Usage: $0 OUTPUT.png [BUILD_DIR]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "$1")
build=$(realpath -m "${2:-$here/build/dev}")
vintrel="$build/app/vintrel"
[ -x "$vintrel" ] || { echo "$0: $vintrel: not built (run 'make build')" >&2; exit 1; }
# shellcheck source=scripts/xvfb-session.sh
source "$here/scripts/xvfb-session.sh"
if missing=$(xvfb_missing_tool Xvfb xdotool import); then
  echo "$0: $missing is not installed (scripts/install-deps.sh)" >&2
  exit 1
fi

xvfb_session_begin vintrel-shot

# The sample folder: the OCR sample and a few more files and folders.
mkdir -p "$work/samples/scans" "$work/samples/converted" "$work/config"
cp "$here"/samples/* "$work/samples/" 2>/dev/null || true
for name in chapter01.txt chapter02.txt chapter03.txt preface.txt notes.doc; do
  printf 'An exam-\nple line.\n' >"$work/samples/$name"
done

xvfb_start /dev/null || { echo "$0: Xvfb did not start" >&2; exit 1; }

(cd "$work/samples" && XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb exec "$vintrel") \
  >"$work/vintrel.log" 2>&1 &
app_pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vintrel for Windows$' | head -n1) ||
  { echo "$0: the window did not appear" >&2; cat "$work/vintrel.log" >&2; exit 1; }
sleep 1
mkdir -p "$(dirname "$output")"
import -window "$wid" "$output"
xdotool windowfocus --sync "$wid" && xdotool key --clearmodifiers alt+F4
wait "$app_pid" || true
app_pid=""
echo "$output"
