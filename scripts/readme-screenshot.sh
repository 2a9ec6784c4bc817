#!/usr/bin/env bash
# Takes the picture of the window that README.md shows: Vintrel in a folder of OCR pages
# right after it converted them into the output folder of its settings, photographed in a
# virtual X server.
#
# Run as root where mount namespaces are available, it stages the scene in a namespace of
# its own, so the folder box and the drive list show a plain desktop (/home/reader/ocr/ on
# a /home drive) rather than this machine's folders and mounts; nothing outside the
# namespace changes. Elsewhere it works in a temporary folder and the picture shows what
# this machine has.
#
# Usage: scripts/readme-screenshot.sh [OUTPUT.png [BUILD_DIR]]
#        (defaults: docs/screenshot.png and build/dev)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--help" ]; then
  echo "Usage: $0 [OUTPUT.png [BUILD_DIR]]" >&2
  exit 2
fi
output=$(realpath -m "${1:-$here/docs/screenshot.png}")
build=$(realpath -m "${2:-$here/build/dev}")
vintrel="$build/app/vintrel"
[ -x "$vintrel" ] || { echo "$0: $vintrel: not built (run 'make build')" >&2; exit 1; }
# shellcheck source=scripts/xvfb-session.sh
source "$here/scripts/xvfb-session.sh"
if missing=$(xvfb_missing_tool Xvfb xdotool import); then
  echo "$0: $missing is not installed (scripts/install-deps.sh)" >&2
  exit 1
fi

# Once: enter a private mount namespace when possible and start over inside it.
if [ -z "${VINTREL_SHOT_STAGED:-}" ]; then
  export VINTREL_SHOT_STAGED=outside
  # Not when the program itself lives below the folders the namespace covers.
  case "$here/ $build/" in */home/* | */mnt/*) covered=yes ;; *) covered=no ;; esac
  if [ "$covered" = no ] && [ "$(id -u)" -eq 0 ] && unshare -m --propagation private true 2>/dev/null; then
    VINTREL_SHOT_STAGED=inside exec unshare -m --propagation private "$0" "$output" "$build"
  fi
fi

xvfb_session_begin vintrel-readme

if [ "$VINTREL_SHOT_STAGED" = inside ]; then
  # Seen only from inside this namespace: an empty /home, and /mnt covered so that the
  # machine's own mounts below it drop out of the drive list.
  mount -t tmpfs -o mode=0755 tmpfs /home
  mount -t tmpfs -o mode=0755 tmpfs /mnt
  home=/home/reader
else
  home=$work/reader
fi

# The scene: scanned pages, the settings with an output folder and a filter.
pages=$home/ocr
mkdir -p "$pages/converted" "$home/.config"
page_text='The printing of this edi-\ntion was made possible by the\nsocio-\neconomic interest of the\nreaders.\n'
for n in 01 02 03 04 05 06 07 08; do
  printf '%b' "$page_text" >"$pages/chapter$n.txt"
done
printf '%b' "$page_text" >"$pages/preface.txt"
printf '%b' "$page_text" >"$pages/index.ocr"
printf '[Regist]\r\nOutDir=%s/\r\n[Initial]\r\nFilename=*.txt\r\nUserDef1=*.ocr\r\n' \
  "$pages/converted" >"$home/.config/vintrel.INI"
printf 'socio-\r\n' >"$home/.config/vintrel.lst"

xvfb_start /dev/null || { echo "$0: Xvfb did not start" >&2; exit 1; }

(cd "$pages" && HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=xcb exec "$vintrel") \
  >"$work/vintrel.log" 2>&1 &
app_pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vintrel for Windows$' | head -n1) ||
  { echo "$0: the window did not appear" >&2; cat "$work/vintrel.log" >&2; exit 1; }
sleep 1

# Enter presses the start button: the pages are converted into the output folder.
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
xdotool key --clearmodifiers Return
for _ in $(seq 100); do
  [ "$(find "$pages/converted" -type f | wc -l)" -ge 9 ] && break
  sleep 0.1
done
sleep 1

mkdir -p "$(dirname "$output")"
import -window "$wid" "$output"
xdotool key --clearmodifiers alt+F4
wait "$app_pid" || true
app_pid=""
echo "$output"
