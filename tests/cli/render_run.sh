#!/bin/sh
# End-to-end checks of `zorvel render`: usage: render_run.sh ZORVEL DATA_DIR WORK_DIR CASE
set -u
zorvel=$1 data=$2 work=$3 case=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"
# shellcheck source=detail_labels.sh
. "$(dirname "$0")/detail_labels.sh"

# Ten records NAME = N1 .. N10.
{ echo "NAME"; for i in 1 2 3 4 5 6 7 8 9 10; do echo "N$i"; done; } > records.csv

case $case in
sheets)
    # 20 labels from row 2, column 3: 16 on the first sheet, 4 on the second.
    "$zorvel" render "$data/render_design.json" --out out.pdf --count 20 --first-row 2 --first-col 3 \
        2> stderr.txt || fail "render: $(cat stderr.txt)"
    grep -qF "20 labels on 2 pages" stderr.txt || fail "stderr: $(cat stderr.txt)"
    need pdfinfo
    pdfinfo out.pdf | grep -q "^Pages: *2$" || fail "page count: $(pdfinfo out.pdf)"
    ;;
records)
    # Records 3 to 10 twice each: N3 at row 1, columns 1 and 2 (label boxes in points: 60 mm = 170.08).
    "$zorvel" render "$data/render_design.json" --out out.pdf --csv records.csv --from 3 --repetitions 2 \
        --answer lot=L42 2> stderr.txt || fail "render: $(cat stderr.txt)"
    grep -qx "16 labels on 1 page" stderr.txt || fail "stderr: $(cat stderr.txt)"
    need pdftotext
    pdftotext -bbox out.pdf words.html || fail "pdftotext"
    # word xMin yMin per word, in points.
    sed -n 's/.*xMin="\([0-9.]*\)" yMin="\([0-9.]*\)".*>\(.*\)<\/word>.*/\3 \1 \2/p' words.html > words.txt
    # Each word inside the label whose column and row the walk gives: x from 5 mm + (col-1) * 64 mm,
    # y from 10 mm + (row-1) * 39 mm.
    awk 'BEGIN { mm = 72 / 25.4 }
         $1 ~ /^N/ { n++; pos = n - 1; col = pos % 3; row = int(pos / 3)
                     rec = "N" (3 + int(pos / 2))
                     if ($1 != rec) { print "label " n " shows " $1 " not " rec; bad = 1 }
                     x0 = (5 + col * 64) * mm; y0 = (10 + row * 39) * mm
                     if ($2 < x0 || $2 > x0 + 60 * mm || $3 < y0 || $3 > y0 + 35 * mm) {
                         print $1 " at " $2 "," $3 " outside label " n; bad = 1 } }
         $1 == "L42" { lots++ }
         END { if (n != 16) { print n " record words"; bad = 1 }
               if (lots != 16) { print lots " answers"; bad = 1 }
               exit bad }' words.txt || fail "words: $(cat words.txt | head -40)"
    ;;
png_pages)
    "$zorvel" render "$data/render_design.json" --out page.png --dpi 50 --count 22 2> stderr.txt \
        || fail "render: $(cat stderr.txt)"
    [ -s page-1.png ] && [ -s page-2.png ] || fail "pages missing: $(ls)"
    [ ! -e page-3.png ] || fail "a third page"
    # A paper of 2 x 2 m at 300 dpi would take 2.2 GB: refused before any page.
    sed 's/"PaperWidth": 21000, "PaperHeight": 29700/"PaperWidth": 200000, "PaperHeight": 200000/' \
        "$data/render_design.json" > huge.json
    "$zorvel" render huge.json --out huge.png --dpi 300 2> stderr.txt
    [ $? -eq 1 ] || fail "huge paper: exit status"
    grep -qxF "IMAGE TOO LARGE : 23622 x 23622 PIXELS" stderr.txt || fail "huge paper: $(cat stderr.txt)"
    [ -z "$(ls huge*.png 2> /dev/null)" ] || fail "huge paper: $(ls huge*.png)"
    ;;
database)
    need sqlite3
    sqlite3 shop.db "CREATE TABLE items (NAME TEXT, PRICE REAL); INSERT INTO items VALUES ('A1', 1), ('A2', 2), ('A3', 3);" \
        || fail "sqlite3"
    "$zorvel" render "$data/render_design.json" --out out.pdf --db sqlite:shop.db --master items 2> stderr.txt \
        || fail "render: $(cat stderr.txt)"
    grep -qx "3 labels on 1 page" stderr.txt || fail "stderr: $(cat stderr.txt)"
    "$zorvel" render "$data/render_design.json" --out query.pdf --db sqlite:shop.db \
        --master "SELECT NAME FROM items WHERE PRICE > 1" 2> stderr.txt || fail "render: $(cat stderr.txt)"
    grep -qx "2 labels on 1 page" stderr.txt || fail "stderr: $(cat stderr.txt)"
    "$zorvel" render "$data/render_design.json" --out detail.pdf --db sqlite:shop.db --master items \
        --detail "SELECT PRICE FROM items WHERE NAME = :NAME" 2> stderr.txt || fail "render: $(cat stderr.txt)"
    grep -qx "3 labels on 1 page" stderr.txt || fail "stderr: $(cat stderr.txt)"
    "$zorvel" render "$data/render_design.json" --out bad.pdf --db sqlite:shop.db --master nothere 2> stderr.txt
    [ $? -eq 1 ] || fail "exit status for a missing table"
    grep -qF "CAN'T OPEN DATASET" stderr.txt || fail "stderr: $(cat stderr.txt)"
    [ ! -e bad.pdf ] || fail "bad.pdf was written"
    ;;
detail)
    # Each item's table lists its own stock rows, bound through the master's NAME.
    need sqlite3
    sqlite3 shop.db "CREATE TABLE items (NAME TEXT); INSERT INTO items VALUES ('A1'), ('A2');
                     CREATE TABLE stock (NAME TEXT, SKU TEXT);
                     INSERT INTO stock VALUES ('A1', 'S11'), ('A1', 'S12'), ('A2', 'S21');" || fail "sqlite3"
    "$zorvel" render "$data/detail_design.json" --out out.pdf --db sqlite:shop.db --master items \
        --detail "SELECT SKU FROM stock WHERE NAME = :NAME" 2> stderr.txt || fail "render: $(cat stderr.txt)"
    grep -qx "2 labels on 1 page" stderr.txt || fail "stderr: $(cat stderr.txt)"
    need pdftotext
    check_detail_labels out.pdf
    ;;
bad_field)
    printf 'CODE\n1\n' > other.csv
    "$zorvel" render "$data/render_design.json" --out out.pdf --csv other.csv 2> stderr.txt
    [ $? -eq 1 ] || fail "exit status"
    grep -qF "INVALID FIELD NAME :NAME" stderr.txt || fail "stderr: $(cat stderr.txt)"
    [ ! -e out.pdf ] || fail "out.pdf was written"
    ;;
bad_answer)
    "$zorvel" render "$data/render_design.json" --out out.pdf --answer nope=1 2> stderr.txt
    [ $? -eq 1 ] || fail "exit status"
    grep -qF "NO QUESTION WITH ID : NOPE" stderr.txt || fail "stderr: $(cat stderr.txt)"
    [ ! -e out.pdf ] || fail "out.pdf was written"
    ;;
no_rows)
    # A stored sheet of no rows prints as one row of three: 50 labels on 17 pages.
    sed 's/"NuHor": 7/"NuHor": 0/' "$data/render_design.json" > design.json
    "$zorvel" render design.json --out out.pdf --count 50 2> stderr.txt || fail "render: $(cat stderr.txt)"
    grep -qx "50 labels on 17 pages" stderr.txt || fail "stderr: $(cat stderr.txt)"
    ;;
off_paper)
    # Four columns of 60 mm and eight rows of 35 mm: the last column and row pass A4's edges.
    # The run is the one asked for; only a warning names what falls off.
    sed 's/"NuHor": 7, "NuVer": 3/"NuHor": 8, "NuVer": 4/' "$data/render_design.json" > design.json
    "$zorvel" render design.json --out out.pdf --count 40 2> stderr.txt || fail "render: $(cat stderr.txt)"
    grep -qx "LABELS OFF THE PAPER : 1 COLUMN, 1 ROW" stderr.txt || fail "stderr: $(cat stderr.txt)"
    grep -qx "40 labels on 2 pages" stderr.txt || fail "stderr: $(cat stderr.txt)"
    "$zorvel" render "$data/render_design.json" --out fits.pdf 2> stderr.txt || fail "render: $(cat stderr.txt)"
    ! grep -q "OFF THE PAPER" stderr.txt || fail "a sheet that fits warned: $(cat stderr.txt)"
    ;;
*) exit 2 ;;
esac
