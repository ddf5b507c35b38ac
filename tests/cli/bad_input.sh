#!/bin/sh
# `zorvel render` and `zorvel dump` fed bad input: usage: bad_input.sh ZORVEL DATA_DIR WORK_DIR CASE
set -u
zorvel=$1 data=$2 work=$3 case=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"

# Exit status 1, the message on stderr, nothing on stdout and not a single new file in the folder
# (a half-written output or a temporary one left behind both count).
expect_failure() { # message command...
    message=$1
    shift
    ls -A > ../before.$$
    "$@" > ../stdout.$$ 2> ../stderr.$$
    status=$?
    ls -A > ../after.$$
    stderr=$(cat ../stderr.$$) new=$(comm -13 ../before.$$ ../after.$$) printed=$(head -c 200 ../stdout.$$)
    rm -f ../before.$$ ../after.$$ ../stdout.$$ ../stderr.$$
    [ "$status" -eq 1 ] || fail "exit status $status instead of 1: $* ($stderr)"
    case $stderr in *"$message"*) ;; *) fail "stderr lacks '$message': $stderr ($*)" ;; esac
    [ -z "$new" ] || fail "files written: $new ($*)"
    [ -z "$printed" ] || fail "printed: $printed ($*)"
}

# Both outputs: a PDF file, and PNG pages that appear together at the end.
expect_render_failure() { # message design extra-args...
    message=$1 design=$2
    shift 2
    expect_failure "$message" "$zorvel" render "$design" --out out.pdf "$@"
    expect_failure "$message" "$zorvel" render "$design" --out page.png --dpi 20 "$@"
}

# Puts the 4 little-endian bytes of $2 (octal escapes) at byte offset $1 of a copy of design.zvl.
patched() { # offset bytes copy
    cp design.zvl "$3" && printf "$2" | dd of="$3" bs=1 seek="$1" conv=notrunc status=none || fail "patch"
}

"$zorvel" convert "$data/render_design.json" design.zvl 2> /dev/null || fail "JSON -> stream"
# The stream's label name "Shelf" is a UTF-16 string whose character count sits at byte 24.
[ "$(od -An -tu4 -j24 -N4 design.zvl | tr -d ' ')" = 5 ] || fail "design.zvl layout changed: no length at byte 24"

case $case in
stream_render)
    size=$(wc -c < design.zvl)
    head -c $((size / 2)) design.zvl > cut.zvl
    expect_render_failure "ERROR READING FILE" cut.zvl
    for bytes in '\377\377\377\177' '\377\377\377\377' '\000\000\000\100'; do
        patched 24 "$bytes" huge.zvl
        expect_render_failure "ERROR READING FILE" huge.zvl
    done
    # Seeded, so a failure can be reproduced.
    awk 'BEGIN { srand(7); for (i = 0; i < 3000; i++) printf "%c", int(rand() * 256) }' > random.zvl
    expect_render_failure "ERROR READING FILE" random.zvl
    ;;
stream_dump)
    for bytes in '\377\377\377\177' '\377\377\377\377' '\000\000\000\100'; do
        patched 24 "$bytes" huge.zvl
        expect_failure "ERROR READING FILE" "$zorvel" dump huge.zvl
    done
    awk 'BEGIN { srand(11); for (i = 0; i < 3000; i++) printf "%c", int(rand() * 256) }' > random.zvl
    expect_failure "ERROR READING FILE" "$zorvel" dump random.zvl
    : > empty.zvl
    expect_failure "ERROR READING FILE" "$zorvel" dump empty.zvl
    ;;
field_name)
    # The design prints the field NAME; these sources lack it.
    printf 'CODE\n1\n' > other.csv
    expect_render_failure "INVALID FIELD NAME :NAME" "$data/render_design.json" --csv other.csv
    need sqlite3
    sqlite3 shop.db "CREATE TABLE items (CODE TEXT); INSERT INTO items VALUES ('A1');" || fail "sqlite3"
    expect_render_failure "INVALID FIELD NAME :NAME" "$data/render_design.json" --db sqlite:shop.db --master items
    ;;
missing_csv)
    expect_render_failure "CAN'T OPEN DATASET : nothing.csv" "$data/render_design.json" --csv nothing.csv
    ;;
ragged_csv)
    # The reader names the line where the bad record starts, counting the header as line 1.
    printf 'NAME,X\nA1,1\nA2,2,3\nA3,3\n' > more.csv
    expect_render_failure "INVALID CSV LINE : 3" "$data/render_design.json" --csv more.csv
    printf 'NAME,X\nA1,1\nA2,2\nA3\n' > fewer.csv
    expect_render_failure "INVALID CSV LINE : 4" "$data/render_design.json" --csv fewer.csv
    ;;
unreadable_picture)
    design() { # picture file
        cat > "$2" << EOF
{
  "Units": 0,
  "Measure": {"Width": 6000, "Height": 3500, "NuHor": 3, "NuVer": 7, "MarLeft": 500, "MarTop": 1000,
              "DiHor": 400, "DiVer": 400, "PaperWidth": 21000, "PaperHeight": 29700, "LabelName": "Pic"},
  "Elements": [
    {"Kind": 7, "ID": "Pic", "X1": 300, "Y1": 400, "X2": 2000, "Y2": 2000, "FileImage": "$1"}
  ]
}
EOF
    }
    # A 1 x 1 24-bit bitmap, which prints: the failures below come from the pictures alone.
    printf 'BM\072\000\000\000\000\000\000\000\066\000\000\000\050\000\000\000\001\000\000\000\001\000\000\000' > good.bmp
    printf '\001\000\030\000\000\000\000\000\004\000\000\000\023\013\000\000\023\013\000\000\000\000\000\000' >> good.bmp
    printf '\000\000\000\000\000\000\377\000' >> good.bmp
    design "$PWD/good.bmp" good.json
    "$zorvel" render good.json --out good.pdf 2> stderr.txt || fail "render with a good picture: $(cat stderr.txt)"
    [ -s good.pdf ] || fail "good.pdf missing"
    echo "not a picture" > notes.txt
    cp notes.txt notes.bmp
    for picture in notes.txt notes.bmp gone.bmp; do
        design "$PWD/$picture" bad.json
        expect_render_failure "INVALID FILE : $PWD/$picture" bad.json
        "$zorvel" convert bad.json bad.zvl 2> /dev/null || fail "convert $picture"
        expect_render_failure "INVALID FILE : $PWD/$picture" bad.zvl
        rm -f bad.json bad.zvl
    done
    ;;
database)
    expect_render_failure "CAN'T OPEN DATASET : render : NO FILE /nonexistent/dir/x.db" "$data/render_design.json" \
        --db sqlite:/nonexistent/dir/x.db --master items
    [ ! -e /nonexistent ] || fail "/nonexistent was made"
    expect_render_failure "UNKNOWN DATABASE DRIVER : nosuch" "$data/render_design.json" \
        --db nosuch://host/base --master items
    ;;
*)
    fail "unknown case $case"
    ;;
esac
exit 0
