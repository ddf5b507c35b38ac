// The rows of the symbology table; the quiet zones are the least each standard allows.
#include "elements/ZVSymbologies.h"

#include <zint.h>

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace zorvel {
namespace {

using enum TZVSymbolInput;

#define ZV_SYMBOLOGY(type) .Type = type, .Name = #type

constexpr TZVOptionRange kEanCode39Ratio{200, 300};

constexpr TZVSymbology kRows[] = {
    // ISO/IEC 15420: 11 modules before an EAN-13, 7 after.
    {ZV_SYMBOLOGY(EAN13), .Takes = "EAN-13: 13 digits, or 12 with --checksum", .Zpl = "^BE", .Ratio = kEanCode39Ratio,
     .QuietX = 11, .Number = {1, 6, 6, 0}, .LegacyRatio = true},
    // ISO/IEC 15420: 7 modules on either side.
    {ZV_SYMBOLOGY(EAN8), .Takes = "EAN-8: 8 digits, or 7 with --checksum", .Zpl = "^B8", .Ratio = kEanCode39Ratio, .QuietX = 7,
     .Number = {0, 4, 4, 0}, .LegacyRatio = true},
    // ISO/IEC 15420: 9 modules on either side.
    {ZV_SYMBOLOGY(UPCA), .Takes = "UPC-A: 12 digits, or 11 with --checksum", .Zpl = "^BU", .Ratio = kEanCode39Ratio, .QuietX = 9,
     .Number = {1, 5, 5, 1}, .LegacyRatio = true},
    // ISO/IEC 16388: 10 modules.
    {ZV_SYMBOLOGY(CODE39),
     .Takes = "Code 39: digits, capitals, space and - . $ / + %; --checksum adds the mod 43 character",
     .Zpl = "^B3", .Ratio = kEanCode39Ratio, .QuietX = 10},
    // ISO/IEC 15417: 10 modules, for every Code 128.
    {ZV_SYMBOLOGY(EAN128A), .Takes = "Code 128, code set A: capitals, digits, punctuation and control characters", .Zpl = "^BC",
     .QuietX = 10, .LegacyRatio = true},
    {ZV_SYMBOLOGY(EAN128B), .Takes = "Code 128, code set B: printable ASCII", .Zpl = "^BC", .QuietX = 10, .LegacyRatio = true},
    {ZV_SYMBOLOGY(EAN128C), .Takes = "Code 128, code set C: digits (a 0 goes before an odd count)", .Zpl = "^BC", .QuietX = 10},
    // ISO/IEC 18004: 4 modules around QR Code, 2 around Micro QR.
    {ZV_SYMBOLOGY(QRCODE), .Takes = "QR Code: UTF-8 text; --ecc L, M, Q or H, --size 1..40 (version)", .Zpl = "^BQ",
     .ZintId = BARCODE_QRCODE, .Is2D = true, .Input = Utf8, .Ecc = {1, 4}, .EccLetters = "LMQH", .Size = {1, 40},
     .QuietX = 4, .QuietY = 4},
    {ZV_SYMBOLOGY(MICROQR),
     .Takes = "Micro QR Code: short text (up to 35 digits); --ecc L, M or Q, --size 1..4 (M1..M4)",
     .ZintId = BARCODE_MICROQR, .Is2D = true, .Input = Text, .Ecc = {1, 4}, .EccLetters = "LMQH", .Size = {1, 4},
     .QuietX = 2, .QuietY = 2},
    // ISO/IEC 16022: 1 module; sizes 25..30 are libzint's rectangles.
    {ZV_SYMBOLOGY(DATAMATRIX), .Takes = "Data Matrix ECC 200: UTF-8 text; --size N (symbol size number)", .Zpl = "^BX",
     .ZintId = BARCODE_DATAMATRIX, .Is2D = true, .Input = Utf8, .Size = {1, 48}, .RectangularSizes = {25, 30},
     .QuietX = 1, .QuietY = 1},
    {ZV_SYMBOLOGY(GS1DATAMATRIX),
     .Takes = "GS1 Data Matrix: a GS1 element string, AIs in brackets: (01)09501101530003(10)AB12",
     .ZintId = BARCODE_DATAMATRIX, .Is2D = true, .Input = Gs1, .Size = {1, 48}, .RectangularSizes = {25, 30},
     .QuietX = 1, .QuietY = 1},
    // ISO/IEC 15438: 2 modules. Its size is the number of rows.
    {ZV_SYMBOLOGY(PDF417), .Takes = "PDF417: text; --ecc 0..8 (error correction level)", .Zpl = "^B7", .ZintId = BARCODE_PDF417,
     .Is2D = true, .Input = Utf8, .Ecc = {1, 9}, .EccBase = 0, .Size = {3, 90}, .ZintSizeOption = 3,
     .Columns = {1, 30}, .QuietX = 2, .QuietY = 2},
    // ISO/IEC 24778: Aztec Code needs none.
    {ZV_SYMBOLOGY(AZTEC), .Takes = "Aztec Code: UTF-8 text; --ecc 1..4 (10, 23, 36, 50 % correction), --size N", .Zpl = "^BO",
     .ZintId = BARCODE_AZTEC, .Is2D = true, .Input = Utf8, .Ecc = {1, 4}, .Size = {1, 36}, .EccOrSize = true},
    {ZV_SYMBOLOGY(CODE128), .Takes = "Code 128: ASCII text, code sets chosen automatically", .Zpl = "^BC",
     .ZintId = BARCODE_CODE128, .Input = Text, .QuietX = 10},
    // GS1 General Specifications: 10 modules around GS1-128 and ITF-14.
    {ZV_SYMBOLOGY(GS1128), .Takes = "GS1-128: a GS1 element string, AIs in brackets: (01)09501101530003(17)261231", .Zpl = "^BC",
     .ZintId = BARCODE_GS1_128, .Input = Gs1, .QuietX = 10},
    {ZV_SYMBOLOGY(ITF14), .Takes = "ITF-14: 13 digits of a GTIN-14, the check digit is added", .Zpl = "^B2",
     .ZintId = BARCODE_ITF14, .Input = Gtin, .QuietX = 10},
    // ISO/IEC 24724: DataBar needs none; one module keeps its first bar off a neighbour.
    {ZV_SYMBOLOGY(DATABAR), .Takes = "GS1 DataBar Omnidirectional: 13 digits of a GTIN, the check digit is added", .Zpl = "^BR",
     .ZintId = BARCODE_DBAR_OMN, .Input = Gtin, .QuietX = 1},
    {ZV_SYMBOLOGY(DATABAREXP), .Takes = "GS1 DataBar Expanded: a GS1 element string, AIs in brackets",
     .ZintId = BARCODE_DBAR_EXP, .Input = Gs1, .QuietX = 1},
    // AIM USS-93 and AIM USS-Codabar: 10 modules.
    {ZV_SYMBOLOGY(CODE93), .Takes = "Code 93: ASCII text", .Zpl = "^BA", .ZintId = BARCODE_CODE93, .Input = Text, .QuietX = 10},
    {ZV_SYMBOLOGY(CODABAR),
     .Takes = "Codabar: digits and - $ : / . + between start and stop characters A..D: A40156B",
     .Zpl = "^BK", .ZintId = BARCODE_CODABAR, .Input = Text, .QuietX = 10},
    // ISO/IEC 15420: 9 modules before a UPC-E (7 after).
    {ZV_SYMBOLOGY(UPCE), .Takes = "UPC-E: 7 digits (number system 0 or 1, then 6), the check digit is added", .Zpl = "^B9",
     .ZintId = BARCODE_UPCE, .Input = Text, .QuietX = 9},
};

#undef ZV_SYMBOLOGY

constexpr bool rowsInTypeOrder()
{
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (static_cast<std::size_t>(kRows[i].Type) != i) return false;
    return true;
}
static_assert(rowsInTypeOrder(), "a symbology's row sits at its TZVBar number");

constexpr TZVSymbology kNoSymbology{.Type = TZVBar(0xFF), .ZintId = -1};

} // namespace

std::span<const TZVSymbology> Symbologies()
{
    return kRows;
}

const TZVSymbology& SymbologyOf(TZVBar type)
{
    const auto index = static_cast<std::size_t>(type);
    return index < std::size(kRows) ? kRows[index] : kNoSymbology;
}

int WidestOption(TZVOptionRange TZVSymbology::* option)
{
    int widest = 0;
    for (const TZVSymbology& row : kRows)
        widest = std::max(widest, (row.*option).Max);
    return widest;
}

QString NamesTaking(TZVOptionRange TZVSymbology::* option)
{
    QStringList names;
    for (const TZVSymbology& row : kRows)
        if ((row.*option).Taken()) names << QString::fromLatin1(row.Name);
    const QString last = names.isEmpty() ? QString() : names.takeLast();
    return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

} // namespace zorvel
