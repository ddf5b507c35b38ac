// Symbology tables and the per-symbology encoders behind the bar code dispatch (internal to the library).
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QString>

#include <array>
#include <vector>

/// Symbology tables and per-symbology encoders behind the bar code functions; internal to the library.
namespace zorvel::barcode {

/// EAN/UPC: each digit is four module characters, space first in sets A and B, bar first in set C.
/// @{
ZORVEL_CORE_EXPORT extern const std::array<const char*, 10> kEanSetA;
ZORVEL_CORE_EXPORT extern const std::array<const char*, 10> kEanSetB;
ZORVEL_CORE_EXPORT extern const std::array<const char*, 10> kEanSetC;
/// @}
/// Sets ("A" or "B") of the six left-half digits of EAN-13, by its first digit.
ZORVEL_CORE_EXPORT extern const std::array<const char*, 10> kEan13Parity;

/// Start/end guard and centre guard, plain and with the extended bars.
/// @{
inline constexpr const char* kEanGuard = "505";
inline constexpr const char* kEanCentreGuard = "05050";
inline constexpr const char* kEanGuardExtended = "949";
inline constexpr const char* kEanCentreGuardExtended = "49494";
/// @}

/// EAN13, EAN8 or UPCA modules of a text of 13, 8 or 12 digits; empty for any other text.
QString EanModules(const QString& text, TZVBar type, bool extendedGuards);

/// One Code 39 character with its bar pattern and check value.
struct TZVCode39Entry
{
    char Char;           ///< the character encoded
    const char* Pattern; ///< nine elements, bar first: "5"/"6" narrow/wide bar, "0"/"1" narrow/wide space
    int Value;           ///< check value
};
/// The 43 data characters in value order, then the start/stop character "*".
ZORVEL_CORE_EXPORT extern const std::array<TZVCode39Entry, 44> kCode39;

/// Entry of `ch`, or nullptr when Code 39 has no such character.
const TZVCode39Entry* FindCode39(QChar ch);
/// Module string of a Code 39 text (start and stop characters added); unknown characters are left out.
QString Code39Modules(const QString& text);

/// Function codes in the character columns of the Code 128 table. They are negative so that no text
/// character can ever match one.
enum TZVCode128Function : int {
    fnFNC1 = -1,
    fnFNC2 = -2,
    fnFNC3 = -3,
    fnFNC4 = -4,
    fnShift = -5,
    fnCodeA = -6,
    fnCodeB = -7,
    fnCodeC = -8,
};

/// One Code 128 symbol value: its character in each code set and its bar pattern.
struct TZVCode128Entry
{
    int A;               ///< set-A character code, or a function code
    int B;               ///< set-B character code, or a function code
    int C;               ///< set-C digit pair as a number 0..99, or a function code
    const char* Pattern; ///< six widths in modules, bar first
};
/// Symbol values 0..102 in value order.
ZORVEL_CORE_EXPORT extern const std::array<TZVCode128Entry, 103> kCode128;

/// Values of the start symbols, of FNC1, and the modulus of the check value.
/// @{
inline constexpr int kCode128StartA = 103;
inline constexpr int kCode128StartB = 104;
inline constexpr int kCode128StartC = 105;
inline constexpr int kCode128Fnc1 = 102;
inline constexpr int kCode128Modulus = 103;
/// @}
/// Bar patterns of the start and stop symbols.
/// @{
inline constexpr const char* kCode128StartAPattern = "211412";
inline constexpr const char* kCode128StartBPattern = "211214";
inline constexpr const char* kCode128StartCPattern = "211232";
inline constexpr const char* kCode128StopPattern = "2331112";
/// @}

/// Symbol values of an EAN128A/B/C text in order: start, FNC1, data, check (the stop has no value).
ZORVEL_CORE_EXPORT std::vector<int> Code128Values(const QString& text, TZVBar type);
/// Module string of an EAN128A/B/C text, from Code128Values plus the stop.
QString Code128Modules(const QString& text, TZVBar type);

} // namespace zorvel::barcode
