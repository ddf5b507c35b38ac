// EAN-13, EAN-8 and UPC-A per ISO/IEC 15420: digit sets, EAN-13 parity, guards and the EAN check digit.
#include "foundation/ZVBarcode.h"
#include "foundation/ZVBarcodeTables.h"

namespace zorvel {

namespace barcode {

// Sets A, B and C are the standard's number sets A, B and C written as element widths: W0..W3 are
// 1..4 modules at the factor 2.0 the element uses for these types.
// clang-format off
const std::array<const char*, 10> kEanSetA = {
    /* 0-4 */ "2605", "1615", "1516", "0805", "0526",
    /* 5-9 */ "0625", "0508", "0706", "0607", "2506",
};
const std::array<const char*, 10> kEanSetB = {
    /* 0-4 */ "0517", "0616", "1606", "0535", "1705",
    /* 5-9 */ "0715", "3505", "1525", "2515", "1507",
};
const std::array<const char*, 10> kEanSetC = {
    /* 0-4 */ "7150", "6160", "6061", "5350", "5071",
    /* 5-9 */ "5170", "5053", "5251", "5152", "7051",
};
const std::array<const char*, 10> kEan13Parity = {
    /* 0-4 */ "AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
    /* 5-9 */ "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA",
};
// clang-format on

namespace {

// -1 for anything but '0'..'9', so digits of other scripts never index the tables.
int digitValue(QChar ch)
{
    const char16_t u = ch.unicode();
    return u >= u'0' && u <= u'9' ? u - u'0' : -1;
}

int symbolLength(TZVBar type)
{
    switch (type) {
    case EAN13: return 13;
    case EAN8: return 8;
    case UPCA: return 12;
    default: return -1;
    }
}

} // namespace

QString EanModules(const QString& text, TZVBar type, bool extendedGuards)
{
    const int length = symbolLength(type);
    if (length < 0 || text.size() != length)
        return {};
    std::array<int, 13> d{};
    for (int i = 0; i < length; ++i) {
        d[i] = digitValue(text[i]);
        if (d[i] < 0)
            return {};
    }

    // EAN-13 has no bars for its first digit: it is carried by the sets of the left half.
    const int first = type == EAN13 ? 1 : 0;
    const int half = (length - first) / 2;
    const char* parity = type == EAN13 ? kEan13Parity[d[0]] : "AAAAAA";
    const char* guard = extendedGuards ? kEanGuardExtended : kEanGuard;

    QString modules;
    modules.reserve(3 + 4 * half + 5 + 4 * half + 3);
    modules += QLatin1StringView(guard);
    for (int i = 0; i < half; ++i) {
        const auto& set = parity[i] == 'A' ? kEanSetA : kEanSetB;
        modules += QLatin1StringView(set[d[first + i]]);
    }
    modules += QLatin1StringView(extendedGuards ? kEanCentreGuardExtended : kEanCentreGuard);
    for (int i = first + half; i < length; ++i)
        modules += QLatin1StringView(kEanSetC[d[i]]);
    modules += QLatin1StringView(guard);
    return modules;
}

} // namespace barcode

QString EanCheckDigit(const QString& digits)
{
    int sum = 0;
    int weight = 3;
    for (auto it = digits.crbegin(); it != digits.crend(); ++it) {
        const int d = barcode::digitValue(*it);
        if (d < 0)
            return digits;
        sum += weight * d;
        weight = 4 - weight;
    }
    return digits + QChar(u'0' + (10 - sum % 10) % 10);
}

} // namespace zorvel
