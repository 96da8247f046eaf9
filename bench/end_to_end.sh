#!/usr/bin/env bash
# End-to-end benchmark: tessarin-convert on a generated 800 x 600 photograph-like JPEG
# (tens of thousands of colours) and on a 200 x 150 one, side by side with a typical Python
# converter (Pillow and XlsxWriter) on the same pictures. Prints, per picture and
# converter, the median wall time and the largest peak memory (resident set) of the runs,
# and how many times faster tessarin-convert is.
#
# Usage: bench/end_to_end.sh [TESSARIN_CONVERT [BENCH_PICTURE]]
#   (default: build/tessarin-convert and build/bench/bench_picture)
# Environment: RUNS timed runs of tessarin-convert per picture (default 9), PEER_RUNS of
# the Python converter (default 3), each after one untimed warm-up run; PEER_CONVERTER, the
# Python converter's script (default /work/shared/bench/peer_xlsxwriter.py). When that
# script or its Python modules are missing, the peer is skipped with a message.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
convert=${1:-$root/build/tessarin-convert}
make_picture=${2:-$root/build/bench/bench_picture}
runs=${RUNS:-9}
peer_runs=${PEER_RUNS:-3}
peer=${PEER_CONVERTER:-/work/shared/bench/peer_xlsxwriter.py}
python=/usr/bin/python3

if [[ ! -x $convert || ! -x $make_picture ]]; then
  echo "end_to_end: build first: cmake --build build --target tessarin-convert bench_picture" >&2
  exit 1
fi
if [[ ! -x /usr/bin/time ]]; then
  echo "end_to_end: needs /usr/bin/time (Debian package time, installed by scripts/setup)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One run of a command whose last argument is the output path: prints "SECONDS PEAK_KB".
measure() {
  rm -f "$work/out.xlsx"
  local start=$EPOCHREALTIME
  if ! /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>"$work/errors"; then
    echo "end_to_end: failed: $*" >&2
    cat "$work/errors" >&2
    exit 1
  fi
  local end=$EPOCHREALTIME
  [[ -s $work/out.xlsx ]] || { echo "end_to_end: no workbook from: $*" >&2; exit 1; }
  awk -v start="$start" -v end="$end" -v peak="$(tail -n 1 "$work/peak")" \
    'BEGIN { printf "%.4f %d\n", end - start, peak }'
}

# N runs after one warm-up: prints "MEDIAN_SECONDS LARGEST_PEAK_MB".
summarise() {
  local count=$1
  shift
  measure "$@" >/dev/null
  for ((i = 0; i < count; ++i)); do measure "$@"; done |
    sort -n |
    awk '{ seconds[NR] = $1; if ($2 > peak) peak = $2 }
         END { middle = (NR % 2) ? seconds[(NR + 1) / 2] : (seconds[NR / 2] + seconds[NR / 2 + 1]) / 2
               printf "%.3f %.1f\n", middle, peak / 1024 }'
}

peer_reason=""
if [[ ! -r $peer ]]; then
  peer_reason="$peer is not there"
elif ! $python -c 'import PIL, xlsxwriter' 2>/dev/null; then
  peer_reason="$python lacks PIL or xlsxwriter (python3-pil, python3-xlsxwriter)"
fi

declare -A colours
colours[800x600]=$("$make_picture" 800 600 150000 "$work/photo-800x600.jpg")
colours[200x150]=$("$make_picture" 200 150 8000 "$work/photo-200x150.jpg")

echo "tessarin-convert: $runs runs, peer: $peer_runs runs, each after a warm-up run"
echo "times are medians of wall time; memory is the largest peak resident set"
echo
printf '%-10s %-8s %-22s %10s %9s\n' picture colours converter "median s" "peak MB"
for size in 800x600 200x150; do
  picture=$work/photo-$size.jpg
  read -r ours_s ours_mb < <(summarise "$runs" "$convert" "$picture" "$work/out.xlsx")
  printf '%-10s %-8s %-22s %10s %9s\n' "$size" "${colours[$size]}" tessarin-convert "$ours_s" "$ours_mb"
  [[ $size == 800x600 ]] && big_s=$ours_s && big_mb=$ours_mb
  if [[ -n $peer_reason ]]; then
    echo "           peer skipped: $peer_reason"
    continue
  fi
  read -r peer_s peer_mb < <(summarise "$peer_runs" "$python" "$peer" "$picture" "$work/out.xlsx")
  printf '%-10s %-8s %-22s %10s %9s\n' "$size" "${colours[$size]}" "$(basename "$peer")" "$peer_s" "$peer_mb"
  ratio=$(awk -v a="$peer_s" -v b="$ours_s" 'BEGIN { printf "%.1f", a / b }')
  printf '%-10s %-8s tessarin-convert is %s times faster\n' "$size" "" "$ratio"
  [[ $size == 800x600 ]] && big_ratio=$ratio
done

# The targets for the 800 x 600 photograph.
verdict() { awk -v value="$1" -v limit="$2" -v op="$3" \
  'BEGIN { ok = (op == "<=") ? value <= limit : value >= limit; print ok ? "met" : "MISSED" }'; }
echo
echo "targets for 800 x 600:"
echo "  median <= 0.5 s:            $(verdict "$big_s" 0.5 '<=') ($big_s s)"
echo "  peak <= 100 MB:             $(verdict "$big_mb" 100 '<=') ($big_mb MB)"
if [[ -n ${big_ratio:-} ]]; then
  echo "  >= 10 times the peer's speed: $(verdict "$big_ratio" 10 '>=') ($big_ratio times)"
else
  echo "  >= 10 times the peer's speed: not measured (peer skipped)"
fi
