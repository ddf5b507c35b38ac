#!/bin/sh
# Saves a picture of the designer and of every dialog, drawn by a real X server (Xvfb), for
# review: scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
# Builds nothing; the tool must be built already (build/tests/zorvel_screenshots).
set -eu
build=${1:-build}
out=$(realpath -m "${2:-screenshots}")
tool="$build/tests/zorvel_screenshots"
[ -x "$tool" ] || { echo "$tool is not built" >&2; exit 1; }
command -v xvfb-run > /dev/null || { echo "xvfb-run is not installed (package xvfb)" >&2; exit 1; }
# Settings of this run stay out of the user's own configuration.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$config" xvfb-run -a -s "-screen 0 1280x1024x24" "$tool" "$out"
echo "Screenshots in $out:"
ls "$out"
