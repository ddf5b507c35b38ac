# Sourced by the render benchmarks: the price records they print.
# write_price_csv FILE N: N records NAME,PRICE,CODE ("Product 1,1.01,00000001" ...) after a header.
write_price_csv() {
  {
    echo "NAME,PRICE,CODE"
    seq 1 "$2" | awk '{ printf "Product %d,%d.%02d,%08d\n", $1, $1 % 500, $1 % 100, $1 }'
  } > "$1"
}
