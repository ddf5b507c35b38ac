#!/usr/bin/env bash
# Times the 10,000-label sheet job of render_labels.sh twice: with its Code 128 bar code, and with a
# QR Code of a distinct 40-character URL on every label instead (bench/data/price_labels_qr.json),
# after a 1,000-label run of each to show whether memory stays flat. Prints wall time including
# start-up, labels per second, pages, peak memory and the QR / Code 128 time ratio.
#   bash bench/render_qr_labels.sh build/cli/zorvel
set -euo pipefail
zorvel=${1:?usage: render_qr_labels.sh path/to/zorvel}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

declare -A seconds
for n in 1000 10000; do
  {
    echo "NAME,PRICE,CODE,URL"
    # 28 + 12 characters: a distinct 40-character URL per record.
    seq 1 "$n" | awk '{ printf "Product %d,%d.%02d,%08d,https://zorvel.example/item/%012d\n", $1, $1 % 500, $1 % 100, $1, $1 * 7919 }'
  } > "$work/data.csv"
  for job in code128:price_labels.json qr:price_labels_qr.json; do
    name=${job%%:*} design=${job#*:}
    /usr/bin/time -f "%e %M" -o "$work/time" \
      "$zorvel" render "$here/data/$design" --csv "$work/data.csv" --out "$work/out.pdf" 2> "$work/log"
    read -r s kib < "$work/time"
    seconds[$name.$n]=$s
    pages=$(pdfinfo "$work/out.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
    awk -v job="$name" -v n="$n" -v s="$s" -v k="$kib" -v p="${pages:-?}" 'BEGIN {
      printf "%-8s %6d labels: %6.2f s  %8.0f labels/s  %s pages  peak %.0f MiB\n", job, n, s, (s > 0 ? n / s : 0), p, k / 1024 }'
  done
done
awk -v q="${seconds[qr.10000]}" -v c="${seconds[code128.10000]}" 'BEGIN {
  printf "QR / Code 128 at 10,000 labels: %.2f (target at most 2)\n", (c > 0 ? q / c : 0) }'
