#!/usr/bin/env bash
# Starts Vintrel from a build folder. Until the window program exists, converts the OCR
# sample with vintrel-cli and prints the result.
set -euo pipefail
build=${1:-build/dev}
here=$(cd "$(dirname "$0")/.." && pwd)
if [ -x "$build/app/vintrel" ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "vintrel: no display. Run it on a desktop, or in a virtual X server:" >&2
    echo "  xvfb-run -a $build/app/vintrel" >&2
    exit 1
  fi
  exec "$build/app/vintrel"
fi
echo "== samples/ocr-sample.txt converted by vintrel-cli =="
"$build/cli/vintrel-cli" --no-words < "$here/samples/ocr-sample.txt"
