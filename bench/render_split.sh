#!/usr/bin/env bash
# The sheet job of render_labels.sh (10,000 price labels from a CSV to PDF) set side by side, in one
# run, against its single-thread floor, a bare QPdfWriter loop drawing the same labels
# (bench_pdf_floor): zorvel render --jobs 1 and --jobs 2, best of three wall times each, and
# their ratios to the floor. The floor runs a second time with the heap settings zorvel sets for
# itself (page buffers kept in the heap), so that the ratio to both can be read.
#   bash bench/render_split.sh build/cli/zorvel build/bench/bench_pdf_floor [LABELS]
set -euo pipefail
zorvel=${1:?usage: render_split.sh path/to/zorvel path/to/bench_pdf_floor [labels]}
floor=${2:?usage: render_split.sh path/to/zorvel path/to/bench_pdf_floor [labels]}
n=${3:-10000}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=price_data.sh
. "$here/price_data.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

write_price_csv "$work/data.csv" "$n"

# best NAME COMMAND...: the shortest of three wall times, in seconds.
best() {
  local name=$1 s min=
  shift
  for _ in 1 2 3; do
    /usr/bin/time -f "%e" -o "$work/time" "$@" > /dev/null 2> "$work/log" || { cat "$work/log" >&2; exit 1; }
    s=$(cat "$work/time")
    min=$(awk -v a="${min:-$s}" -v b="$s" 'BEGIN { print (b < a ? b : a) }')
  done
  echo "$name $min"
}

{
  best floor "$floor" "$work/floor.pdf" "$n"
  GLIBC_TUNABLES=glibc.malloc.mmap_threshold=33554432:glibc.malloc.trim_threshold=134217728 \
    best floor_heap "$floor" "$work/floor.pdf" "$n"
  best jobs1 "$zorvel" render "$here/data/price_labels.json" --csv "$work/data.csv" --out "$work/j1.pdf" --jobs 1
  best jobs2 "$zorvel" render "$here/data/price_labels.json" --csv "$work/data.csv" --out "$work/j2.pdf" --jobs 2
} > "$work/results"
pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }
awk -v n="$n" -v pf="$(pages "$work/floor.pdf")" -v p1="$(pages "$work/j1.pdf")" -v p2="$(pages "$work/j2.pdf")" '
  { t[$1] = $2 }
  END {
    printf "%d labels, best of three, %d cores\n", n, '"$(nproc)"'
    printf "  floor (bare QPdfWriter loop) %6.2f s  %s pages\n", t["floor"], pf
    printf "  zorvel render --jobs 1       %6.2f s  %s pages  %.2fx the floor\n", t["jobs1"], p1, t["jobs1"] / t["floor"]
    printf "  zorvel render --jobs 2       %6.2f s  %s pages  %.2fx the floor (target 0.90x)\n", t["jobs2"], p2, t["jobs2"] / t["floor"]
    printf "  floor with zorvel'"'"'s heap     %6.2f s  --jobs 1 %.2fx, --jobs 2 %.2fx of it\n", t["floor_heap"], t["jobs1"] / t["floor_heap"], t["jobs2"] / t["floor_heap"]
  }' "$work/results"
