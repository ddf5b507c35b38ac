// Code 39 per ISO/IEC 16388: character table, modulo 43 check character and module strings.
#include "foundation/ZVBarcode.h"
#include "foundation/ZVBarcodeTables.h"

namespace zorvel {

namespace barcode {

// "*" has no check value in the standard; 43 is congruent to 0, so a "*" in the content adds nothing
// and is never picked as the check character.
// clang-format off
const std::array<TZVCode39Entry, 44> kCode39 = {{
    /* 0 */   {'0', "505160605", 0}, {'1', "605150506", 1}, {'2', "506150506", 2}, {'3', "606150505", 3},
    /* 4 */   {'4', "505160506", 4}, {'5', "605160505", 5}, {'6', "506160505", 6}, {'7', "505150606", 7},
    /* 8 */   {'8', "605150605", 8}, {'9', "506150605", 9}, {'A', "605051506", 10}, {'B', "506051506", 11},
    /* 12 */  {'C', "606051505", 12}, {'D', "505061506", 13}, {'E', "605061505", 14}, {'F', "506061505", 15},
    /* 16 */  {'G', "505051606", 16}, {'H', "605051605", 17}, {'I', "506051605", 18}, {'J', "505061605", 19},
    /* 20 */  {'K', "605050516", 20}, {'L', "506050516", 21}, {'M', "606050515", 22}, {'N', "505060516", 23},
    /* 24 */  {'O', "605060515", 24}, {'P', "506060515", 25}, {'Q', "505050616", 26}, {'R', "605050615", 27},
    /* 28 */  {'S', "506050615", 28}, {'T', "505060615", 29}, {'U', "615050506", 30}, {'V', "516050506", 31},
    /* 32 */  {'W', "616050505", 32}, {'X', "515060506", 33}, {'Y', "615060505", 34}, {'Z', "516060505", 35},
    /* 36 */  {'-', "515050606", 36}, {'.', "615050605", 37}, {' ', "516050605", 38}, {'$', "515151505", 39},
    /* 40 */  {'/', "515150515", 40}, {'+', "515051515", 41}, {'%', "505151515", 42}, {'*', "515060605", 43},
}};
// clang-format on

namespace {

constexpr int kCheckModulus = 43;
const TZVCode39Entry& kStartStop = kCode39.back();

} // namespace

const TZVCode39Entry* FindCode39(QChar ch)
{
    for (const auto& entry : kCode39) {
        if (ch == QLatin1Char(entry.Char))
            return &entry;
    }
    return nullptr;
}

QString Code39Modules(const QString& text)
{
    // Every character is followed by a narrow inter-character gap, except the closing "*".
    QString modules = QLatin1StringView(kStartStop.Pattern) + u'0';
    for (QChar ch : text) {
        if (const auto* entry = FindCode39(ch))
            modules += QLatin1StringView(entry->Pattern) + u'0';
    }
    modules += QLatin1StringView(kStartStop.Pattern);
    return modules;
}

} // namespace barcode

QChar Code39CheckChar(const QString& text)
{
    int sum = 0;
    for (QChar ch : text) {
        if (const auto* entry = barcode::FindCode39(ch))
            sum += entry->Value;
    }
    const int check = sum % barcode::kCheckModulus;
    for (const auto& entry : barcode::kCode39) {
        if (entry.Value == check)
            return QLatin1Char(entry.Char);
    }
    return {}; // not reached: every value 0..42 is in the table
}

} // namespace zorvel
