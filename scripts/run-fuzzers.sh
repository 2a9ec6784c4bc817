#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a short while each.
set -euo pipefail
build=${1:-build/fuzz}
seconds=${FUZZ_SECONDS:-30}
status=0
for f in "$build"/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus=$(mktemp -d)
  echo "== $name for ${seconds}s"
  if ! "$f" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=0 "$corpus" \
      >"$corpus.log" 2>&1; then
    tail -n 40 "$corpus.log"
    status=1
  else
    grep -E '^(#|Done)' "$corpus.log" | tail -n 1 || true
  fi
  rm -rf "$corpus" "$corpus.log"
done
exit $status
