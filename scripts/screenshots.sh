#!/bin/sh
# Saves a picture of the designer and of every dialog, drawn by a real X server (Xvfb), for
# review: scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -eu
build=${1:-build}
out=$(realpath -m "${2:-screenshots}")
mkdir -p "$out"
command -v xvfb-run > /dev/null || { echo "xvfb-run is not installed (package xvfb)" >&2; exit 1; }
for suite in test_screenshots test_label_props test_preview_dialogs test_element_dialogs; do
    ZORVEL_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$build/tests/$suite" --gtest_filter='*Screenshot*:*Grabbed*:Screenshots.*'
done
echo "Screenshots in $out:"
ls "$out"
