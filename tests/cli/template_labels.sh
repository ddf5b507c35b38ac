#!/bin/sh
# zorvel render with templates, counters and quantities: usage: template_labels.sh ZORVEL DATA_DIR WORK_DIR CASE
set -u
zorvel=$1 data=$2 work=$3 case=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"

cp "$data/template_design.json" design.json
printf 'NAME,CODE,QTY\nTea,T-100,2\nMilk,M 7,0\n"Jam, red",J/3,1\n' > products.csv

case $case in
values)
    # Tea twice (copies share the record's serial), Milk none, Jam once; the comma is quoted.
    "$zorvel" render design.json --csv products.csv --values > values.csv 2> stderr.txt ||
        fail "values: $(cat stderr.txt)"
    cat > expected.csv <<'CSV'
page,row,col,record,copy,element,content
1,1,1,1,1,Name,Tea #00041 (1)
1,1,1,1,1,Shop,https://shop.example/p/T-100
1,1,2,1,2,Name,Tea #00041 (2)
1,1,2,1,2,Shop,https://shop.example/p/T-100
1,2,1,3,1,Name,"Jam, red #00042 (1)"
1,2,1,3,1,Shop,https://shop.example/p/J/3
CSV
    diff expected.csv values.csv > diff.txt || fail "values: $(cat diff.txt)"
    # A dry run prints nothing and saves nothing.
    cmp -s "$data/template_design.json" design.json || fail "a dry run changed the design"
    ;;
counters)
    "$zorvel" render design.json --csv products.csv --out a.pdf --start-counter serial=900 2> stderr.txt ||
        fail "reprint: $(cat stderr.txt)"
    cmp -s "$data/template_design.json" design.json || fail "--start-counter saved"
    "$zorvel" render design.json --csv products.csv --out a.pdf --save-counters 2> stderr.txt ||
        fail "save: $(cat stderr.txt)"
    # Two records printed: the next serial is 43, and nothing else of the file changed.
    "$zorvel" convert design.json saved.json && "$zorvel" convert "$data/template_design.json" before.json ||
        fail "convert"
    sed 's/"Start": 41/"Start": 43/' before.json | grep -v '"Date"' > expected.json
    grep -v '"Date"' saved.json | diff expected.json - > diff.txt || fail "saved design: $(cat diff.txt)"
    grep -q "\"Date\": \"$(date +%Y-%m-%d)\"" saved.json || fail "no date saved: $(grep Date saved.json)"
    "$zorvel" render design.json --csv products.csv --values | grep -q "Tea #00043 (1)" || fail "next run"
    "$zorvel" render design.json --out a.pdf --start-counter NOPE=1 2> stderr.txt
    grep -qx "UNKNOWN COUNTER : NOPE" stderr.txt || fail "unknown counter: $(cat stderr.txt)"
    ;;
quantity)
    printf 'NAME,CODE,QTY\nTea,T-100,2\nMilk,M 7,two\n' > bad.csv
    "$zorvel" render design.json --csv bad.csv --out bad.pdf 2> stderr.txt
    status=$?
    [ "$status" -eq 1 ] || fail "bad quantity: exit status $status"
    grep -qx "INVALID QUANTITY IN RECORD 2 : QTY" stderr.txt || fail "bad quantity: $(cat stderr.txt)"
    [ ! -e bad.pdf ] || fail "bad quantity left a PDF"
    sed 's/{NAME}/{NAME} {LOT}/' design.json > unknown.json
    "$zorvel" render unknown.json --csv products.csv --out bad.pdf 2> stderr.txt
    grep -qx "INVALID FIELD NAME :LOT" stderr.txt || fail "unknown field: $(cat stderr.txt)"
    sed 's/{NAME}/{NAME/' design.json > broken.json
    "$zorvel" render broken.json --csv products.csv --out bad.pdf 2> stderr.txt
    grep -qF "INVALID TEMPLATE AT 1 : { WITHOUT }" stderr.txt || fail "broken template: $(cat stderr.txt)"
    ;;
qr)
    # The QR Codes built from the template, read back from the printed page.
    "$zorvel" render design.json --csv products.csv --out labels.pdf 2> stderr.txt || fail "render: $(cat stderr.txt)"
    grep -qx "3 labels on 1 page" stderr.txt || fail "stderr: $(cat stderr.txt)"
    need pdftoppm
    command -v zbarimg > /dev/null 2>&1 || skip "zbarimg (zbar-tools) is not installed"
    pdftoppm -r 300 -gray -png labels.pdf page || fail "pdftoppm"
    zbarimg --raw -q page-1.png | sort > read.txt
    printf 'https://shop.example/p/J/3\nhttps://shop.example/p/T-100\nhttps://shop.example/p/T-100\n' > expected.txt
    diff expected.txt read.txt > diff.txt || fail "decoded: $(cat diff.txt)"
    ;;
*)
    echo "unknown case $case" >&2
    exit 2
    ;;
esac
exit 0
