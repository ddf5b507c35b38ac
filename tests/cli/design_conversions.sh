#!/bin/sh
# End-to-end checks of `zorvel dump` and `zorvel convert`: usage: design_conversions.sh ZORVEL DATA_DIR WORK_DIR CASE
set -u
zorvel=$1 data=$2 work=$3 case=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"

# Expects exit status 1, the library's message on stderr and no output file (nor a temporary one).
expect_failure() { # message output command...
    message=$1 output=$2
    shift 2
    "$@" >stdout.txt 2>stderr.txt
    status=$?
    [ "$status" -eq 1 ] || fail "exit status $status instead of 1: $*"
    grep -qF "$message" stderr.txt || fail "stderr lacks '$message': $(cat stderr.txt)"
    [ ! -e "$output" ] || fail "$output was written"
    leftovers=$(ls -A | grep -v -e '^stdout.txt$' -e '^stderr.txt$' -e '^design' -e '^cut' -e '^bad')
    [ -z "$leftovers" ] || fail "files left behind: $leftovers"
}

"$zorvel" convert "$data/design.json" design.zvl || fail "JSON -> stream"

case $case in
round_trip)
    "$zorvel" dump design.zvl > dumped.json || fail "dump"
    "$zorvel" convert dumped.json again.zvl || fail "JSON -> stream again"
    cmp design.zvl again.zvl || fail "stream -> JSON -> stream changed the bytes"
    "$zorvel" convert design.zvl converted.json || fail "stream -> JSON"
    cmp dumped.json converted.json || fail "dump and convert disagree"
    "$zorvel" convert design.zvl copy.zvl || fail "stream -> stream"
    cmp design.zvl copy.zvl || fail "stream -> stream changed the bytes"
    grep -q '"LabelName": "Shelf label"' dumped.json || fail "label name missing from the dump"
    grep -q '"Text": "Café crème 中"' dumped.json || fail "text not in UTF-8"
    ;;
damaged_stream)
    size=$(wc -c < design.zvl)
    head -c $((size - 7)) design.zvl > cut.zvl
    expect_failure "ERROR READING FILE" out.json "$zorvel" convert cut.zvl out.json
    expect_failure "ERROR READING FILE" out.zvl "$zorvel" convert cut.zvl out.zvl
    ;;
damaged_dump)
    head -c 100 design.zvl > cut.zvl
    expect_failure "ERROR READING FILE" none "$zorvel" dump cut.zvl
    [ ! -s stdout.txt ] || fail "dump printed something"
    ;;
unknown_key)
    sed 's/"Radio": 200/"Radius": 200/' "$data/design.json" > bad.json
    expect_failure "UNKNOWN KEY : Elements[3].Radius" out.zvl "$zorvel" convert bad.json out.zvl
    ;;
missing_input)
    expect_failure "CAN'T OPEN FILE : nothing.zvl" out.json "$zorvel" convert nothing.zvl out.json
    ;;
*)
    fail "unknown case $case"
    ;;
esac
exit 0
