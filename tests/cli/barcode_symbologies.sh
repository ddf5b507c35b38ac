#!/bin/sh
# `zorvel barcode` and `zorvel render` with the symbologies libzint encodes.
# Usage: barcode_symbologies.sh ZORVEL WORK_DIR CASE
set -u
zorvel=$1 work=$2 case=$3
case $zorvel in /*) ;; *) zorvel=$PWD/$zorvel ;; esac
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"
# What zbarimg reads in a picture, control characters shown as \NNN.
scan() { zbarimg --quiet --raw "$1" 2>/dev/null | od -An -c | tr -d ' \n' | sed -e 's/\\n$//'; }
# "WIDTH HEIGHT" of a PNG, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'; }
# The dark path of an SVG from `zorvel barcode` as a PBM picture, one pixel per 0.1 mm, with a
# 2 mm white margin: the SVG's geometry alone, read back by the decoder.
svg2pbm() {
    size=$(sed -n 's/.*viewBox="0 0 \([0-9]*\) \([0-9]*\)".*/\1 \2/p' "$1")
    sed -n 's/.*<path fill="#000000" d="\([^"]*\)".*/\1/p' "$1" | tr 'M' '\n' | tr 'hvz' '   ' |
        awk -v size="$size" 'BEGIN { split(size, s, " "); m = 20; w = int(s[1] / 10) + 2 * m; h = int(s[2] / 10) + 2 * m }
            NF >= 4 { for (y = $2 / 10; y < ($2 + $4) / 10; y++) for (x = $1 / 10; x < ($1 + $3) / 10; x++) dark[int(y) + m, int(x) + m] = 1 }
            END { print "P1"; print w, h
                  for (y = 0; y < h; y++) { row = ""; for (x = 0; x < w; x++) row = row ((y, x) in dark ? "1 " : "0 "); print row } }'
}

case $case in
list)
    "$zorvel" barcode --list > list.txt 2> stderr.txt || fail "--list: $(cat stderr.txt)"
    names=$(awk '{ printf "%s ", $1 }' list.txt)
    expected="EAN13 EAN8 UPCA CODE39 EAN128A EAN128B EAN128C QRCODE MICROQR DATAMATRIX GS1DATAMATRIX PDF417 AZTEC CODE128 GS1128 ITF14 DATABAR DATABAREXP CODE93 CODABAR UPCE "
    [ "$names" = "$expected" ] || fail "--list names: $names"
    awk 'NF < 3 { print "no description: " $0; bad = 1 } END { exit bad }' list.txt || fail "--list"
    "$zorvel" barcode --list --type QRCODE 2> stderr.txt
    [ $? -eq 2 ] && grep -qF -- "--list goes alone" stderr.txt || fail "--list with --type: $(cat stderr.txt)"
    ;;
refused)
    # Each refused with the library's message, exit status 1 and no file, PNG or SVG. The GTIN's
    # check digit is 3, not 4; QR Code holds at most 4296 capitals; Micro QR M4 at most 21.
    long=$(awk 'BEGIN { while (n++ < 4300) printf "A" }')
    printf '%s\n' "GS1128|(01)09501101530004" "GS1DATAMATRIX|01095011015300031" "QRCODE|$long" \
        "MICROQR|ZORVEL LABEL DESIGNER 2026" "UPCE|01234A6" "DATABAR|12345678901234567" > cases.txt
    for ext in png svg; do
        while IFS='|' read -r type content; do
            "$zorvel" barcode --type "$type" --content "$content" --out "refused.$ext" 2> stderr.txt
            status=$?
            [ "$status" -eq 1 ] || fail "$type '$content': exit status $status instead of 1"
            head -c 18 stderr.txt | grep -qxF "INVALID BARCODE : " || fail "$type: stderr $(cat stderr.txt)"
            # The content is quoted up to 60 characters, then an ellipsis: one readable line.
            quoted=$content
            [ ${#content} -gt 60 ] && quoted="$(printf '%.60s' "$content")…"
            grep -qF "INVALID BARCODE : $quoted" stderr.txt || fail "$type: stderr without the content: $(cat stderr.txt)"
            [ "$(wc -c < stderr.txt)" -lt 300 ] || fail "$type: a message of $(wc -c < stderr.txt) bytes"
            left=$(ls -A | grep -v -e '^stderr.txt$' -e '^cases.txt$')
            [ -z "$left" ] || fail "$type '$content' left files: $left"
        done < cases.txt
    done
    ;;
options)
    # Sizes at 300 dpi of 0.3 mm modules (3.54 px, drawn as whole pixels: 4) with QR's 4-module
    # quiet zone: version V has 17 + 4V modules. 17 capitals fit version 1 at level L (25 at most)
    # but need version 2 at H (10 in version 1): 29 modules -> 116 px, 33 -> 132 px; version 10:
    # 65 -> 260 px.
    for c in "L||116 116" "H||132 132" "H|10|260 260" "M|10|260 260"; do
        ecc=${c%%|*} rest=${c#*|} size=${rest%%|*} expected=${rest#*|}
        set -- --ecc "$ecc"
        [ -n "$size" ] && set -- "$@" --size "$size"
        "$zorvel" barcode --type QRCODE --content "ZORVEL LABEL 2026" "$@" --out qr.png 2> stderr.txt ||
            fail "QR $*: $(cat stderr.txt)"
        [ "$(png_size qr.png)" = "$expected" ] || fail "QR $*: $(png_size qr.png) pixels, expected $expected"
    done
    # Choices the symbology cannot honour are refused in the library's words, not changed.
    printf '%s\n' "PDF417|--size 95|Symbol size 95 out of range (3 to 90)" \
        "QRCODE|--size 41|Symbol size 41 out of range (1 to 40)" \
        "AZTEC|--ecc 2 --size 5|Error correction level and symbol size cannot both be set" > refused.txt
    while IFS='|' read -r type option reason; do
        # shellcheck disable=SC2086
        "$zorvel" barcode --type "$type" --content 12 $option --out r.png 2> stderr.txt
        status=$?
        [ "$status" -eq 1 ] && grep -qF "INVALID BARCODE : 12 ($reason)" stderr.txt ||
            fail "$type $option: $status $(cat stderr.txt)"
        [ ! -e r.png ] || fail "$type $option wrote a file"
    done < refused.txt
    # Options a symbology does not have are mistakes in the arguments.
    printf '%s\n' "CODE128|--ecc M|--ecc goes with QRCODE, MICROQR, PDF417 and AZTEC only" \
        "QRCODE|--ecc X|--ecc takes L, M, Q or H for QRCODE" "PDF417|--ecc 9|--ecc takes a level 0..8" \
        "GS1128|--size 3|--size goes with the 2D types" > usage.txt
    while IFS='|' read -r type option message; do
        # shellcheck disable=SC2086
        "$zorvel" barcode --type "$type" --content 12 $option --out u.png 2> stderr.txt
        status=$?
        [ "$status" -eq 2 ] && grep -qF -- "$message" stderr.txt || fail "$type $option: $status $(cat stderr.txt)"
        [ ! -e u.png ] || fail "$type $option wrote a file"
    done < usage.txt
    ;;
svg)
    need zbarimg
    # One path of modules, the size in millimetres; its geometry alone reads back as the content.
    for c in "QRCODE|Zorvel SVG 42" "CODE128|Zorvel-128 svg" "GS1DATAMATRIX|(01)09501101530003"; do
        type=${c%%|*} content=${c#*|}
        "$zorvel" barcode --type "$type" --content "$content" --out code.svg 2> stderr.txt || fail "$type: $(cat stderr.txt)"
        [ "$(grep -c '<path fill="#000000"' code.svg)" -eq 1 ] || fail "$type: not one dark path"
        grep -q '<svg [^>]*width="[0-9.]*mm" height="[0-9.]*mm"' code.svg || fail "$type: no size in mm"
        [ "$type" = GS1DATAMATRIX ] && continue # zbar reads no Data Matrix
        svg2pbm code.svg > code.pbm
        [ "$(scan code.pbm)" = "$(printf '%s' "$content" | od -An -c | tr -d ' \n')" ] ||
            fail "$type: SVG reads '$(scan code.pbm)'"
    done
    ;;
scan)
    need zbarimg
    # type | content | what zbar transmits (printf escapes). GS1: FNC1 (GS, \035) ends a
    # variable-length field unless it is the last; (01) and (3103) have fixed lengths. The GTIN
    # 09501101530003 has its check digit 3 (weights 3,1,3... from the right of 0950110153000: 47 -> 3).
    # UPC-E 0123456 comes back as the EAN-13 form of UPC-A 01234500006 and its check digit:
    # (0+2+4+0+0+6) x 3 + (1+3+5+0+0) = 45 -> 5.
    cat > cases.txt <<'EOF'
QRCODE|Zorvel: Größe 42 €|Zorvel: Größe 42 €
CODE128|Zorvel-128 abc!|Zorvel-128 abc!
GS1128|(01)09501101530003(10)AB12(17)261231|010950110153000310AB12\03517261231
ITF14|0950110153000|09501101530003
DATABAR|0950110153000|0109501101530003
DATABAREXP|(01)09501101530003(3103)000123(10)AB12|0109501101530003310300012310AB12
CODE93|ZORVEL-93 TEST|ZORVEL-93 TEST
CODABAR|A40156B|A40156B
UPCE|0123456|0012345000065
EOF
    failures=0
    while IFS='|' read -r type content expected; do
        for number in "" --no-number; do
            "$zorvel" barcode --type "$type" --content "$content" $number --out code.png 2> stderr.txt ||
                { echo "FAIL: $type $number: $(cat stderr.txt)" >&2; failures=$((failures + 1)); continue; }
            # shellcheck disable=SC2059
            want=$(printf "$expected" | od -An -c | tr -d ' \n')
            read=$(scan code.png)
            if [ "$read" = "$want" ]; then echo "ok: $type $number"; else
                echo "FAIL: $type '$content' $number: read '$read', expected '$want'" >&2
                failures=$((failures + 1))
            fi
        done
    done < cases.txt
    [ "$failures" -eq 0 ] || exit 1
    ;;
render_wide)
    need zbarimg
    # A QR Code beyond Windows-1252: rendered from the JSON, from its stream, and dumped back whole.
    content='日本語 € Ω ✓'
    cat > design.json <<EOF
{"Units": 0, "Measure": {"Width": 6000, "Height": 3500, "NuHor": 1, "NuVer": 1},
 "Elements": [{"Kind": 3, "ID": "Code", "X1": 500, "Y1": 500, "BarCode": "$content", "CodeType": 7,
               "BarWidth": 50}]}
EOF
    "$zorvel" convert design.json design.zvl 2> stderr.txt || fail "convert: $(cat stderr.txt)"
    "$zorvel" dump design.zvl > dumped.json 2> stderr.txt || fail "dump: $(cat stderr.txt)"
    grep -qF "\"BarCode\": \"$content\"" dumped.json || fail "dumped: $(grep BarCode dumped.json)"
    want=$(printf '%s' "$content" | od -An -c | tr -d ' \n')
    for input in design.json design.zvl; do
        rm -f page-*.png
        "$zorvel" render "$input" --out page.png 2> stderr.txt || fail "render $input: $(cat stderr.txt)"
        [ "$(scan page-1.png)" = "$want" ] || fail "render $input: read '$(scan page-1.png)'"
    done
    ;;
render_refused)
    # A design whose GS1-128 code is refused for one record: the message, exit 1, no PDF; the
    # same design prints when every record encodes.
    cat > design.json <<'EOF'
{"Units": 0, "DataEnabled": true,
 "Measure": {"Width": 6000, "Height": 3500, "NuHor": 3, "NuVer": 7, "MarLeft": 500, "MarTop": 1000,
             "DiHor": 400, "DiVer": 400, "PaperWidth": 21000, "PaperHeight": 29700},
 "Elements": [{"Kind": 3, "ID": "Code", "X1": 300, "Y1": 300, "BarCode": "(01)09501101530003",
               "BoundField": "CODE", "Data": true, "CodeType": 14}]}
EOF
    printf 'CODE\n(01)09501101530003\n(17)261231\n' > good.csv
    printf 'CODE\n(01)09501101530003\n(01)09501101530004\n(17)261231\n' > bad.csv
    "$zorvel" render design.json --csv good.csv --out good.pdf 2> stderr.txt || fail "good records: $(cat stderr.txt)"
    [ -s good.pdf ] || fail "good records: no PDF"
    "$zorvel" render design.json --csv bad.csv --out bad.pdf 2> stderr.txt
    status=$?
    [ "$status" -eq 1 ] || fail "refused record: exit status $status instead of 1"
    grep -qF "INVALID BARCODE : (01)09501101530004" stderr.txt || fail "refused record: stderr $(cat stderr.txt)"
    [ -z "$(ls -A | grep -e '^bad\.pdf')" ] || fail "refused record left: $(ls -A)"
    # Fixed content without data, to PNG pages.
    sed -e 's/"Data": true/"Data": false/' -e 's/(01)09501101530003"/(01)0950110153000"/' design.json > fixed.json
    "$zorvel" render fixed.json --out fixed.png 2> stderr.txt
    status=$?
    [ "$status" -eq 1 ] && grep -qF "INVALID BARCODE : (01)0950110153000" stderr.txt ||
        fail "refused fixed content: $status $(cat stderr.txt)"
    [ -z "$(ls -A | grep -e '^fixed-')" ] || fail "refused fixed content left: $(ls -A | grep '^fixed-')"
    ;;
*)
    fail "unknown case $case"
    ;;
esac
