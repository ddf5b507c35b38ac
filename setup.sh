#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds Zorvel, then starts the designer or runs the tests.
#   bash setup.sh demo   start the demo designer
#   bash setup.sh test   run the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-}
case "$mode" in
  demo|test) ;;
  *) echo "usage: bash setup.sh demo|test" >&2; exit 2 ;;
esac

packages=(
  build-essential cmake ninja-build time
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-svg-dev qt6-tools-dev libxkbcommon-dev
  libjpeg62-turbo-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core xvfb xdotool zbar-tools poppler-utils sqlite3 postgresql doxygen pkgconf
  libzint-dev libzxing-dev libcups2-dev libqpdf-dev
  cups cups-client cups-bsd cups-ipp-utils cups-ppdc printer-driver-cups-pdf ghostscript
)
# Node.js brings npm on this machine's image; Debian's own npm package conflicts with that one.
command -v npm > /dev/null 2>&1 || packages+=(nodejs npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

build=${ZORVEL_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2

if [ "$mode" = test ]; then
  # The independent ZPL renderer the tests read our printer code back with (MIT, offline).
  renderer="$build/tests/zpl-renderer"
  [ -f "$renderer/node_modules/zpl-renderer-js/package.json" ] ||
    npm install --silent --no-audit --no-fund --prefix "$renderer" zpl-renderer-js@3.4.0
  cd "$build"
  exec ctest --output-on-failure -j2
fi

# demo: the designer on its sample database; any further arguments go to it (--db URL).
shift
exec "$build/demo/zorvel-demo" "$@"
