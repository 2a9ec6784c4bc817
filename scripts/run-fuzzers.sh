#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a short while each.
#
#   scripts/run-fuzzers.sh [BUILD_DIR]     (default build/fuzz; FUZZ_SECONDS, default 30)
#
# An input that makes a target fail is saved in BUILD_DIR/fuzz-artifacts/ (never in the
# current folder); the script names the file, and it replays with `TARGET FILE`.
set -euo pipefail
build=${1:-build/fuzz}
seconds=${FUZZ_SECONDS:-30}
if [ ! -d "$build/fuzz" ]; then
  echo "run-fuzzers: $build/fuzz is missing (configure with the fuzz preset and build)" >&2
  exit 1
fi
build=$(cd "$build" && pwd)
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
status=0
found=0
for f in "$build"/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  found=1
  name=$(basename "$f")
  corpus=$(mktemp -d)
  echo "== $name for ${seconds}s"
  if ! "$f" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=0 \
      -artifact_prefix="$artifacts/$name-" "$corpus" >"$corpus.log" 2>&1; then
    tail -n 40 "$corpus.log"
    echo "== $name FAILED; the input that shows it:"
    sed -n 's/^.*Test unit written to \(.*\)$/   \1/p' "$corpus.log"
    echo "   replay: $f FILE"
    status=1
  else
    grep -E '^(#|Done)' "$corpus.log" | tail -n 1 || true
  fi
  rm -rf "$corpus" "$corpus.log"
done
if [ "$found" = 0 ]; then
  echo "run-fuzzers: no fuzz_* target in $build/fuzz" >&2
  exit 1
fi
exit $status
