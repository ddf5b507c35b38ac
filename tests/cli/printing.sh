#!/bin/sh
# zorvel printers, render --printer and calibrate against a private CUPS scheduler:
#   printing.sh ZORVEL DATA_DIR SUPPORT_DIR WORK_DIR CASE
set -u
zorvel=$1 data=$2 support=$3 work=$4 case=$5
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"
server=$(mktemp -d /tmp/zorvel-cups-XXXXXX) || exit 2
trap 'sh "$support/cups_fixture.sh" stop "$server"' EXIT
sh "$support/cups_fixture.sh" start "$server" $$ || fail "cupsd did not start"
export CUPS_SERVER="$server/cups.sock"
# Saved calibrations go to this folder, never to the user's settings.
export XDG_CONFIG_HOME="$work/config"
PATH=$PATH:/usr/sbin

# Waits for the queue's job, then copies what arrived (QUEUE.pdf, or QUEUE.SUFFIX) to FILE.
arrived() {
    i=0 job="$server/out/$1.${3:-pdf}"
    while [ -n "$(lpstat -o "$1")" ] || [ ! -s "$job" ]; do
        i=$((i + 1)); [ $i -lt 300 ] || fail "no job arrived at $1"; sleep 0.1
    done
    cp "$job" "$2" && : > "$job"
}
# "word xMin yMin" per word, in mm.
words() {
    pdftotext -bbox "$1" - | sed -n 's/.*xMin="\([0-9.]*\)" yMin="\([0-9.]*\)".*>\(.*\)<\/word>.*/\3 \1 \2/p' \
        | awk '{ printf "%s %.3f %.3f\n", $1, $2 * 25.4 / 72, $3 * 25.4 / 72 }'
}
# Every word of B sits DX, DY mm from the same word of A (within 0.2 mm), up to a word with "offsets".
moved() {
    words "$1" > a.txt; words "$2" > b.txt
    paste -d ' ' a.txt b.txt | awk -v dx="$3" -v dy="$4" '
        $1 ~ /offsets/ { exit bad }
        { n++; ex = $5 - $2 - dx; ey = $6 - $3 - dy
          if ($1 != $4 || ex > 0.2 || ex < -0.2 || ey > 0.2 || ey < -0.2) { print "moved wrong: " $0; bad = 1 } }
        END { if (n < 10) { print n " words"; bad = 1 }; exit bad }'
}

case $case in
printers)
    "$zorvel" printers > out.txt 2> err.txt || fail "printers: $(cat err.txt)"
    printf 'zv_a (default)\nzv_b\n' | cmp -s - out.txt || fail "list: $(cat out.txt)"
    ;;
render)
    # 22 labels: two pages, twice.
    "$zorvel" render "$data/render_design.json" --printer zv_b --copies 2 --count 22 > out.txt 2> err.txt \
        || fail "render: $(cat err.txt)"
    grep -qx "zv_b-[0-9][0-9]*" out.txt || fail "job id: $(cat out.txt)"
    grep -qx "22 labels on 2 pages" err.txt || fail "stderr: $(cat err.txt)"
    arrived zv_b job.pdf
    pdfinfo job.pdf | grep -q "^Pages: *4$" || fail "pages: $(pdfinfo job.pdf)"
    ;;
refused)
    # Each refusal: exit 1, the scheduler's words, no job.
    "$zorvel" render "$data/render_design.json" --printer nope > out.txt 2> err.txt
    [ $? -eq 1 ] || fail "unknown queue: exit status"
    grep -qF "UNKNOWN PRINTER : nope (" err.txt || fail "unknown queue: $(cat err.txt)"
    cupsdisable -r "Out of paper" zv_b || fail cupsdisable
    "$zorvel" render "$data/render_design.json" --printer zv_b > out.txt 2> err.txt
    [ $? -eq 1 ] || fail "stopped queue: exit status"
    grep -qxF "PRINTER STOPPED : zv_b (Out of paper)" err.txt || fail "stopped queue: $(cat err.txt)"
    cupsenable zv_b && cupsreject zv_b || fail cupsreject
    "$zorvel" calibrate --printer zv_b > out.txt 2> err.txt
    [ $? -eq 1 ] || fail "rejecting queue: exit status"
    grep -qF "PRINT JOB REFUSED : zv_b (Destination \"zv_b\" is not accepting jobs.)" err.txt \
        || fail "rejecting queue: $(cat err.txt)"
    [ ! -s out.txt ] || fail "a job id: $(cat out.txt)"
    [ -z "$(lpstat -o)" ] || fail "jobs: $(lpstat -o)"
    "$zorvel" render "$data/render_design.json" --printer zv_a --offset-y -10.5 2> err.txt
    [ $? -eq 2 ] || fail "offset: exit status"
    grep -qF "VERTICAL OFFSET OUT OF RANGE : -10.5 MM (-10 TO 10 MM)" err.txt || fail "offset: $(cat err.txt)"
    ;;
offsets)
    # Labels and the calibration page, each moved by the offsets given, then by the ones saved.
    "$zorvel" render "$data/render_design.json" --printer zv_a --count 6 > /dev/null 2>&1 || fail "render"
    arrived zv_a plain.pdf
    "$zorvel" render "$data/render_design.json" --printer zv_a --count 6 --offset-x 3 --offset-y -2.5 \
        > /dev/null 2>&1 || fail "render with offsets"
    arrived zv_a moved.pdf
    moved plain.pdf moved.pdf 3 -2.5 || fail "labels"
    "$zorvel" calibrate --printer zv_a --offset-x 0 --offset-y 0 > /dev/null 2> err.txt || fail "calibrate: $(cat err.txt)"
    arrived zv_a page.pdf
    pdfinfo page.pdf | grep -q "^Pages: *1$" || fail "calibration pages"
    "$zorvel" calibrate --printer zv_a --offset-x -1.5 --offset-y 4 --save > /dev/null 2> err.txt \
        || fail "calibrate: $(cat err.txt)"
    arrived zv_a page_moved.pdf
    moved page.pdf page_moved.pdf -1.5 4 || fail "calibration page"
    "$zorvel" render "$data/render_design.json" --printer zv_a --count 6 > /dev/null 2>&1 || fail "render"
    arrived zv_a saved.pdf
    moved plain.pdf saved.pdf -1.5 4 || fail "saved offsets"
    # A hand-damaged offset drops both, said once.
    sed -i 's/OffsetX=.*/OffsetX=abc/' "$XDG_CONFIG_HOME/Zorvel/printers.conf" || fail "settings file"
    "$zorvel" render "$data/render_design.json" --printer zv_a --count 6 > /dev/null 2> err.txt || fail "render"
    arrived zv_a damaged.pdf
    moved plain.pdf damaged.pdf 0 0 || fail "damaged offsets"
    [ "$(grep -cxF 'DAMAGED CALIBRATION : zv_a (OffsetX=abc), NO OFFSETS USED' err.txt)" = 1 ] || fail "damage: $(cat err.txt)"
    "$zorvel" calibrate --out file.pdf --offset-x 2 > /dev/null 2> err.txt || fail "calibrate --out: $(cat err.txt)"
    pdfinfo file.pdf | grep -q "^Pages: *1$" || fail "calibration file"
    ;;
paper)
    # 4 x 6 in: the label printer's own w288h432 (812 x 1218 dots), a paper the PDF printer lacks.
    sh "$support/cups_fixture.sh" label "$server" || fail "label queue"
    sed 's/"PaperWidth": 21000, "PaperHeight": 29700/"PaperWidth": 10160, "PaperHeight": 15240/' \
        "$data/render_design.json" > four_by_six.json
    "$zorvel" render four_by_six.json --printer zv_b > out.txt 2> err.txt
    [ $? -eq 1 ] || fail "PDF printer: exit status"
    grep -qxF "PAPER SIZE NOT AVAILABLE : 101.6 x 152.4 MM ON PRINTER zv_b" err.txt || fail "PDF printer: $(cat err.txt)"
    [ -z "$(lpstat -o)" ] || fail "jobs: $(lpstat -o)"
    "$zorvel" render four_by_six.json --printer zv_label > /dev/null 2> err.txt || fail "label printer: $(cat err.txt)"
    arrived zv_label job.zpl zpl
    grep -aq '\^PW812' job.zpl && grep -aq '~DGR:CUPS.GRF,[0-9]*,' job.zpl || fail "label width: $(head -c 200 job.zpl)"
    rows=$(grep -ao '~DGR:CUPS.GRF,[0-9]*,[0-9]*' job.zpl | head -1 | awk -F, '{ print $2 / $3 }')
    [ "$rows" = 1218 ] || fail "label length: $rows rows"
    ;;
media)
    sh "$support/cups_fixture.sh" label "$server" || fail "label queues"
    "$zorvel" printers --media zv_label > zebra.txt 2> err.txt || fail "media: $(cat err.txt)"
    grep -q "	57.15 x 31.75 mm	" zebra.txt || fail "Zebra media: $(cat zebra.txt)"
    grep -q "^custom	" zebra.txt || fail "Zebra custom sizes: $(cat zebra.txt)"
    "$zorvel" printers --media zv_dymo > dymo.txt 2> err.txt || fail "media: $(cat err.txt)"
    grep -q "	28.58 x 88.9 mm	" dymo.txt || fail "DYMO media: $(cat dymo.txt)"
    ! grep -q "^custom	" dymo.txt || fail "DYMO takes no custom size: $(cat dymo.txt)"
    "$zorvel" printers --media nope > /dev/null 2> err.txt
    [ $? -eq 1 ] && grep -qF "UNKNOWN PRINTER : nope (" err.txt || fail "unknown queue: $(cat err.txt)"
    ;;
roll)
    # One label a page on the drivers' own media: the Zebra's w162h90, the DYMO's w81h252 turned.
    sh "$support/cups_fixture.sh" label "$server" || fail "label queues"
    printf 'NAME,TAG\nDrill,A-1001\nLadder,A-1002\nVice,A-1003\n' > assets.csv
    "$zorvel" render "$data/roll_design.json" --csv assets.csv --printer zv_label > /dev/null 2> err.txt \
        || fail "Zebra: $(cat err.txt)"
    arrived zv_label zebra.zpl zpl
    [ "$(grep -ao '\^XGR:CUPS.GRF' zebra.zpl | wc -l)" = 3 ] || fail "Zebra labels: $(grep -ao '\^XG' zebra.zpl | wc -l)"
    grep -aq '\^PW457' zebra.zpl || fail "Zebra width: $(head -c 200 zebra.zpl)"
    rows=$(grep -ao '~DGR:CUPS.GRF,[0-9]*,[0-9]*' zebra.zpl | head -1 | awk -F, '{ print $2 / $3 }')
    [ "$rows" = 254 ] || fail "Zebra length: $rows rows"
    sed 's/"Width": 5715, "Height": 3175/"Width": 8900, "Height": 2800/; s/"PaperWidth": 5715, "PaperHeight": 3175/"PaperWidth": 8900, "PaperHeight": 2800/' \
        "$data/roll_design.json" > address.json
    "$zorvel" render address.json --csv assets.csv --printer zv_dymo > /dev/null 2> err.txt || fail "DYMO: $(cat err.txt)"
    arrived zv_dymo dymo.bin bin
    grep -q '^zv_label .* [^ ]*2.25x1.25in' "$server/log/page_log" || fail "Zebra medium: $(cat "$server/log/page_log")"
    ;;
zpl_queue)
    # A queue set to ZPL gets our own printer code, byte for byte what --out writes.
    sh "$support/cups_fixture.sh" label "$server" || fail "label queues"
    "$zorvel" printers --set zv_raw --language zpl --dpi 250 2> err.txt
    [ $? -eq 2 ] && grep -qF "INVALID PRINTER RESOLUTION : 250 DPI (203, 300 OR 600)" err.txt || fail "dpi: $(cat err.txt)"
    "$zorvel" printers --set zv_raw --language pcl 2> err.txt
    [ $? -eq 2 ] && grep -qF "INVALID PRINTER LANGUAGE : pcl (DRIVER OR ZPL)" err.txt || fail "language: $(cat err.txt)"
    "$zorvel" printers --set zv_raw --language zpl --dpi 300 || fail "set"
    "$zorvel" printers | grep -qx "zv_raw \[zpl 300 dpi\]" || fail "list: $("$zorvel" printers)"
    printf 'NAME,TAG\nDrill,A-1001\nLadder,A-1002\n' > assets.csv
    "$zorvel" render "$data/roll_design.json" --csv assets.csv --printer zv_raw --offset-x 1 > out.txt 2> err.txt \
        || fail "render: $(cat err.txt)"
    grep -qx "zv_raw-[0-9][0-9]*" out.txt || fail "job id: $(cat out.txt)"
    arrived zv_raw job.zpl zpl
    "$zorvel" render "$data/roll_design.json" --csv assets.csv --out direct.zpl --dpi 300 2> err.txt || fail "--out: $(cat err.txt)"
    grep -aq '\^LH12,0' job.zpl || fail "label home: $(head -c 300 job.zpl)"
    sed 's/\^LH12,0/^LH0,0/' job.zpl | cmp -s - direct.zpl || fail "the queue's ZPL differs from --out's"
    [ "$(grep -ao '\^XA' job.zpl | wc -l)" = 2 ] || fail "labels: $(grep -ao '\^XA' job.zpl | wc -l)"
    "$zorvel" printers --set zv_raw --language driver || fail "back to the driver"
    "$zorvel" printers | grep -qx "zv_raw" || fail "list: $("$zorvel" printers)"
    ;;
*) fail "unknown case $case" ;;
esac
