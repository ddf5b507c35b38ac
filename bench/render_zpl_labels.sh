#!/usr/bin/env bash
# Times the 10,000-label price job on a roll (price_roll.json: one 60 x 35 mm label a page, two
# texts, a rule and a GS1-128 bar code) to PDF and to ZPL II at 203 dpi in one run, best of three
# each, and prints the ratio: a thermal printer's job should cost no more than the PDF one.
#   bash bench/render_zpl_labels.sh build/cli/zorvel
set -euo pipefail
zorvel=${1:?usage: render_zpl_labels.sh path/to/zorvel}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=price_data.sh
. "$here/price_data.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=10000
write_price_csv "$work/data.csv" "$n"

best() {
  local out=$1 best=
  for _ in 1 2 3; do
    /usr/bin/time -f "%e" -o "$work/time" "$zorvel" render "$here/data/price_roll.json" --csv "$work/data.csv" \
      --out "$work/$out" 2> /dev/null
    best=$(awk -v a="$(cat "$work/time")" -v b="${best:-1e9}" 'BEGIN { print (a < b ? a : b) }')
  done
  echo "$best"
}
pdf=$(best out.pdf)
zpl=$(best out.zpl)
awk -v p="$pdf" -v z="$zpl" -v n="$n" -v s="$(stat -c %s "$work/out.zpl")" 'BEGIN {
  printf "%d labels on a roll: PDF %.2f s, ZPL %.2f s (%.1f MB), ratio %.3f\n", n, p, z, s / 1e6, z / p }'
