#!/usr/bin/env bash
# Scores a vintrel-cli on the evaluation texts: join recall, keep recall and their mean for
# every text, column width and mode, and a summary per mode (bench/eval/README.md).
#
#   bench/eval/run.sh PATH_TO_VINTREL_CLI
#
# The goals are printed beside the figures, never asserted: the exit status is 0 whatever
# the figures, and not 0 only when the evaluation could not run.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: bench/eval/run.sh PATH_TO_VINTREL_CLI" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/score.py" "$1" "$here"
