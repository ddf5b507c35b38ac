// Linear bar code encoders: content validation, human-readable text, module strings and number placement.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QChar>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace zorvel {

/// A module string holds one character per bar or space, left to right:
/// \verbatim
///   "0".."3"  space of width class W0..W3      "4"  space of an extended guard (W0)
///   "5".."8"  bar of width class W0..W3        "9"  extended guard bar (W0), reaching into the number line
///   "A".."D"  short bar W0..W3, lower two fifths of the height (drawing only; no encoder emits them)
/// \endverbatim
enum class TZVModuleKind : std::uint8_t { Space, Bar, ExtendedBar, ShortBar };

/// Kind of a module character; characters outside the alphabet are spaces (of width 0, see TZVBarWidths).
ZORVEL_CORE_EXPORT TZVModuleKind ModuleKind(QChar module);

/// How W2 = 3 x W1 / 2 is made whole. The number placement floors it; the bar drawing rounds halves
/// away from zero. The two only differ when W1 is odd.
enum class TZVHalfRound : std::uint8_t { Floor, AwayFromZero };

/// The four width classes of a symbol, in the unit of W0.
struct ZORVEL_CORE_EXPORT TZVBarWidths
{
    std::array<int, 4> W{}; ///< widths of classes W0..W3

    /// Width of one module character; 0 for a character outside the alphabet.
    int Of(QChar module) const;
};

/// W1 = W0 x factor rounded to nearest (ties to even), W2 = 3 x W1 / 2 made whole by `w2`, W3 = 2 x W1.
/// `factor100` is the wide-to-narrow ratio x 100 as the element stores it, so the rounding is exact.
ZORVEL_CORE_EXPORT TZVBarWidths BarWidths(int w0, int factor100, TZVHalfRound w2);

/// Content rules of each symbology; an empty content passes the digit and character-set tests.
ZORVEL_CORE_EXPORT bool IsValidBarCode(const QString& content, TZVBar type, bool checksum);

/// The human-readable text with its check character; it is also what BarCodeModules encodes.
ZORVEL_CORE_EXPORT QString BarCodeText(const QString& content, TZVBar type, bool checksum);

/// The module string of `text` (a BarCodeText result). `extendedGuards` selects the long EAN/UPC guards
/// drawn when the number is shown. Text that validation would have refused never fails: EAN/UPC give an
/// empty string unless the text has exactly 13, 8 or 12 digits, Code 39 leaves out unknown characters and
/// Code 128 encodes them as a space.
ZORVEL_CORE_EXPORT QString BarCodeModules(const QString& text, TZVBar type, bool extendedGuards);

/// `digits` followed by their EAN check digit: weights 3, 1, 3, ... from the rightmost digit,
/// check = (10 - sum mod 10) mod 10. A text with any character other than '0'..'9' has no EAN check digit
/// and comes back unchanged.
ZORVEL_CORE_EXPORT QString EanCheckDigit(const QString& digits);

/// The Code 39 check character of `text`: the sum of the character values modulo 43. Characters
/// outside the Code 39 set add nothing.
ZORVEL_CORE_EXPORT QChar Code39CheckChar(const QString& text);

/// Where the number under an EAN or UPC symbol is set, as x offsets from the element's left edge.
struct TZVNumberPlacement
{
    int LeftMiddle = 0;  ///< middle of the left half
    int RightMiddle = 0; ///< middle of the right half
    int End = 0;         ///< right end of the bars (UPC-A sets its last digit after it)
};

/// leftMargin plus the widths of the first `count` characters of `modules` (fewer if the string is shorter).
int ModuleOffset(const QString& modules, int count, const TZVBarWidths& widths, int leftMargin);

/// Number placement for EAN13, EAN8 and UPCA module strings, with the floored W2; nullopt for other types.
ZORVEL_CORE_EXPORT std::optional<TZVNumberPlacement> NumberPlacement(const QString& modules, TZVBar type,
                                                                     int w0, int factor100, int leftMargin);

} // namespace zorvel
