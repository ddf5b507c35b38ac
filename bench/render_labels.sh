#!/usr/bin/env bash
# Times a sheet job through `zorvel render`: 3 x 7 price labels of 60 x 35 mm on A4 from a CSV (two
# data-bound texts, a GS1-128 bar code with its number, a line), for 1,000 and 10,000 labels.
# Prints wall time including start-up, labels per second, pages and peak memory.
#   bash bench/render_labels.sh build/cli/zorvel
set -euo pipefail
zorvel=${1:?usage: render_labels.sh path/to/zorvel}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=price_data.sh
. "$here/price_data.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for n in 1000 10000; do
  write_price_csv "$work/data.csv" "$n"
  /usr/bin/time -f "%e %M" -o "$work/time" \
    "$zorvel" render "$here/data/price_labels.json" --csv "$work/data.csv" --out "$work/out.pdf" 2> "$work/log"
  read -r seconds kib < "$work/time"
  pages=$(pdfinfo "$work/out.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
  awk -v n="$n" -v s="$seconds" -v k="$kib" -v p="${pages:-?}" 'BEGIN {
    printf "%6d labels: %6.2f s  %8.0f labels/s  %s pages  peak %.0f MiB\n", n, s, (s > 0 ? n / s : 0), p, k / 1024 }'
done
