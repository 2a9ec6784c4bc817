#!/usr/bin/env bash
# Starts the Vintrel window from a build folder (default build/dev), in the current folder.
# Without a display it says how to run it instead.
set -euo pipefail
build=${1:-build/dev}
vintrel="$build/app/vintrel"
if [ ! -x "$vintrel" ]; then
  echo "vintrel: $vintrel is not built; run 'make build' first." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MESSAGE
vintrel: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open.
  On a desktop:            make run
  In a virtual X server:   xvfb-run -a $vintrel
  A picture of the window: scripts/screenshot.sh vintrel.png $build
  Without any window:      $build/cli/vintrel-cli --help
MESSAGE
  exit 1
fi
exec "$vintrel"
