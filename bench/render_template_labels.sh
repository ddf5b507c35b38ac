#!/usr/bin/env bash
# Times the 10,000-label sheet job of render_labels.sh twice in one run: with plain bound fields
# (price_labels.json) and with a template on every text and the bar code
# (price_labels_template.json: "{NAME}", "{PRICE}", "{CODE}"), best of three each, and prints the
# ratio of the two.
#   bash bench/render_template_labels.sh build/cli/zorvel
set -euo pipefail
zorvel=${1:?usage: render_template_labels.sh path/to/zorvel}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=price_data.sh
. "$here/price_data.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=10000
write_price_csv "$work/data.csv" "$n"

best() {
  local design=$1 best=
  for _ in 1 2 3; do
    /usr/bin/time -f "%e" -o "$work/time" "$zorvel" render "$design" --csv "$work/data.csv" --out "$work/out.pdf" 2> /dev/null
    best=$(awk -v a="$(cat "$work/time")" -v b="${best:-1e9}" 'BEGIN { print (a < b ? a : b) }')
  done
  echo "$best"
}
plain=$(best "$here/data/price_labels.json")
template=$(best "$here/data/price_labels_template.json")
awk -v p="$plain" -v t="$template" -v n="$n" 'BEGIN {
  printf "%d labels: plain fields %.2f s, templates %.2f s, ratio %.3f\n", n, p, t, t / p }'
