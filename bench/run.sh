#!/usr/bin/env bash
# Measures the converter on a large OCR-like text next to `cat` and to the sed recipe that
# joins hyphenated lines, in the same run on the same file, and prints throughputs, ratios
# and the peak memory of vintrel-cli. The goals are printed beside the figures; nothing is
# asserted.
#
#   bench/run.sh [BUILD_DIR]     (BUILD_DIR: a build with -DVINTREL_BUILD_BENCH=ON)
#
# VINTREL_BENCH_MB sets the size of the text (default 200), VINTREL_BENCH_RUNS the number of
# runs of each contender of which the fastest counts (default 5).
set -euo pipefail

build=${1:-build/release}
mb=${VINTREL_BENCH_MB:-200}
runs=${VINTREL_BENCH_RUNS:-5}

for tool in cli/vintrel-cli bench/vintrel_bench bench/make_ocr_text bench/timed_run; do
  if [ ! -x "$build/$tool" ]; then
    echo "bench: $build/$tool is missing (configure with -DVINTREL_BUILD_BENCH=ON and build)" >&2
    exit 1
  fi
done
build=$(cd "$build" && pwd)
timed="$build/bench/timed_run"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vintrel-bench.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
input="$tmp/input.txt"
output="$tmp/output.txt"

echo "== Generating ${mb} MiB of OCR-like text in $tmp"
"$build/bench/make_ocr_text" "$mb" "$input"
size=$(stat -c %s "$input")
lines=$(wc -l < "$input")

# vintrel-cli takes its settings from a profile and a word list, as users have them.
mkdir "$tmp/config"
printf '[Default]\r\nDelAll=1\r\nDelColumn=0\r\nColumn=4\r\nDelSpac3=0\r\n' \
  > "$tmp/config/vintrel.INI"
printf 'anti-\r\nnon-\r\nself-\r\nsocio-\r\nwell-\r\n' > "$tmp/config/vintrel.lst"
export XDG_CONFIG_HOME="$tmp/config"

cat "$input" > /dev/null  # every contender reads the text from the page cache

# measure NAME COMMAND...: runs COMMAND $runs times with standard input from the text and
# standard output to a new file in the temporary folder; sets best_time (the fastest run)
# and peak_kib (the largest peak resident set).
measure() {
  local name=$1
  shift
  best_time=""
  peak_kib=0
  local i seconds kib status
  for ((i = 0; i < runs; i++)); do
    rm -f "$output"
    read -r seconds kib status < <("$timed" "$input" "$output" "$@")
    if [ "$status" != 0 ]; then
      echo "bench: $name exited with status $status" >&2
      exit 1
    fi
    if [ -z "$best_time" ] || awk -v a="$seconds" -v b="$best_time" 'BEGIN { exit !(a < b) }'; then
      best_time=$seconds
    fi
    [ "$kib" -gt "$peak_kib" ] && peak_kib=$kib
  done
  rm -f "$output"
}

mbps() { awk -v s="$size" -v t="$1" 'BEGIN { printf "%.0f", s / t / 1e6 }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
row() { printf '%-36s %8.3f s %7s MB/s %8s MiB\n' "$1" "$2" "$(mbps "$2")" "$3"; }

echo "== $((size / 1048576)) MiB, $lines lines (LF line ends); best of $runs runs each"
echo "   Every command reads the text on standard input from $input"
echo "   and writes standard output to a new file beside it (removed before each run)."
echo

measure "cat" cat
cat_time=$best_time
row "cat" "$cat_time" "$(mib "$peak_kib")"

measure "sed recipe" sed -e :a -e '/-$/N; s/-\n//; ta'
sed_time=$best_time
row "sed -e :a -e '/-\$/N; s/-\\n//; ta'" "$sed_time" "$(mib "$peak_kib")"

measure "user-space copy" dd bs=64K status=none
dd_time=$best_time
row "dd bs=64K (a copy through user space)" "$dd_time" "$(mib "$peak_kib")"

measure "vintrel-cli" "$build/cli/vintrel-cli"
cli_time=$best_time
cli_peak=$peak_kib
row "vintrel-cli (profile: DelAll=1, 5 words)" "$cli_time" "$(mib "$cli_peak")"

# ConvertFile in process, through Google Benchmark: the same text, the output to a new file
# in the same folder; the fastest repetition counts.
rm -f "$output"
bps=$(VINTREL_BENCH_INPUT="$input" VINTREL_BENCH_OUTPUT="$output" \
  "$build/bench/vintrel_bench" --benchmark_filter='BM_ConvertFile/mode:1/collapse:0' \
  --benchmark_repetitions="$runs" --benchmark_format=csv 2>/dev/null |
  awk -F, '/^"BM_ConvertFile\/mode:1\/collapse:0\/real_time"/ { if ($6 > max) max = $6 }
           END { printf "%.0f", max }')
rm -f "$output"
if [ "${bps:-0}" -gt 0 ]; then
  convert_time=$(awk -v s="$size" -v b="$bps" 'BEGIN { printf "%.6f", s / b }')
  row "ConvertFile in process (DelAll, 7 words)" "$convert_time" "-"
fi

# A run from the window, headless: the same text as the one file of a folder, converted by
# the start button's handler into an output folder with the same settings (window_run_bench
# is built when the window library is).
if [ -x "$build/bench/window_run_bench" ]; then
  mkdir -p "$tmp/window/in" "$tmp/window/out" "$tmp/window/config"
  ln "$input" "$tmp/window/in/input.txt"
  cp "$tmp/config/vintrel.lst" "$tmp/window/config/vintrel.lst"
  { cat "$tmp/config/vintrel.INI"
    printf '[Filename]\r\nMode=2\r\n[Regist]\r\nOutDir=%s/\r\n' "$tmp/window/out"; } \
    > "$tmp/window/config/vintrel.INI"
  if ! window_time=$(XDG_CONFIG_HOME="$tmp/window/config" \
    "$build/bench/window_run_bench" "$tmp/window/in" "$tmp/window/out" "$runs" \
    2>"$tmp/window.log"); then
    cat "$tmp/window.log" >&2
    exit 1
  fi
  rm -rf "$tmp/window"
  row "window run, Start (offscreen)" "$window_time" "-"
fi

echo
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "== Ratios"
echo "vintrel-cli throughput / sed recipe's:  $(ratio "$sed_time" "$cli_time")x   (goal: at least 5x)"
echo "vintrel-cli time / cat's:               $(ratio "$cli_time" "$cat_time")x   (goal: at most 2x)"
echo "vintrel-cli time / dd bs=64K's:         $(ratio "$cli_time" "$dd_time")x"
if [ -n "${window_time:-}" ]; then
  echo "window run time / vintrel-cli's:        $(ratio "$window_time" "$cli_time")x   (goal: at most 1.2x)"
fi
if [ -n "${convert_time:-}" ]; then
  echo "ConvertFile time / cat's:               $(ratio "$convert_time" "$cat_time")x"
fi
echo "vintrel-cli peak memory:                $(mib "$cli_peak") MiB   (goal: under 10 MiB)"
echo
echo "(cat copies a file to a file inside the kernel (copy_file_range); dd shows the cost"
echo " of moving the bytes through user space, which any filter that edits them pays.)"
