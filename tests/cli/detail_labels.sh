# Sourced by the render tests: checks a PDF of tests/data/detail_design.json printed for the items
# A1 (stock S11, S12) and A2 (stock S21). Needs pdftotext and a `fail` function.
check_detail_labels() {
    pdftotext -bbox "$1" words.html || fail "pdftotext"
    sed -n 's/.*xMin="\([0-9.]*\)" yMin="\([0-9.]*\)".*>\(.*\)<\/word>.*/\3 \1 \2/p' words.html > words.txt
    # Label 1 spans x 5..65 mm, label 2 x 69..129 mm: each SKU lies in the label of its item.
    awk 'BEGIN { mm = 72 / 25.4 }
         { col = ($2 < 67 * mm) ? 1 : 2 }
         $1 ~ /^S1/ && col != 1 { print $1 " in label " col; bad = 1 }
         $1 ~ /^S2/ && col != 2 { print $1 " in label " col; bad = 1 }
         $1 ~ /^S/ { n++ }
         END { if (n != 3) { print n " stock rows"; bad = 1 } exit bad }' words.txt \
        || fail "words: $(cat words.txt)"
}
