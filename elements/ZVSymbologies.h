// The symbology table: one row per bar code type with its encoder, options, module and quiet zone.
#pragma once

#include "foundation/ZVTypes.h"

#include <QString>

#include <span>

namespace zorvel {

/// The values an option takes besides 0, which always means automatic; {0, 0} when it has none.
struct TZVOptionRange
{
    int Min = 0; ///< smallest value
    int Max = 0; ///< largest value
    /// True when the symbology has the option.
    constexpr bool Taken() const { return Max > 0; }
    /// True when `value` lies in the range.
    constexpr bool Holds(int value) const { return value >= Min && value <= Max; }
};

/// What content a symbology takes.
enum class TZVSymbolInput : std::uint8_t {
    Own,  ///< the characters Zorvel's own encoder checks
    Text, ///< text as libzint converts it for the symbology
    Utf8, ///< UTF-8 text, marked as such for scanners when it is not ASCII
    Gs1,  ///< GS1 element strings with the AIs in brackets
    Gtin, ///< the digits of a GTIN, with or without the check digit
};

/// Where EAN and UPC print the digits of the human-readable number: outside the bars on the left,
/// under the left and the right half, outside on the right. All 0: the text is centred.
struct TZVNumberSplit
{
    int Leading = 0; ///< digits before the bars
    int Left = 0; ///< digits under the left half
    int Right = 0; ///< digits under the right half
    int Trailing = 0; ///< digits after the bars
};

/// The facts of one symbology. Option values are as TZVBarCode stores them.
struct TZVSymbology
{
    TZVBar Type = EAN13; ///< the type this row describes
    const char* Name = ""; ///< the type's key, as the command line and the inspector spell it
    const char* Takes = ""; ///< what content and options it takes, for lists
    /// The ZPL II command that prints the symbology on a label printer; "" when it has none and a
    /// ZPL label carries the symbol as a graphic.
    const char* Zpl = "";
    /// libzint's symbol id; 0 when Zorvel encodes the symbology itself, below 0 for no symbology.
    int ZintId = 0;
    /// Matrix or stacked: rows of square modules of BarWidth (PDF417's rows are taller).
    bool Is2D = false;
    TZVSymbolInput Input = TZVSymbolInput::Own; ///< what content it takes
    TZVOptionRange Ecc; ///< EccLevel
    const char* EccLetters = nullptr; ///< the letters of the levels from 1, when levels have letters
    int EccBase = 1; ///< the level libzint and --ecc call the stored level 1
    TZVOptionRange Size; ///< SymbolSize: the version or size number as libzint numbers it
    int ZintSizeOption = 2; ///< which of libzint's option_2 and option_3 takes the size
    TZVOptionRange Columns; ///< data columns, libzint's option_2
    TZVOptionRange RectangularSizes; ///< the size numbers of rectangular symbols; when any, Rectangular
    bool EccOrSize = false; ///< the level and the size exclude each other
    int ModuleSize = 30; ///< the default narrow bar or module, model units (0.3 mm)
    TZVOptionRange Ratio{100, 600}; ///< wide-to-narrow ratio x 100 the bars are drawn with
    /// Blank modules its standard asks for left and right, and above and below (0 for linear
    /// symbols). Zorvel's own seven leave this to LeftMargin, a length of the design.
    /// @{
    int QuietX = 0;
    int QuietY = 0;
    /// @}
    TZVNumberSplit Number; ///< the digits' places under EAN and UPC bars
    /// Layouts before model units stored a ratio it never used; reading one starts from 2.0.
    bool LegacyRatio = false;
};

/// Every symbology, in the order and numbering of TZVBar.
ZORVEL_CORE_EXPORT std::span<const TZVSymbology> Symbologies();

/// The row of `type`; a value outside TZVBar gets a row that every encoder refuses.
ZORVEL_CORE_EXPORT const TZVSymbology& SymbologyOf(TZVBar type);

/// The largest value any symbology takes for `option` (such as &TZVSymbology::Ecc): what a design
/// stores.
ZORVEL_CORE_EXPORT int WidestOption(TZVOptionRange TZVSymbology::* option);

/// The names of the symbologies that take `option`, as a sentence lists them: "A, B and C".
ZORVEL_CORE_EXPORT QString NamesTaking(TZVOptionRange TZVSymbology::* option);

} // namespace zorvel
