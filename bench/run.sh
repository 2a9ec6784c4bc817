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

# How GNU cat copied the text: a copy of a file to a file may take place inside the kernel
# (copy_file_range), without the bytes ever passing through user space.
if command -v strace > /dev/null &&
  strace -f -e trace=copy_file_range -o "$tmp/cat.trace" cat < "$input" > "$output" 2> /dev/null; then
  if grep -Eq 'copy_file_range\(.*= [1-9]' "$tmp/cat.trace"; then
    cat_how="copied inside the kernel (copy_file_range): no byte passes through user space"
  else
    cat_how="copied through user space (read and write)"
  fi
else
  cat_how="(strace is missing: whether it copied inside the kernel is unknown)"
fi
rm -f "$output" "$tmp/cat.trace"

# The contenders, each run by timed_run with standard input from the text and standard
# output to a new file in the temporary folder.
contenders=(cat sed dd cli)
declare -A label=(
  [cat]="cat"
  [sed]="sed -e :a -e '/-\$/N; s/-\\n//; ta'"
  [dd]="dd bs=256K"
  [cli]="vintrel-cli (DelAll=1, 5 words)"
)
run_once() {
  case $1 in
    cat) "$timed" "$input" "$output" cat ;;
    sed) "$timed" "$input" "$output" sed -e :a -e '/-$/N; s/-\n//; ta' ;;
    dd) "$timed" "$input" "$output" dd bs=256K status=none ;;
    cli) "$timed" "$input" "$output" "$build/cli/vintrel-cli" ;;
  esac
}

# Best of $runs rounds; within a round the contenders take turns, so that a change in the
# machine's load between rounds touches every contender alike. For each: the fastest run
# (wall clock), the least processor time of a run (user plus kernel, steadier than the wall
# clock when other programs share the processors), and the largest peak resident set.
declare -A best_time best_cpu best_user best_sys peak_kib
is_less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
read -r load_before _ < /proc/loadavg
for ((i = 0; i < runs; i++)); do
  for name in "${contenders[@]}"; do
    rm -f "$output"
    read -r seconds kib status user sys < <(run_once "$name")
    if [ "$status" != 0 ]; then
      echo "bench: ${label[$name]} exited with status $status" >&2
      exit 1
    fi
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.6f", u + s }')
    if [ -z "${best_time[$name]:-}" ] || is_less "$seconds" "${best_time[$name]}"; then
      best_time[$name]=$seconds
    fi
    if [ -z "${best_cpu[$name]:-}" ] || is_less "$cpu" "${best_cpu[$name]}"; then
      best_cpu[$name]=$cpu
      best_user[$name]=$user
      best_sys[$name]=$sys
    fi
    [ "$kib" -gt "${peak_kib[$name]:-0}" ] && peak_kib[$name]=$kib
  done
done
rm -f "$output"
read -r load_after _ < /proc/loadavg

mbps() { awk -v s="$size" -v t="$1" 'BEGIN { printf "%.0f", s / t / 1e6 }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
row() { printf '%-36s %8.3f s %7s MB/s %8s MiB\n' "$1" "$2" "$(mbps "$2")" "$3"; }
cpu_row() {
  printf '%-36s %8.3f s (user %.3f s, kernel %.3f s)\n' "$1" "${best_cpu[$2]}" \
    "${best_user[$2]}" "${best_sys[$2]}"
}

echo "== $((size / 1048576)) MiB, $lines lines (LF line ends); best of $runs rounds"
echo "   Each contender reads the text on standard input from $input"
echo "   and writes standard output to a new file beside it (removed before each run);"
echo "   timed_run forks it and takes the wall-clock time from the fork to its exit."
echo "   In each round the contenders take turns: ${contenders[*]}."
echo "   cat:          $(cat --version | head -n 1), $cat_how"
echo "   sed recipe:   joins hyphenated lines and nothing else (no blanks trimmed, no CR LF)"
echo "   dd bs=256K:   a plain copy through user space, the least any filter that edits"
echo "                 the bytes pays"
echo "   vintrel-cli:  $build/cli/vintrel-cli, settings from a profile"
echo "                 (DelAll=1) and a word list of 5 words, as users have them"
echo "   Processors: $(nproc); load average $load_before before, $load_after after."
if awk -v l="$load_after" -v n="$(nproc)" 'BEGIN { exit !(l > n / 2) }'; then
  echo "   Other programs were running: wall-clock times are noisy, processor times steadier."
fi
echo
echo "-- wall clock (fastest run)"
for name in "${contenders[@]}"; do
  row "${label[$name]}" "${best_time[$name]}" "$(mib "${peak_kib[$name]}")"
done
cat_time=${best_time[cat]}
sed_time=${best_time[sed]}
dd_time=${best_time[dd]}
cli_time=${best_time[cli]}
cli_peak=${peak_kib[cli]}

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
echo "-- processor time (least of a run)"
for name in "${contenders[@]}"; do
  cpu_row "${label[$name]}" "$name"
done

echo
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "== Ratios (wall clock; processor time in brackets)"
echo "vintrel-cli throughput / sed recipe's:  $(ratio "$sed_time" "$cli_time")x" \
  "($(ratio "${best_cpu[sed]}" "${best_cpu[cli]}")x)   (goal: at least 5x)"
echo "vintrel-cli time / cat's:               $(ratio "$cli_time" "$cat_time")x" \
  "($(ratio "${best_cpu[cli]}" "${best_cpu[cat]}")x)   (goal: at most 2x)"
echo "vintrel-cli time / dd bs=256K's:        $(ratio "$cli_time" "$dd_time")x" \
  "($(ratio "${best_cpu[cli]}" "${best_cpu[dd]}")x)"
if [ -n "${window_time:-}" ]; then
  echo "window run time / vintrel-cli's:        $(ratio "$window_time" "$cli_time")x   (goal: at most 1.2x)"
fi
if [ -n "${convert_time:-}" ]; then
  echo "ConvertFile time / cat's:               $(ratio "$convert_time" "$cat_time")x"
fi
echo "vintrel-cli peak memory:                $(mib "$cli_peak") MiB   (goal: under 10 MiB)"
