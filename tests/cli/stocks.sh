#!/bin/sh
# `zorvel stocks` and `zorvel render --stock`, end to end: usage: stocks.sh ZORVEL DATA_DIR WORK_DIR CASE
set -u
zorvel=$1 data=$2 work=$3 case=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"

# The user's catalogue goes to a folder of the test's own.
export XDG_DATA_HOME="$work/data" HOME="$work"
catalogue="$work/data/zorvel/labels.dls"

# A LibreOffice list with one 60 x 35 mm sheet of 2 x 2, the size of render_design.json's labels.
cat > labels.xml << 'XML'
<?xml version='1.0' encoding='UTF-8'?>
<manufacturers><manufacturer name="Test">
  <label id="L0"><name>T1 Four up</name><measure>S;6500;4000;6000;3500;1000;1000;2;2;21000;29700</measure></label>
</manufacturer></manufacturers>
XML

expect_refusal() { # message command...
    message=$1
    shift
    "$@" > stdout.txt 2> stderr.txt && fail "accepted: $*"
    grep -qF "$message" stderr.txt || fail "stderr lacks '$message': $(cat stderr.txt)"
}

case $case in
list)
    "$zorvel" stocks --search "avery l7160" --json > out.json 2> stderr.txt || fail "stocks: $(cat stderr.txt)"
    [ "$(grep -c '"Part"' out.json)" = 1 ] || fail "not one stock: $(cat out.json)"
    # Figures of the source file: 181.4 pt wide, 3 x 7 on A4.
    for field in '"LabelWidth": 63.994' '"LabelHeight": 38.1' '"Columns": 3' '"Rows": 7' '"PaperName": "A4"' \
                 '"Source": "gLabels"'; do
        grep -qF "$field" out.json || fail "no $field in $(cat out.json)"
    done
    "$zorvel" stocks --search "desmat a4st-3cd" | grep -q "staggered rows" || fail "a staggered sheet is not said"
    ;;
import)
    "$zorvel" stocks --import labels.xml > stdout.txt 2> stderr.txt || fail "import: $(cat stderr.txt)"
    grep -qx "1 stock imported into $catalogue" stdout.txt || fail "stdout: $(cat stdout.txt)"
    "$zorvel" stocks --search "test t1" --json | grep -qF "\"Source\": \"$work/labels.xml\"" || fail "not listed"
    # The imported sheet holds 4 labels: 5 take two pages, where the design's own 3 x 7 takes one.
    "$zorvel" render "$data/render_design.json" --stock "Test T1" --out out.pdf --count 5 2> stderr.txt ||
        fail "render: $(cat stderr.txt)"
    grep -qF "5 labels on 2 pages" stderr.txt || fail "stderr: $(cat stderr.txt)"
    ;;
refused)
    echo "<html><body>no labels</body></html>" > page.xml
    expect_refusal "The file $work/page.xml cannot be imported" "$zorvel" stocks --import page.xml
    [ ! -e "$work/data" ] || fail "something was written: $(find "$work/data")"
    expect_refusal "LABEL SIZE DIFFERS : the design's labels are 60 x 35 mm, Avery L7160's 63.99 x 38.1 mm" \
        "$zorvel" render "$data/render_design.json" --stock "Avery L7160" --out out.pdf
    expect_refusal "UNKNOWN STOCK : Nobody 1" "$zorvel" render "$data/render_design.json" --stock "Nobody 1" --out out.pdf
    [ ! -e out.pdf ] || fail "out.pdf written"
    ;;
*)
    exit 2
    ;;
esac
