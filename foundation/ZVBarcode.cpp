// Bar code dispatch by symbology, the module alphabet's widths and the EAN/UPC number placement.
#include "foundation/ZVBarcode.h"

#include "foundation/ZVBarcodeTables.h"
#include "foundation/ZVUtils.h"

#include <cstdint>

namespace zorvel {

namespace {

// Digits before the check digit of the fixed-length symbologies.
constexpr int kEan13Data = 12;
constexpr int kEan8Data = 7;
constexpr int kUpcaData = 11;

// Floor division for a positive divisor.
std::int64_t floorDiv(std::int64_t n, std::int64_t d)
{
    const std::int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// n / d rounded to nearest, ties to the even neighbour, for a positive divisor.
std::int64_t roundDivEven(std::int64_t n, std::int64_t d)
{
    const std::int64_t q = floorDiv(n, d);
    const std::int64_t twiceRest = 2 * (n - q * d);
    if (twiceRest > d || (twiceRest == d && q % 2 != 0))
        return q + 1;
    return q;
}

// The data digits of a fixed-length symbology with their check digit. A content that already has the
// full length loses its last digit, which is recomputed.
QString withEanCheck(const QString& content, int dataLength)
{
    const QString data =
        content.size() == dataLength + 1 ? content.left(dataLength) : PadZeros(content, dataLength);
    return EanCheckDigit(data);
}

bool isValidFixedLength(const QString& content, int fullLength, bool checksum)
{
    if (!IsAllDigits(content))
        return false;
    return checksum ? content.size() <= fullLength : content.size() == fullLength;
}

} // namespace

TZVModuleKind ModuleKind(QChar module)
{
    const char16_t m = module.unicode();
    if (m >= u'5' && m <= u'8')
        return TZVModuleKind::Bar;
    if (m == u'9')
        return TZVModuleKind::ExtendedBar;
    if (m >= u'A' && m <= u'D')
        return TZVModuleKind::ShortBar;
    return TZVModuleKind::Space;
}

int TZVBarWidths::Of(QChar module) const
{
    const char16_t m = module.unicode();
    if (m >= u'0' && m <= u'3')
        return W[m - u'0'];
    if (m >= u'5' && m <= u'8')
        return W[m - u'5'];
    if (m >= u'A' && m <= u'D')
        return W[m - u'A'];
    if (m == u'4' || m == u'9')
        return W[0];
    return 0;
}

TZVBarWidths BarWidths(int w0, int factor100, TZVHalfRound w2)
{
    const std::int64_t w1 = roundDivEven(std::int64_t(w0) * factor100, 100);
    const std::int64_t threeW1 = 3 * w1;
    // 3 x W1 / 2 is whole or ends in .5; away from zero that is the floor of the next half step.
    const std::int64_t halfUp = threeW1 >= 0 ? floorDiv(threeW1 + 1, 2) : -floorDiv(-threeW1 + 1, 2);
    TZVBarWidths widths;
    widths.W = {w0, SaturateToInt(w1),
                SaturateToInt(w2 == TZVHalfRound::Floor ? floorDiv(threeW1, 2) : halfUp),
                SaturateToInt(2 * w1)};
    return widths;
}

bool IsValidBarCode(const QString& content, TZVBar type, bool checksum)
{
    switch (type) {
    case EAN13: return isValidFixedLength(content, kEan13Data + 1, checksum);
    case EAN8: return isValidFixedLength(content, kEan8Data + 1, checksum);
    case UPCA: return isValidFixedLength(content, kUpcaData + 1, checksum);
    case CODE39:
        for (QChar ch : content) {
            if (!barcode::FindCode39(ch))
                return false;
        }
        return true;
    case EAN128C: return IsAllDigits(content);
    case EAN128A:
    case EAN128B: return true;
    }
    return false; // a type byte outside the enumeration, e.g. from a damaged stream
}

QString BarCodeText(const QString& content, TZVBar type, bool checksum)
{
    switch (type) {
    case EAN13: return checksum ? withEanCheck(content, kEan13Data) : content;
    case EAN8: return checksum ? withEanCheck(content, kEan8Data) : content;
    case UPCA: return withEanCheck(content, kUpcaData);
    case CODE39: return checksum ? content + Code39CheckChar(content) : content;
    case EAN128A:
    case EAN128B:
        // Content with non-digits has no EAN check digit: EanCheckDigit then appends nothing.
        return checksum ? EanCheckDigit(content) : content;
    case EAN128C: {
        QString text = checksum ? EanCheckDigit(content) : content;
        if (text.size() % 2 != 0)
            text.prepend(u'0');
        return text;
    }
    }
    return content;
}

QString BarCodeModules(const QString& text, TZVBar type, bool extendedGuards)
{
    switch (type) {
    case EAN13:
    case EAN8:
    case UPCA: return barcode::EanModules(text, type, extendedGuards);
    case CODE39: return barcode::Code39Modules(text);
    case EAN128A:
    case EAN128B:
    case EAN128C: return barcode::Code128Modules(text, type);
    }
    return {};
}

int ModuleOffset(const QString& modules, int count, const TZVBarWidths& widths, int leftMargin)
{
    // A stored bar width may be any int: the sum saturates rather than wraps.
    std::int64_t x = leftMargin;
    for (qsizetype i = 0; i < modules.size() && i < count; ++i)
        x += widths.Of(modules[i]);
    return SaturateToInt(x);
}

std::optional<TZVNumberPlacement> NumberPlacement(const QString& modules, TZVBar type, int w0, int factor100,
                                                  int leftMargin)
{
    // "After element N" is after the first N module characters. Guard 3 + three digits of 4 ends at the
    // middle of a six-digit half (15), the centre guard's 5 more and three right digits give 44, and
    // the end guard closes at 59; EAN-8's four-digit halves give 3 + 8 = 11, 24 + 8 = 32 and 43.
    struct Counts
    {
        int left, right, end;
    };
    Counts counts{};
    switch (type) {
    case EAN13:
    case UPCA: counts = {15, 44, 59}; break;
    case EAN8: counts = {11, 32, 43}; break;
    default: return std::nullopt;
    }
    const TZVBarWidths widths = BarWidths(w0, factor100, TZVHalfRound::Floor);
    return TZVNumberPlacement{ModuleOffset(modules, counts.left, widths, leftMargin),
                              ModuleOffset(modules, counts.right, widths, leftMargin),
                              ModuleOffset(modules, counts.end, widths, leftMargin)};
}

} // namespace zorvel
