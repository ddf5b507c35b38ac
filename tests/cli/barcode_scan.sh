#!/bin/sh
# PNGs from `zorvel barcode --out` of every symbology, with and without the number, read back by a
# real decoder (zbarimg). Usage: barcode_scan.sh ZORVEL WORK_DIR
set -u
zorvel=$1 work=$2
case $zorvel in /*) ;; *) zorvel=$PWD/$zorvel ;; esac
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"

# Refused content leaves neither the PNG nor a temporary file behind.
"$zorvel" barcode --type EAN13 --content 12345678901x --out refused.png 2>stderr.txt
status=$?
[ "$status" -eq 1 ] || fail "refused content: exit status $status instead of 1"
grep -qF "INVALID BARCODE : 12345678901x" stderr.txt || fail "refused content: stderr $(cat stderr.txt)"
[ -z "$(ls -A | grep -v '^stderr.txt$')" ] || fail "refused content left files: $(ls -A)"

# An output that cannot be written is an error, with nothing left behind.
"$zorvel" barcode --type EAN13 --content 590123412345 --checksum --out missing/e.png 2>stderr.txt
status=$?
[ "$status" -eq 1 ] || fail "unwritable output: exit status $status instead of 1"
grep -qF "CAN'T WRITE FILE : missing/e.png" stderr.txt || fail "unwritable output: stderr $(cat stderr.txt)"
rm -f stderr.txt

command -v zbarimg > /dev/null 2>&1 || skip "zbarimg (zbar-tools) is not installed"

# type | content | options | what the decoder must read. Check characters: GS1 General
# Specifications (EAN-13 590123412345 -> 7, UPC-A 03600029145 -> 2, EAN-8 9638507 -> 4); GS1-128 C
# 1234567: 7x3+6+5x3+4+3x3+2+1x3 = 60 -> 0, and an odd length gets a leading 0; Code 39
# ZORVEL-39: 35+24+27+31+14+21+36+3+9 = 200, 200 mod 43 = 28 = "S".
cases='EAN13|590123412345|--checksum|5901234123457
EAN8|9638507|--checksum|96385074
UPCA|036000291452||036000291452
CODE39|ZORVEL-39|--checksum|ZORVEL-39S
CODE39|LABEL 42|--dpi 600 --bar-width 0.25|LABEL 42
EAN128A|ZORVEL-128A||ZORVEL-128A
EAN128B|Zorvel 128b|--height 15|Zorvel 128b
EAN128C|12345||012345
EAN128C|1234567|--checksum|12345670'

n=0
echo "$cases" | {
    failures=0
    while IFS='|' read -r type content options expected; do
        for number in "" --no-number; do
            n=$((n + 1))
            png=$n.png
            # shellcheck disable=SC2086
            if ! "$zorvel" barcode --type "$type" --content "$content" $options $number --out "$png"; then
                echo "FAIL: $type '$content' $options $number: zorvel failed" >&2
                failures=$((failures + 1))
                continue
            fi
            # GS1-128 starts with FNC1, which a decoder may report as a "]C1" prefix or a GS
            # character; UPC-A may come back as EAN-13 with a leading 0.
            read=$(zbarimg --quiet --raw "$png" 2>/dev/null | tr -d '\035\r' | sed -e 's/^\]C1//')
            [ "$type" = UPCA ] && [ ${#read} -eq 13 ] && read=${read#0}
            if [ "$read" != "$expected" ]; then
                echo "FAIL: $type '$content' $options $number: read '$read', expected '$expected'" >&2
                failures=$((failures + 1))
            else
                echo "ok: $type '$content' $options $number -> $read"
            fi
        done
    done
    [ "$failures" -eq 0 ] || exit 1
}
