// Code 128 / GS1-128 per ISO/IEC 15417: symbol value table, FNC1-led symbols with the modulo 103 check.
#include "foundation/ZVBarcode.h"
#include "foundation/ZVBarcodeTables.h"

namespace zorvel {

namespace barcode {

// Value, set-A character, set-B character, set-C pair, widths. Set A holds the control characters
// NUL..US at 64..95; set B ends with DEL at 95.
// clang-format off
const std::array<TZVCode128Entry, 103> kCode128 = {{
    /*   0 */ {' ', ' ', 0, "212222"},
    /*   1 */ {'!', '!', 1, "222122"},
    /*   2 */ {'"', '"', 2, "222221"},
    /*   3 */ {'#', '#', 3, "121223"},
    /*   4 */ {'$', '$', 4, "121322"},
    /*   5 */ {'%', '%', 5, "131222"},
    /*   6 */ {'&', '&', 6, "122213"},
    /*   7 */ {'\'', '\'', 7, "122312"},
    /*   8 */ {'(', '(', 8, "132212"},
    /*   9 */ {')', ')', 9, "221213"},
    /*  10 */ {'*', '*', 10, "221312"},
    /*  11 */ {'+', '+', 11, "231212"},
    /*  12 */ {',', ',', 12, "112232"},
    /*  13 */ {'-', '-', 13, "122132"},
    /*  14 */ {'.', '.', 14, "122231"},
    /*  15 */ {'/', '/', 15, "113222"},
    /*  16 */ {'0', '0', 16, "123122"},
    /*  17 */ {'1', '1', 17, "123221"},
    /*  18 */ {'2', '2', 18, "223211"},
    /*  19 */ {'3', '3', 19, "221132"},
    /*  20 */ {'4', '4', 20, "221231"},
    /*  21 */ {'5', '5', 21, "213212"},
    /*  22 */ {'6', '6', 22, "223112"},
    /*  23 */ {'7', '7', 23, "312131"},
    /*  24 */ {'8', '8', 24, "311222"},
    /*  25 */ {'9', '9', 25, "321122"},
    /*  26 */ {':', ':', 26, "321221"},
    /*  27 */ {';', ';', 27, "312212"},
    /*  28 */ {'<', '<', 28, "322112"},
    /*  29 */ {'=', '=', 29, "322211"},
    /*  30 */ {'>', '>', 30, "212123"},
    /*  31 */ {'?', '?', 31, "212321"},
    /*  32 */ {'@', '@', 32, "232121"},
    /*  33 */ {'A', 'A', 33, "111323"},
    /*  34 */ {'B', 'B', 34, "131123"},
    /*  35 */ {'C', 'C', 35, "131321"},
    /*  36 */ {'D', 'D', 36, "112313"},
    /*  37 */ {'E', 'E', 37, "132113"},
    /*  38 */ {'F', 'F', 38, "132311"},
    /*  39 */ {'G', 'G', 39, "211313"},
    /*  40 */ {'H', 'H', 40, "231113"},
    /*  41 */ {'I', 'I', 41, "231311"},
    /*  42 */ {'J', 'J', 42, "112133"},
    /*  43 */ {'K', 'K', 43, "112331"},
    /*  44 */ {'L', 'L', 44, "132131"},
    /*  45 */ {'M', 'M', 45, "113123"},
    /*  46 */ {'N', 'N', 46, "113321"},
    /*  47 */ {'O', 'O', 47, "133121"},
    /*  48 */ {'P', 'P', 48, "313121"},
    /*  49 */ {'Q', 'Q', 49, "211331"},
    /*  50 */ {'R', 'R', 50, "231131"},
    /*  51 */ {'S', 'S', 51, "213113"},
    /*  52 */ {'T', 'T', 52, "213311"},
    /*  53 */ {'U', 'U', 53, "213131"},
    /*  54 */ {'V', 'V', 54, "311123"},
    /*  55 */ {'W', 'W', 55, "311321"},
    /*  56 */ {'X', 'X', 56, "331121"},
    /*  57 */ {'Y', 'Y', 57, "312113"},
    /*  58 */ {'Z', 'Z', 58, "312311"},
    /*  59 */ {'[', '[', 59, "332111"},
    /*  60 */ {'\\', '\\', 60, "314111"},
    /*  61 */ {']', ']', 61, "221411"},
    /*  62 */ {'^', '^', 62, "431111"},
    /*  63 */ {'_', '_', 63, "111224"},
    /*  64 */ {0x00, '`', 64, "111422"},
    /*  65 */ {0x01, 'a', 65, "121124"},
    /*  66 */ {0x02, 'b', 66, "121421"},
    /*  67 */ {0x03, 'c', 67, "141122"},
    /*  68 */ {0x04, 'd', 68, "141221"},
    /*  69 */ {0x05, 'e', 69, "112214"},
    /*  70 */ {0x06, 'f', 70, "112412"},
    /*  71 */ {0x07, 'g', 71, "122114"},
    /*  72 */ {0x08, 'h', 72, "122411"},
    /*  73 */ {0x09, 'i', 73, "142112"},
    /*  74 */ {0x0A, 'j', 74, "142211"},
    /*  75 */ {0x0B, 'k', 75, "241211"},
    /*  76 */ {0x0C, 'l', 76, "221114"},
    /*  77 */ {0x0D, 'm', 77, "413111"},
    /*  78 */ {0x0E, 'n', 78, "241112"},
    /*  79 */ {0x0F, 'o', 79, "134111"},
    /*  80 */ {0x10, 'p', 80, "111242"},
    /*  81 */ {0x11, 'q', 81, "121142"},
    /*  82 */ {0x12, 'r', 82, "121241"},
    /*  83 */ {0x13, 's', 83, "114212"},
    /*  84 */ {0x14, 't', 84, "124112"},
    /*  85 */ {0x15, 'u', 85, "124211"},
    /*  86 */ {0x16, 'v', 86, "411212"},
    /*  87 */ {0x17, 'w', 87, "421112"},
    /*  88 */ {0x18, 'x', 88, "421211"},
    /*  89 */ {0x19, 'y', 89, "212141"},
    /*  90 */ {0x1A, 'z', 90, "214121"},
    /*  91 */ {0x1B, '{', 91, "412121"},
    /*  92 */ {0x1C, '|', 92, "111143"},
    /*  93 */ {0x1D, '}', 93, "111341"},
    /*  94 */ {0x1E, '~', 94, "131141"},
    /*  95 */ {0x1F, 0x7F, 95, "114113"},
    /*  96 */ {fnFNC3, fnFNC3, 96, "114311"},
    /*  97 */ {fnFNC2, fnFNC2, 97, "411113"},
    /*  98 */ {fnShift, fnShift, 98, "411311"},
    /*  99 */ {fnCodeC, fnCodeC, 99, "113141"},
    /* 100 */ {fnCodeB, fnFNC4, fnCodeB, "114131"},
    /* 101 */ {fnFNC4, fnCodeA, fnCodeA, "311141"},
    /* 102 */ {fnFNC1, fnFNC1, fnFNC1, "411131"},
}};
// clang-format on

namespace {

int startValue(TZVBar type)
{
    switch (type) {
    case EAN128A: return kCode128StartA;
    case EAN128B: return kCode128StartB;
    case EAN128C: return kCode128StartC;
    default: return -1;
    }
}

const char* valuePattern(int value)
{
    switch (value) {
    case kCode128StartA: return kCode128StartAPattern;
    case kCode128StartB: return kCode128StartBPattern;
    case kCode128StartC: return kCode128StartCPattern;
    default: return kCode128[value].Pattern;
    }
}

// Both start codes A and B look text up in the set-B column, so an EAN128A symbol carries lower-case
// letters as set-B values and control characters as spaces.
int setBValue(QChar ch)
{
    for (int v = 0; v < int(kCode128.size()); ++v) {
        if (kCode128[v].B == ch.unicode())
            return v;
    }
    return 0;
}

// A pair that is not two digits counts as "00".
int setCValue(QChar high, QChar low)
{
    const auto isDigit = [](QChar ch) { return ch >= u'0' && ch <= u'9'; };
    if (!isDigit(high) || !isDigit(low))
        return 0;
    const int pair = (high.unicode() - u'0') * 10 + (low.unicode() - u'0');
    for (int v = 0; v < int(kCode128.size()); ++v) {
        if (kCode128[v].C == pair)
            return v;
    }
    return 0;
}

} // namespace

std::vector<int> Code128Values(const QString& text, TZVBar type)
{
    const int start = startValue(type);
    if (start < 0)
        return {};

    std::vector<int> values{start, kCode128Fnc1};
    values.reserve(text.size() + 3);
    // Weighted sum kept reduced, so long texts cannot overflow it.
    int sum = (start + kCode128Fnc1 * 1) % kCode128Modulus;
    int position = 2;
    const auto add = [&](int value) {
        values.push_back(value);
        sum = (sum + value * (position++ % kCode128Modulus)) % kCode128Modulus;
    };
    if (type == EAN128C) {
        // An odd last digit is dropped; the text was made even before.
        for (qsizetype i = 0; i + 1 < text.size(); i += 2)
            add(setCValue(text[i], text[i + 1]));
    } else {
        for (QChar ch : text)
            add(setBValue(ch));
    }
    values.push_back(sum);
    return values;
}

QString Code128Modules(const QString& text, TZVBar type)
{
    const std::vector<int> values = Code128Values(text, type);
    if (values.empty())
        return {};

    QString widths;
    widths.reserve(6 * values.size() + 7);
    for (int value : values)
        widths += QLatin1StringView(valuePattern(value));
    widths += QLatin1StringView(kCode128StopPattern);

    // Widths alternate bar, space from the first element on; every pattern has an even length, so
    // the alternation runs unbroken through the whole string.
    for (qsizetype i = 0; i < widths.size(); ++i) {
        const int width = widths[i].unicode() - u'1'; // 0..3
        widths[i] = QChar(char16_t((i % 2 == 0 ? u'5' : u'0') + width));
    }
    return widths;
}

} // namespace barcode

} // namespace zorvel
