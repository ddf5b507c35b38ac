#!/bin/sh
# A whole editing session in the demo, driven by real X input on a private X server: place a text
# and a bar code, move the text, undo, redo, delete the bar code, undo, undo and redo from the
# designs list, save, switch rows and back, quit, then read the stored design back from the database.
#   session.sh DEMO ZORVEL WORKDIR
set -eu
demo=$1
zorvel=$2
work=$3

for tool in Xvfb xdotool sqlite3; do
  command -v "$tool" >/dev/null || { echo "session: $tool is not installed (setup.sh installs it)"; exit 1; }
done
rm -rf "$work"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb

xvfb_pid=
demo_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

fail() {
  echo "session: $*"
  echo "--- demo output:"
  cat "$work/demo.log" 2>/dev/null || true
  exit 1
}

# Polls `condition` every tenth of a second for at most `tenths`.
wait_for() {
  what=$1 condition=$2 tenths=${3:-100}
  i=0
  until eval "$condition"; do
    i=$((i + 1))
    [ "$i" -lt "$tenths" ] || fail "timed out waiting for $what (title: \"$(xdotool getwindowname "${win:-0}" 2>/dev/null)\")"
    sleep 0.1
  done
}

# The server picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for "the X server" '[ -s "$work/display" ]'
export DISPLAY=":$(cat "$work/display")"

"$demo" --db "sqlite:$work/demo.db?mode=rwc" --settings "$work/demo.ini" >"$work/demo.log" 2>&1 &
demo_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name ' - ZORVEL_DEMO$' | head -n 1) ||
  fail "no demo window"
title() { xdotool getwindowname "$win" 2>/dev/null || true; }
wait_title() {
  expected=$1
  wait_for "the title \"$expected\"" '[ "$(title)" = "$expected" ]'
}
windows() { xdotool search --onlyvisible --pid "$demo_pid" 2>/dev/null | wc -l; }

wait_title "Printer label - ZORVEL_DEMO"
xdotool windowfocus --sync "$win"
# Points in the window: at 100 % the label's top left corner is near (34, 80), 3.78 pixels a mm.
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }

# Insert > the n-th draw tool, by the keyboard; each wait sees the menu open and close.
insert_tool() {
  base=$(windows)
  xdotool key alt+i
  wait_for "the Insert menu" '[ "$(windows)" -gt "$base" ]'
  [ "$1" -le 1 ] || xdotool key --repeat $(($1 - 1)) Down
  xdotool key Return
  wait_for "the Insert menu to close" '[ "$(windows)" -eq "$base" ]'
}

insert_tool 1
click 180 100
wait_title "Printer label* - ZORVEL_DEMO"
insert_tool 2
click 200 150

# Escape takes the selection tool; the text is selected, then dragged 60 pixels to the right in
# steps a hand would make.
xdotool key Escape
click 192 108
xdotool mousemove --window "$win" 192 108 mousedown 1
for x in 196 212 232 252; do
  sleep 0.05
  xdotool mousemove --window "$win" "$x" 108
done
xdotool mouseup 1
xdotool key ctrl+z
# Each state is saved and read back from the database until it shows.
stored() {
  sqlite3 "$work/demo.db" "SELECT writefile('$work/stored.zvl', FILE) FROM LABELS WHERE NAME = 'Printer label'" >/dev/null
  "$zorvel" dump "$work/stored.zvl" >"$work/stored.json" 2>/dev/null || return 1
  summary=$(awk '/^      "Kind": /{kind=$2} /^      "X1": /{x=$2} /^      "Text": /{print kind, x, $2}
                 /^      "ID": "Barcode/{print kind, x, "barcode"}' "$work/stored.json" | tr -d ',"')
  text_x=$(echo "$summary" | awk '$1 == 2 && $3 == "text" {print $2}')
  code_x=$(echo "$summary" | awk '$1 == 3 {print $2}')
}
save_and_expect() {
  xdotool key ctrl+s
  wait_for "$1" "stored && $2"
}
save_and_expect "the move undone" '[ -n "$code_x" ] && [ "${text_x:-0}" -lt "$code_x" ]'
xdotool key ctrl+shift+z
save_and_expect "the move done again" '[ -n "$code_x" ] && [ "${text_x:-0}" -gt "$code_x" ]'

# Delete the bar code after confirming, then take the deletion back.
click 270 175
base=$(windows)
xdotool key Delete
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^ZORVEL_DEMO$' | head -n 1) ||
  fail "no question before deleting"
xdotool windowfocus --sync "$box" key Return
wait_for "the question to close" '[ "$(windows)" -eq "$base" ]'
xdotool windowfocus --sync "$win"
save_and_expect "the bar code deleted" '[ -n "$text_x" ] && [ -z "$code_x" ]'
xdotool key ctrl+z
save_and_expect "the bar code back" '[ -n "$code_x" ] && [ "${text_x:-0}" -gt "$code_x" ]'
wait_title "Printer label - ZORVEL_DEMO"

# With the focus on the designs list (a click on the row shown), the keys still undo and redo:
# Ctrl+Y as well as Ctrl+Shift+Z, though the platform binds only the second.
click 60 664
xdotool key ctrl+z
save_and_expect "the move undone from the list" '[ -n "$code_x" ] && [ "${text_x:-0}" -lt "$code_x" ]'
xdotool key ctrl+y
save_and_expect "the move redone by Ctrl+Y" '[ -n "$code_x" ] && [ "${text_x:-0}" -gt "$code_x" ]'
wait_title "Printer label - ZORVEL_DEMO"

click 60 684
wait_title "Employee badge - ZORVEL_DEMO"
click 60 664
wait_title "Printer label - ZORVEL_DEMO"
xdotool key ctrl+q
wait_for "the demo to quit" '! kill -0 "$demo_pid" 2>/dev/null'
demo_pid=

# The stored design: the sample's image, three texts, line and table, plus the new text and bar
# code, the text moved right of the bar code's left edge.
stored || fail "the stored design does not read back"
kinds=$(grep '^      "Kind": ' "$work/stored.json" | tr -d ' ,"' | sort | uniq -c | tr -s ' ' | tr '\n' ';')
[ "$kinds" = " 1 Kind:1; 4 Kind:2; 1 Kind:3; 1 Kind:7; 1 Kind:9;" ] || fail "stored elements: $kinds"
[ -n "$code_x" ] && [ "${text_x:-0}" -gt "$code_x" ] || fail "text and bar code: $summary"
echo "session: 1 passed, 0 failed"
