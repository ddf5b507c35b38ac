#!/bin/sh
# A run split among threads prints what one thread prints: usage: split_run.sh ZORVEL DATA_DIR WORK_DIR CASE
set -u
zorvel=$1 data=$2 work=$3 case=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"

# render JOBS OUT ARGS...: the run on JOBS threads into JOBS/OUT; its summary line in JOBS/summary.
render() {
    jobs=$1 out=$2
    shift 2
    mkdir -p "$jobs"
    "$zorvel" render "$@" --out "$jobs/$out" --jobs "$jobs" 2> "$jobs/stderr" || fail "--jobs $jobs: $(cat "$jobs/stderr")"
    tail -n 1 "$jobs/stderr" > "$jobs/summary"
}
# same_files JOBS...: every file of 1/ is in each JOBS/ with the same bytes, and nothing more.
same_files() {
    for jobs; do
        [ "$(ls 1)" = "$(ls "$jobs")" ] || fail "--jobs $jobs made $(ls "$jobs") instead of $(ls 1)"
        for f in 1/*; do cmp -s "$f" "$jobs/${f#1/}" || fail "--jobs $jobs: ${f#1/} differs"; done
    done
}

# Records with a quantity each (0 to 3): counters, copies and a QR code per label; the run starts
# at row 2, column 2 of the first sheet and prints records 3 to 37.
{ echo "NAME,CODE,QTY"; i=1; while [ $i -le 40 ]; do echo "N$i,C$i,$((i % 4))"; i=$((i + 1)); done; } > qty.csv
job="$data/template_design.json --csv qty.csv --first-row 2 --first-col 2 --from 3 --to 37"

case $case in
pdf)
    need pdftoppm
    for jobs in 1 2 3; do
        # shellcheck disable=SC2086
        render $jobs run.pdf $job
        pdftoppm -r 150 -png "$jobs/run.pdf" "$jobs/page" || fail "pdftoppm --jobs $jobs"
        rm "$jobs/run.pdf" "$jobs/stderr"
    done
    grep -qx "52 labels on 14 pages" 1/summary || fail "summary: $(cat 1/summary)"
    same_files 2 3
    ;;
png)
    for jobs in 1 3; do
        # shellcheck disable=SC2086
        render $jobs page.png $job --dpi 40
        rm "$jobs/stderr"
    done
    same_files 3
    ;;
zpl)
    # Identical labels are merged across the parts' seams: seven times the same record, and each
    # record twice (pages 7 and 8 hold record 4, pages 9 and 10 record 5).
    { echo "NAME,TAG"; for i in 1 2 3 4 5 6 7; do echo "Drill,A-1001"; done; } > same.csv
    { echo "NAME,TAG"; for i in 1 2 3 4 5 6 7; do echo "Asset $i,A-100$i"; done; } > assets.csv
    for jobs in 1 2 3; do
        render $jobs same.zpl "$data/roll_design.json" --csv same.csv
        render $jobs records.zpl "$data/roll_design.json" --csv assets.csv --repetitions 2
        rm "$jobs/stderr" "$jobs/summary"
    done
    [ "$(grep -c '^^XA' 1/same.zpl)" = 1 ] && grep -q "^^PQ7$" 1/same.zpl || fail "same labels: $(cat 1/same.zpl)"
    [ "$(grep -c '^^PQ2$' 1/records.zpl)" = 7 ] || fail "records: $(grep '^^PQ' 1/records.zpl)"
    same_files 2 3
    ;;
sources)
    # The CSV file read through its index on one thread and the same records from an SQLite table,
    # read a window at a time on three, print the same pages.
    need sqlite3
    sqlite3 items.db "CREATE TABLE items (NAME TEXT, CODE TEXT, QTY INTEGER)" ".mode csv" ".import --skip 1 qty.csv items" ||
        fail "sqlite3 import"
    # shellcheck disable=SC2086
    render 1 page.png $job --dpi 40
    # shellcheck disable=SC2086
    render 3 page.png ${job%% --csv*} --db "sqlite:$work/items.db" --master items ${job#*qty.csv} --dpi 40
    rm 1/stderr 1/summary 3/stderr 3/summary
    same_files 3
    ;;
refused)
    # Records 30 and 50 are refused on pages 2 and 3: every split names record 30 as one thread
    # does, and leaves no file.
    cat > design.json <<'JSON'
{"Units": 0, "DataEnabled": true,
 "Measure": {"Width": 6000, "Height": 3500, "NuHor": 7, "NuVer": 3, "MarLeft": 500, "MarTop": 1000,
             "DiHor": 400, "DiVer": 400, "PaperWidth": 21000, "PaperHeight": 29700},
 "Elements": [{"Kind": 3, "ID": "Code", "X1": 300, "Y1": 300, "BoundField": "CODE", "Data": true, "CodeType": 14}]}
JSON
    { echo "CODE"; i=1; while [ $i -le 60 ]; do
        case $i in 30 | 50) echo "(01)0950110153000$((i / 10 + 1))" ;; *) echo "(01)09501101530003" ;; esac
        i=$((i + 1)); done; } > codes.csv
    for jobs in 1 2 3; do
        mkdir -p $jobs
        "$zorvel" render design.json --csv codes.csv --out $jobs/run.pdf --jobs $jobs 2> $jobs/stderr
        [ $? -eq 1 ] || fail "--jobs $jobs: exit status"
        grep -qF "RECORD 30 : INVALID BARCODE : (01)09501101530004 (" $jobs/stderr || fail "--jobs $jobs: $(cat $jobs/stderr)"
        [ ! -e $jobs/run.pdf ] || fail "--jobs $jobs left its file"
    done
    ;;
*)
    fail "unknown case $case"
    ;;
esac
exit 0
