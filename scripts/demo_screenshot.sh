#!/bin/sh
# Starts the built demo under a virtual X server and saves a picture of its main window:
#   scripts/demo_screenshot.sh [BUILD_DIR] [OUT_FILE] [-- demo options, e.g. --db URL]
# Builds nothing; the demo must be built already (build/demo/zorvel-demo).
set -eu
build=${1:-build}
out=$(realpath -m "${2:-demo_screenshot.png}")
[ $# -ge 1 ] && shift
[ $# -ge 1 ] && shift
[ "${1:-}" = "--" ] && shift
demo="$build/demo/zorvel-demo"
[ -x "$demo" ] || { echo "$demo is not built" >&2; exit 1; }
command -v xvfb-run > /dev/null || { echo "xvfb-run is not installed (package xvfb)" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
# Settings of this run stay out of the user's own configuration.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$config" xvfb-run -a -s "-screen 0 1280x900x24" \
    "$demo" --screenshot "$out" "$@"
echo "Screenshot: $out"
