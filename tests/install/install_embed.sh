#!/bin/bash
# The installed package as applications use it: cmake --install into a temporary prefix, examples/embed
# and examples/print_from_data built there with find_package(Zorvel) and run offscreen, and a core-only
# program built with pkg-config.
#   install_embed.sh BUILD_DIR SOURCE_DIR CMAKE CXX [EXTRA_FLAGS]
set -u -o pipefail
build=$1 src=$2 cmake=$3 cxx=$4 flags=${5:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/zorvel-install.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

# shellcheck source=../support/test_status.sh
. "$(dirname "$0")/../support/test_status.sh"
# Nothing from the build or source tree may leak in: the installed tree alone must do.
unset LD_LIBRARY_PATH CMAKE_PREFIX_PATH PKG_CONFIG_PATH
export QT_QPA_PLATFORM=offscreen
for tool in ninja pkg-config pdftotext ldd; do
    command -v $tool > /dev/null || fail "$tool is not installed (packages ninja-build, pkgconf, poppler-utils)"
done

# ---- cmake --install ----------------------------------------------------------------------------
"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 || fail "install: $(cat "$work/install.log")"
libdir=$(dirname "$(find "$prefix" -name 'libzorvel_core.so.0' | head -n 1)")
[ -d "$libdir" ] || fail "no libzorvel_core.so.0 under $prefix"
for f in "$libdir/libzorvel_core.so" "$libdir/libzorvel_widgets.so.0" "$libdir/cmake/Zorvel/ZorvelConfig.cmake" \
         "$libdir/cmake/Zorvel/ZorvelConfigVersion.cmake" "$libdir/pkgconfig/zorvel-core.pc" \
         "$prefix/include/zorvel/foundation/ZVTypes.h" "$prefix/include/zorvel/platform/ZVPdfPrinter.h" \
         "$prefix/include/zorvel/document/ZVCustomLab.h" "$prefix/include/zorvel/elements/ZVTextElements.h" \
         "$prefix/include/zorvel/editor/ZVEditor.h" "$prefix/include/zorvel/inspector/ZVInspector.h" \
         "$prefix/include/zorvel/dialogs/ZVStandardDialogs.h" "$prefix/include/zorvel/printsupport/ZVQtPrinter.h" \
         "$prefix/include/zorvel/editor/ZVEditorDialogs.h" "$prefix/bin/zorvel" "$prefix/bin/zorvel-demo" \
         "$prefix/share/zorvel/labels.dls" "$prefix/share/zorvel/zorvel-es.ini"; do
    [ -e "$f" ] || fail "not installed: ${f#"$prefix"/}"
done
grep -rqF "$src" "$libdir/cmake/Zorvel" "$libdir/pkgconfig" && fail "the package names the source tree"

# The tool runs from the prefix, on the installed libraries.
out=$("$prefix/bin/zorvel" barcode --type EAN13 --content 590123412345 --checksum --text 2>&1) \
    || fail "installed zorvel: $out"
[ "$out" = 5901234123457 ] || fail "installed zorvel printed: $out"
# loads_from PROGRAM LIBRARY: the program loads the library from the prefix.
loads_from() {
    local path
    path=$(ldd "$1" | awk -v lib="$2" '$1 == lib { print $3 }')
    [ -n "$path" ] && [ "$(dirname "$(realpath "$path")")" = "$(realpath "$libdir")" ]
}
for lib in libzorvel_core.so.0 libzorvel_widgets.so.0; do
    loads_from "$prefix/bin/zorvel-demo" $lib || fail "zorvel-demo loads: $(ldd "$prefix/bin/zorvel-demo" | grep zorvel)"
done
loads_from "$prefix/bin/zorvel" libzorvel_core.so.0 || fail "zorvel loads: $(ldd "$prefix/bin/zorvel" | grep zorvel)"

# ---- examples/embed with find_package(Zorvel) ---------------------------------------------------
"$cmake" -S "$src/examples/embed" -B "$work/embed" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" > "$work/embed.log" 2>&1 \
    || fail "configure embed: $(cat "$work/embed.log")"
grep -q "^Zorvel_DIR:PATH=$libdir/cmake/Zorvel$" "$work/embed/CMakeCache.txt" \
    || fail "found another Zorvel: $(grep Zorvel_DIR "$work/embed/CMakeCache.txt")"
"$cmake" --build "$work/embed" > "$work/embed.log" 2>&1 || fail "build embed: $(cat "$work/embed.log")"

"$work/embed/embed" "$src/tests/data/design.json" "$work/design.pdf" 2> "$work/stderr.txt" \
    || fail "embed printed nothing: $(cat "$work/stderr.txt")"
[ "$(head -c 5 "$work/design.pdf")" = "%PDF-" ] || fail "design.pdf is not a PDF"
pdftotext "$work/design.pdf" "$work/design.txt" || fail "pdftotext"
grep -qF "EUR 4.95 / kg" "$work/design.txt" || fail "the design's text is not in the PDF: $(cat "$work/design.txt")"

# A refused design: the library's message, exit status 1, no PDF.
printf '{"Units": 0, "Bogus": 1}' > "$work/bad.json"
"$work/embed/embed" "$work/bad.json" "$work/bad.pdf" 2> "$work/stderr.txt"
status=$?
[ $status -eq 1 ] || fail "embed on a bad design exited with $status"
grep -qx "UNKNOWN KEY : Bogus" "$work/stderr.txt" || fail "embed said: $(cat "$work/stderr.txt")"
[ ! -e "$work/bad.pdf" ] || fail "a PDF of a refused design"

# ---- examples/print_from_data: the core library alone, one label per record ---------------------
example=$src/examples/print_from_data
{ "$cmake" -S "$example" -B "$work/records" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" \
      -DCMAKE_CXX_FLAGS="$flags" && "$cmake" --build "$work/records"; } > "$work/records.log" 2>&1 \
    || fail "build print_from_data: $(cat "$work/records.log")"
"$work/records/print_from_data" "$example/shelf.json" "$example/products.csv" "$work/records.pdf" \
    > "$work/records.txt" 2>&1 || fail "print_from_data: $(cat "$work/records.txt")"
grep -qx "3 labels printed" "$work/records.txt" || fail "print_from_data said: $(cat "$work/records.txt")"
pdftotext "$work/records.pdf" - | grep -qF "EUR 4.95 / kg" || fail "the last record is not in the PDF"

# ---- pkg-config and a core-only program ---------------------------------------------------------
export PKG_CONFIG_PATH=$libdir/pkgconfig
pkg-config --exists --print-errors zorvel-core || fail "pkg-config does not resolve zorvel-core"
cat > "$work/core.cpp" << 'EOF'
// A headless program on the core library alone: a label with a text, saved to a stream and read back.
#include <zorvel/document/ZVCustomLab.h>
#include <zorvel/document/ZVDesignJson.h>
#include <zorvel/document/ZVUndoHistory.h>
#include <zorvel/elements/ZVBarCode.h>
#include <zorvel/elements/ZVTextElements.h>
#include <zorvel/foundation/ZVStream.h>

#include <QGuiApplication>
#include <QPointer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    zorvel::TZVLab label;
    auto* text = new zorvel::TZVText(label);
    text->SetText("Hello from pkg-config");
    auto* qr = new zorvel::TZVBarCode(label);
    qr->SetCodeType(zorvel::QRCODE);
    qr->SetBarCode("https://zorvel.example/");
    if (!qr->EncodingError().isEmpty()) return 3;
    {
        zorvel::TZVChangeScope step(label, "Rename");
        text->SetText("Renamed");
    }
    if (label.UndoStack().undoText() != "Rename") return 4;
    // The element held across undo and redo stays the same object, its text put back each time.
    const QPointer<zorvel::TZVText> held(text);
    label.UndoStack().undo();
    if (held.isNull() || label.Elements().first() != text) return 5;
    if (text->Text() != "Hello from pkg-config") return 5;
    label.UndoStack().redo();
    if (held.isNull() || text->Text() != "Renamed") return 6;
    label.UndoStack().undo();
    zorvel::TZVMemoryStream stream;
    label.SaveToStream(stream);

    zorvel::TZVLab copy;
    stream.SetPosition(0);
    copy.LoadFromStream(stream);
    std::fputs(zorvel::DesignToJson(copy).constData(), stdout);
    return stream.Size() > 0 ? 0 : 1;
}
EOF
# shellcheck disable=SC2046,SC2086  # word splitting of the flags is meant
"$cxx" -std=c++20 -fPIC $flags "$work/core.cpp" -o "$work/core" $(pkg-config --cflags --libs zorvel-core) \
    -Wl,-rpath,"$(pkg-config --variable=libdir zorvel-core)" > "$work/core.log" 2>&1 \
    || fail "core program: $(cat "$work/core.log")"
"$work/core" > "$work/core.json" 2> "$work/stderr.txt" || fail "core program failed: $(cat "$work/stderr.txt")"
grep -qF '"Hello from pkg-config"' "$work/core.json" || fail "core program wrote: $(cat "$work/core.json")"
grep -qF '"https://zorvel.example/"' "$work/core.json" || fail "core program lost its QR Code: $(cat "$work/core.json")"

echo "install: prefix, embed example and pkg-config program all fine"
