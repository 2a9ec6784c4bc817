#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a short while each.
#
#   scripts/run-fuzzers.sh [BUILD_DIR]     (default build/fuzz; FUZZ_SECONDS, default 30)
#
# With FUZZ_CORPUS set, each target keeps its corpus in FUZZ_CORPUS/TARGET from one run to
# the next (make fuzz-long); otherwise it starts from nothing and the corpus is thrown away.
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
  if [ -n "${FUZZ_CORPUS:-}" ]; then
    mkdir -p "$FUZZ_CORPUS/$name"
    corpus=$(cd "$FUZZ_CORPUS/$name" && pwd)
    keep=1
  else
    corpus=$(mktemp -d)
    keep=0
  fi
  log=$(mktemp)
  echo "== $name for ${seconds}s"
  if ! "$f" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=0 \
      -artifact_prefix="$artifacts/$name-" "$corpus" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "== $name FAILED; the input that shows it:"
    sed -n 's/^.*Test unit written to \(.*\)$/   \1/p' "$log"
    echo "   replay: $f FILE"
    status=1
  else
    grep -E '^(#|Done)' "$log" | tail -n 1 || true
  fi
  [ "$keep" = 1 ] || rm -rf "$corpus"
  rm -f "$log"
done
if [ "$found" = 0 ]; then
  echo "run-fuzzers: no fuzz_* target in $build/fuzz" >&2
  exit 1
fi
exit $status
