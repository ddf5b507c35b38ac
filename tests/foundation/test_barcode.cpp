// Tests of the bar code encoders: symbology tables, validation, text, module strings and number placement.
#include "foundation/ZVBarcode.h"
#include "foundation/ZVBarcodeTables.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <vector>

namespace zorvel {
namespace {

using namespace barcode;

// Module string -> one '1' per bar module and '0' per space module, with W0..W3 = 1..4 modules.
std::string toBits(const char* modules)
{
    std::string bits;
    for (const char* m = modules; *m; ++m) {
        const int cls = (*m == '4' || *m == '9') ? 0 : (*m >= '5' ? *m - '5' : *m - '0');
        bits.append(cls + 1, *m >= '5' ? '1' : '0');
    }
    return bits;
}

TEST(BarcodeEan, DigitSetsAreTheNumberSetsOfTheStandard)
{
    // Number sets A, B, C and the EAN-13 parity rows (L/G for A/B) as printed in ISO/IEC 15420.
    const char* setA[] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                          "0110001", "0101111", "0111011", "0110111", "0001011"};
    const char* setB[] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                          "0111001", "0000101", "0010001", "0001001", "0010111"};
    const char* setC[] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                          "1001110", "1010000", "1000100", "1001000", "1110100"};
    const char* parity[] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                            "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};
    for (int d = 0; d < 10; ++d) {
        SCOPED_TRACE(d);
        EXPECT_EQ(toBits(kEanSetA[d]), setA[d]);
        EXPECT_EQ(toBits(kEanSetB[d]), setB[d]);
        EXPECT_EQ(toBits(kEanSetC[d]), setC[d]);
        const QString row = QString::fromLatin1(parity[d]).replace(u'L', u'A').replace(u'G', u'B');
        EXPECT_EQ(QString::fromLatin1(kEan13Parity[d]), row);
    }
}

TEST(BarcodeEan, ModulesOfReferenceSymbols)
{
    // Worked out by hand from the bit patterns above (101 guards, 01010 centre, runs of equal bits as
    // widths). 5901234123457: the EAN-13 example of GS1 literature; 036000291452: the usual
    // UPC-A example; 96385074: a published EAN-8 example.
    struct Case { const char* name; TZVBar type; const char* text; bool extended; const char* expected; };
    const Case cases[] = {
        {"EAN-13", EAN13, "5901234123457", false,
         "50525060517061615160805170505050616060615350507151705251505"},
        {"EAN-13 extended", EAN13, "5901234123457", true,
         "94925060517061615160805170549494616060615350507151705251949"},
        {"UPC-A", UPCA, "036000291452", false,
         "50526050805050826052605260505050606170516160507151706061505"},
        {"UPC-A extended", UPCA, "036000291452", true,
         "94926050805050826052605260549494606170516160507151706061949"},
        {"EAN-8", EAN8, "96385074", false, "5052506050808050607050505170715052515071505"},
        {"EAN-8 extended", EAN8, "00001236", true, "9492605260526052605494946160606153505053949"},
        {"EAN-13 one digit short", EAN13, "590123412345", false, ""},
        {"UPC-A with a letter", UPCA, "03600029145A", false, ""},
        {"EAN-8 Arabic-Indic digit", EAN8, "9638507\u0664", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString modules = BarCodeModules(QString::fromUtf8(c.text), c.type, c.extended);
        EXPECT_EQ(modules, QString::fromLatin1(c.expected));
    }
}

TEST(BarcodeCode39, TableFollowsTheStandard)
{
    const QString order = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*");
    std::set<std::string> patterns;
    for (int i = 0; i < int(kCode39.size()); ++i) {
        const std::string p = kCode39[i].Pattern;
        SCOPED_TRACE(p);
        EXPECT_EQ(QLatin1Char(kCode39[i].Char), order[i]);
        EXPECT_EQ(kCode39[i].Value, i);
        // Five bars and four spaces, three of them wide: two bars and a space, or three spaces ($ / + %).
        ASSERT_EQ(p.size(), 9u);
        int wideBars = 0, wideSpaces = 0;
        for (int k = 0; k < 9; ++k) {
            EXPECT_NE(std::string(k % 2 == 0 ? "56" : "01").find(p[k]), std::string::npos);
            wideBars += p[k] == '6';
            wideSpaces += p[k] == '1';
        }
        EXPECT_EQ(wideBars + wideSpaces, 3);
        EXPECT_EQ(wideSpaces == 3, i >= 39 && i <= 42);
        patterns.insert(p);
    }
    EXPECT_EQ(patterns.size(), 44u);
    // ISO/IEC 16388 character table, n/w bar-space sequences.
    EXPECT_STREQ(kCode39[0].Pattern, "505160605");  // "0" nnnwwnwnn
    EXPECT_STREQ(kCode39[10].Pattern, "605051506"); // "A" wnnnnwnnw
    EXPECT_STREQ(kCode39[39].Pattern, "515151505"); // "$" nwnwnwnnn
    EXPECT_STREQ(kCode39[43].Pattern, "515060605"); // "*" nwnnwnwnn
}

TEST(BarcodeCode39, CheckCharacterAndModules)
{
    // Sums of the standard's character values, by hand.
    struct Case { const char* text; QChar expected; };
    const Case cases[] = {
        {"ABC", u'X'},    // 10 + 11 + 12 = 33
        {"CODE39", u'W'}, // 12 + 24 + 13 + 14 + 3 + 9 = 75 -> 32
        {"$%", u' '},     // 39 + 42 = 81 -> 38
        {"Z8", u'0'},     // 43 -> 0
        {"A*", u'A'},     // "*" adds nothing
        {"abc", u'0'},    // characters outside the set are skipped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Code39CheckChar(QString::fromLatin1(c.text)), c.expected);
    }
    // "*" gap A gap B gap C gap X gap "*", patterns from the standard's table.
    EXPECT_EQ(BarCodeModules(QStringLiteral("ABCX"), CODE39, true),
              QStringLiteral("51506060506050515060506051506060605150505150605060515060605"));
    EXPECT_EQ(BarCodeModules(QString(), CODE39, false), QStringLiteral("5150606050515060605"));
}

TEST(BarcodeCode128, TableFollowsTheStandard)
{
    // ISO/IEC 15417: value 0 is space/space/00, 102 is FNC1 in all sets; starts and stop.
    EXPECT_EQ(kCode128[0].A, ' ');
    EXPECT_EQ(kCode128[0].B, ' ');
    EXPECT_STREQ(kCode128[0].Pattern, "212222");
    EXPECT_STREQ(kCode128[102].Pattern, "411131");
    EXPECT_STREQ(kCode128StartAPattern, "211412");
    EXPECT_STREQ(kCode128StartBPattern, "211214");
    EXPECT_STREQ(kCode128StartCPattern, "211232");
    EXPECT_STREQ(kCode128StopPattern, "2331112");

    // Set B is ASCII 32..127, set A ASCII 32..95 then NUL..US, set C the pairs 00..99; then functions.
    const int fnA[] = {fnFNC3, fnFNC2, fnShift, fnCodeC, fnCodeB, fnFNC4, fnFNC1};
    const int fnB[] = {fnFNC3, fnFNC2, fnShift, fnCodeC, fnFNC4, fnCodeA, fnFNC1};
    const int fnC[] = {fnCodeB, fnCodeA, fnFNC1};
    for (int v = 0; v <= 102; ++v) {
        SCOPED_TRACE(v);
        EXPECT_EQ(kCode128[v].A, v < 64 ? 32 + v : v < 96 ? v - 64 : fnA[v - 96]);
        EXPECT_EQ(kCode128[v].B, v < 96 ? 32 + v : fnB[v - 96]);
        EXPECT_EQ(kCode128[v].C, v < 100 ? v : fnC[v - 100]);
    }

    // A symbol character is 3 bars and 3 spaces of 1..4 modules, 11 in all, with an even number of bar
    // modules. Of the 108 such patterns the 103 values, 3 starts, the stop's first six elements and
    // 211133 (the stop read backwards) use each exactly once.
    std::multiset<std::string> used{kCode128StartAPattern, kCode128StartBPattern, kCode128StartCPattern,
                                    std::string(kCode128StopPattern, 6), "211133"};
    for (const auto& e : kCode128)
        used.insert(e.Pattern);
    std::multiset<std::string> all;
    for (int n = 0; n < 4096; ++n) {
        std::string p;
        int modules = 0, barModules = 0;
        for (int k = 0; k < 6; ++k) {
            const int w = (n >> (2 * k) & 3) + 1;
            p += char('0' + w);
            modules += w;
            barModules += k % 2 == 0 ? w : 0;
        }
        if (modules == 11 && barModules % 2 == 0)
            all.insert(p);
    }
    EXPECT_EQ(all.size(), 108u);
    EXPECT_EQ(used, all);
}

TEST(BarcodeCode128, SymbolValuesAndModules)
{
    // Start, FNC1, data, check = (start + 102 x 1 + sum of value x position) mod 103, by hand.
    struct Case { const char* name; TZVBar type; QString text; std::vector<int> expected; };
    const Case cases[] = {
        {"C pairs", EAN128C, QStringLiteral("012345"), {105, 102, 1, 23, 45, 46}}, // 458
        {"C odd digit dropped", EAN128C, QStringLiteral("0123456"), {105, 102, 1, 23, 45, 46}},
        {"C non-digit pair", EAN128C, QStringLiteral("1a"), {105, 102, 0, 1}},     // 207
        {"B lower case", EAN128B, QStringLiteral("ab"), {104, 102, 65, 66, 19}},   // 534
        {"A control char", EAN128A, QStringLiteral("\tA"), {103, 102, 0, 33, 98}}, // 304
        {"A lower case looked up in set B", EAN128A, QStringLiteral("a"), {103, 102, 65, 26}}, // 335
        {"B outside Latin-1", EAN128B, QStringLiteral("\u20ac"), {104, 102, 0, 0}},             // 206
        {"not Code 128", CODE39, QStringLiteral("A"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Code128Values(c.text, c.type), c.expected);
    }
    // 10000 x "~" (value 94): the plain weighted sum 206 + 94 x (2 + ... + 10001) overflows 32 bits.
    EXPECT_EQ(Code128Values(QString(10000, u'~'), EAN128B).back(),
              int((206 + 94 * (10001LL * 10002 / 2 - 1)) % 103));

    // Patterns of the first and fourth cases from the standard's table, bars as 5..8 and spaces as 0..3.
    EXPECT_EQ(BarCodeModules(QStringLiteral("012345"), EAN128C, true),
              QStringLiteral("6051718050706160617060705070625072606270506"));
    EXPECT_EQ(BarCodeModules(QStringLiteral("ab"), EAN128B, false),
              QStringLiteral("6051538050705150635153606150716270506"));
}

TEST(BarcodeDispatch, IsValidBarCode)
{
    struct Case { const char* name; TZVBar type; QString content; bool checksum; bool expected; };
    const Case cases[] = {
        {"EAN13 13 digits", EAN13, QStringLiteral("5901234123457"), false, true},
        {"EAN13 12 digits without checksum", EAN13, QStringLiteral("590123412345"), false, false},
        {"EAN13 12 digits with checksum", EAN13, QStringLiteral("590123412345"), true, true},
        {"EAN13 14 digits with checksum", EAN13, QStringLiteral("59012341234570"), true, false},
        {"EAN13 empty with checksum", EAN13, QString(), true, true},
        {"EAN13 empty without checksum", EAN13, QString(), false, false},
        {"EAN13 letter", EAN13, QStringLiteral("59012341234a"), true, false},
        {"EAN13 Arabic-Indic digits", EAN13, QStringLiteral("\u0665\u0669\u0660"), true, false},
        {"EAN8 7 digits without checksum", EAN8, QStringLiteral("9638507"), false, false},
        {"EAN8 7 digits with checksum", EAN8, QStringLiteral("9638507"), true, true},
        {"EAN8 8 digits", EAN8, QStringLiteral("96385074"), false, true},
        {"EAN8 9 digits with checksum", EAN8, QStringLiteral("963850741"), true, false},
        {"UPCA 12 digits", UPCA, QStringLiteral("036000291452"), false, true},
        {"UPCA 11 digits without checksum", UPCA, QStringLiteral("03600029145"), false, false},
        {"UPCA 13 digits with checksum", UPCA, QStringLiteral("0360002914520"), true, false},
        {"CODE39 whole set", CODE39, QStringLiteral("09AZ-. *$/+%"), false, true},
        {"CODE39 lower case", CODE39, QStringLiteral("abc"), false, false},
        {"CODE39 underscore", CODE39, QStringLiteral("A_B"), true, false},
        {"CODE39 empty", CODE39, QString(), false, true},
        {"EAN128C digits, odd length", EAN128C, QStringLiteral("12345"), false, true},
        {"EAN128C letter", EAN128C, QStringLiteral("12a"), true, false},
        {"EAN128C empty", EAN128C, QString(), false, true},
        {"EAN128A anything", EAN128A, QStringLiteral("a\tb \u00e9"), true, true},
        {"EAN128B anything", EAN128B, QStringLiteral("\u20ac"), false, true},
        {"type byte out of range", static_cast<TZVBar>(7), QStringLiteral("1"), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsValidBarCode(c.content, c.type, c.checksum), c.expected);
    }
}

TEST(BarcodeDispatch, BarCodeText)
{
    // Check digits by hand, weights 3, 1, 3, ... from the right (weighted sums in the comments).
    struct Case { const char* name; TZVBar type; const char* content; bool checksum; const char* expected; };
    const Case cases[] = {
        {"EAN13 12 digits", EAN13, "590123412345", true, "5901234123457"},
        {"EAN13 13 digits recomputed", EAN13, "5901234123450", true, "5901234123457"},
        {"EAN13 short padded", EAN13, "123", true, "0000000001236"},
        {"EAN13 without checksum", EAN13, "5901234123450", false, "5901234123450"},
        {"EAN8 short padded", EAN8, "123", true, "00001236"},             // 14
        {"EAN8 8 digits recomputed", EAN8, "96385070", true, "96385074"}, // 86
        {"UPCA recomputed without checksum", UPCA, "036000291450", false, "036000291452"},
        {"UPCA 11 digits", UPCA, "03600029145", true, "036000291452"},
        {"UPCA empty", UPCA, "", false, "000000000000"},
        {"CODE39 with checksum", CODE39, "ABC", true, "ABCX"},
        {"CODE39 without checksum", CODE39, "ABC", false, "ABC"},
        {"EAN128C odd made even", EAN128C, "12345", false, "012345"},
        {"EAN128C checksum makes it odd", EAN128C, "1234", true, "012348"},   // 22
        {"EAN128C checksum makes it even", EAN128C, "12345", true, "123457"}, // 33
        {"EAN128C empty with checksum", EAN128C, "", true, "00"},
        {"EAN128A digits with checksum", EAN128A, "12345", true, "123457"},
        {"EAN128A non-digits: no check digit", EAN128A, "AB12", true, "AB12"},
        {"EAN128B non-digits: no check digit", EAN128B, "ab", true, "ab"},
        {"EAN128B without checksum", EAN128B, "12", false, "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = BarCodeText(QString::fromLatin1(c.content), c.type, c.checksum);
        EXPECT_EQ(text, QString::fromLatin1(c.expected));
    }
    EXPECT_EQ(EanCheckDigit(QStringLiteral("12\u0663")), QStringLiteral("12\u0663"));
}

TEST(BarcodeWidths, ClassesAndRounding)
{
    constexpr int kMaxInt = std::numeric_limits<int>::max();
    struct Case { const char* name; int w0; int factor100; TZVHalfRound w2; std::array<int, 4> expected; };
    const Case cases[] = {
        {"factor 2", 30, 200, TZVHalfRound::Floor, {30, 60, 90, 120}},
        {"odd W1 floored", 25, 300, TZVHalfRound::Floor, {25, 75, 112, 150}},
        {"odd W1 rounded up", 25, 300, TZVHalfRound::AwayFromZero, {25, 75, 113, 150}},
        {"tie to even below", 25, 250, TZVHalfRound::Floor, {25, 62, 93, 124}},  // 62.5
        {"tie to even above", 27, 250, TZVHalfRound::Floor, {27, 68, 102, 136}}, // 67.5
        {"no tie", 33, 233, TZVHalfRound::AwayFromZero, {33, 77, 116, 154}},     // 76.89
        // A stored bar width near the int limit: 6e9, 9e9 and 12e9 saturate rather than wrap.
        {"huge", 2000000000, 300, TZVHalfRound::Floor, {2000000000, kMaxInt, kMaxInt, kMaxInt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BarWidths(c.w0, c.factor100, c.w2).W, c.expected);
    }
    // The alphabet: spaces 0-4, bars 5-8, extended bar 9, short bars A-D; others are zero-width spaces.
    const TZVBarWidths w{{10, 20, 30, 40}};
    const QString chars = QStringLiteral("034589ADE");
    const TZVModuleKind S = TZVModuleKind::Space, B = TZVModuleKind::Bar;
    const TZVModuleKind kinds[] = {S, S, S, B, B, TZVModuleKind::ExtendedBar, TZVModuleKind::ShortBar,
                                   TZVModuleKind::ShortBar, S};
    const int widths[] = {10, 40, 10, 10, 40, 10, 10, 40, 0};
    for (int i = 0; i < chars.size(); ++i) {
        SCOPED_TRACE(chars[i].toLatin1());
        EXPECT_EQ(ModuleKind(chars[i]), kinds[i]);
        EXPECT_EQ(w.Of(chars[i]), widths[i]);
    }
}

TEST(BarcodeWidths, NumberPlacement)
{
    // At factor 2 the halves' middles lie 24 and 71 modules into an EAN-13/UPC-A symbol of 95, and 17
    // and 50 into an EAN-8 symbol of 67. At factor 2.5 (W = 30, 75, 112, 150) the sums were added up by
    // hand over the reference module strings.
    struct Case { const char* name; TZVBar type; const char* text; int factor100; TZVNumberPlacement want; };
    const Case cases[] = {
        {"EAN-13", EAN13, "5901234123457", 200, {300 + 24 * 30, 300 + 71 * 30, 300 + 95 * 30}},
        {"UPC-A", UPCA, "036000291452", 200, {300 + 24 * 30, 300 + 71 * 30, 300 + 95 * 30}},
        {"EAN-8", EAN8, "00001236", 200, {300 + 17 * 30, 300 + 50 * 30, 300 + 67 * 30}},
        {"EAN-13 factor 2.5", EAN13, "5901234123457", 250, {1139, 2781, 3612}},
        {"UPC-A factor 2.5", UPCA, "036000291452", 250, {1117, 2765, 3604}},
        {"EAN-8 factor 2.5", EAN8, "00001236", 250, {884, 2038, 2608}},
    };
    for (const auto& c : cases) {
        for (bool extended : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (extended ? " extended" : ""));
            const QString modules = BarCodeModules(QString::fromLatin1(c.text), c.type, extended);
            const auto placement = NumberPlacement(modules, c.type, 30, c.factor100, 300);
            ASSERT_TRUE(placement.has_value());
            EXPECT_EQ(placement->LeftMiddle, c.want.LeftMiddle);
            EXPECT_EQ(placement->RightMiddle, c.want.RightMiddle);
            EXPECT_EQ(placement->End, c.want.End);
        }
    }
    EXPECT_FALSE(NumberPlacement(QStringLiteral("505"), CODE39, 30, 300, 300).has_value());
    // Offsets over huge stored widths (W = 1e9, 1.5e9, 2.25e9, 3e9) saturate rather than wrap.
    const QString modules = BarCodeModules(QStringLiteral("5901234123457"), EAN13, false);
    const auto huge = NumberPlacement(modules, EAN13, 1000000000, 150, 1000000000);
    ASSERT_TRUE(huge.has_value());
    EXPECT_EQ(huge->End, std::numeric_limits<int>::max());
}

} // namespace
} // namespace zorvel
