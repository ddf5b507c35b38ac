// The libzint symbologies of the bar code element: what they accept, their options, and the one
// fill their modules are painted with.
#include "../support/PaintSupport.h"
#include "ElementTestSupport.h"
#include "elements/ZVBarCode.h"
#include "foundation/ZVError.h"

#include <algorithm>

using namespace zorvel;
using namespace zorvel::test;

namespace {

class ZintBarcode : public ElementTest
{
protected:
    ZintBarcode() : barcode(label)
    {
        barcode.SetX1(10);
        barcode.SetY1(20);
        barcode.SetBHeight(10);
    }

    TZVRecordingCanvas& paint(int target = ptPreviewPage)
    {
        recorder.canvas().Clear();
        barcode.Paint(recorder.canvas(), {0, 0}, target, 0);
        return recorder.canvas();
    }

    // The rectangles of the one FillRects call the symbol must be painted with.
    std::vector<TRect> paintedModules(int target = ptPreviewPage)
    {
        const auto fills = callsOf(paint(target), "FillRects");
        EXPECT_EQ(fills.size(), 1u);
        return fills.empty() ? std::vector<TRect>{} : rectsOf(*fills.front());
    }

    TZVBarCode barcode;
    RecordingModelCanvas recorder;
};

} // namespace

TEST_F(ZintBarcode, EachSymbologyTakesItsContentAndRefusesWhatItCannotCarry)
{
    struct Case
    {
        TZVBar type;
        QString valid;
        QString invalid; // and why it is
    };
    // GTIN-14 09501101530003: weights 3,1,3... from the right over 0950110153000 sum to 47 -> 3.
    // UPC-E 0123456 expands to UPC-A 01234500006, whose check digit is 5.
    const Case cases[] = {
        {QRCODE, "HELLO", QString(5000, 'A')},                     // over version 40's 4296
        {MICROQR, "HELLO", QString(40, 'A')},                      // over M4's 21
        {DATAMATRIX, "Grüße, 世界", QString(4000, 'x')},            // over 144 x 144's 1556 bytes
        {GS1DATAMATRIX, "(01)09501101530003", "(01)09501101530004"}, // check digit
        {PDF417, "HELLO", QString(3000, 'A')},                     // over 928 code words
        {AZTEC, "HELLO", QString(4000, 'A')},                      // over 32 layers
        {CODE128, "Hello 123", "世界"},                             // beyond ISO 8859-1
        {GS1128, "(01)09501101530003(17)261231(10)AB12", "(01)09501101530003(17)261331"}, // month 13
        {GS1128, "(00)095011015300000003", "(01)0950110153000"},    // AI (01) takes 14 digits
        {GS1128, "(10)AB12", "(10AB12"},                           // brackets
        {ITF14, "09501101530003", "09501101530004"},               // check digit
        {ITF14, "0950110153000", "095011015300A"},
        {DATABAR, "0950110153000", "09501101530004"},
        {DATABAR, "(01)09501101530003", "0950110153000X"},
        {DATABAREXP, "(01)09501101530003(10)AB12", "(01)09501101530004"},
        {CODE93, "HELLO-93", "世界"},
        {CODABAR, "A123456B", "123456"},                           // no start and stop letters
        {UPCE, "01234565", "01234566"},                            // check digit
        {UPCE, "0123456", "123"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QMetaEnum::fromType<TZVBar>().valueToKey(c.type));
        barcode.SetCodeType(c.type);
        barcode.SetBarCode(c.valid);
        EXPECT_EQ(barcode.EncodingError(), "") << c.valid.toStdString();
        barcode.SetBarCode(c.invalid);
        const QString error = barcode.EncodingError();
        EXPECT_TRUE(error.startsWith("INVALID BARCODE : " + MessageQuote(c.invalid) + " (")) << error.toStdString();
        EXPECT_TRUE(callsOf(paint(), "FillRects").empty()) << "refused content paints the placeholder";
        EXPECT_EQ(callsOf(recorder.canvas(), "LineTo").size(), 2u);
    }
    barcode.SetCodeType(EAN13);
    barcode.SetBarCode("590123412345");
    EXPECT_EQ(barcode.EncodingError(), "INVALID BARCODE : 590123412345");
}

TEST_F(ZintBarcode, OptionsChooseTheSymbolSize)
{
    struct Case
    {
        TZVBar type;
        QString content;
        int ecc, size, columns;
        bool rectangular;
        int columnsAcross, modulesDown; // fixed by the standards, not by the encoder
        bool valid = true;
    };
    // QR: "HELLO WORLD" is 11 alphanumerics, within version 1 (21 modules) at L (25) but not at H
    // (10), which takes version 2 (25). Micro QR M2 is 13 modules; Data Matrix: "HELLO" is five
    // code words, 12 x 12 square or 8 x 18 rectangle. Aztec full-range size 5 (one layer) is 19.
    // PDF417 is 17 modules per column plus 69 for the start, stop and row indicators, rows 3 high.
    const Case cases[] = {
        {QRCODE, "HELLO WORLD", 1, 0, 0, false, 21, 21},
        {QRCODE, "HELLO WORLD", 4, 0, 0, false, 25, 25},
        {QRCODE, "HELLO", 0, 3, 0, false, 29, 29},
        {QRCODE, "HELLO", 5, 0, 0, false, 0, 0, false},
        {QRCODE, "HELLO", 0, 41, 0, false, 0, 0, false},
        {MICROQR, "HELLO", 0, 2, 0, false, 13, 13},
        {MICROQR, "HELLO", 4, 0, 0, false, 0, 0, false}, // no level H
        {DATAMATRIX, "HELLO", 0, 0, 0, false, 12, 12},
        {DATAMATRIX, "HELLO", 0, 0, 0, true, 18, 8},
        {AZTEC, "HELLO", 0, 5, 0, false, 19, 19},
        {PDF417, "HELLO", 0, 0, 5, false, 154, 3 * 3},
    };
    barcode.SetBarWidth(1); // 100 model units a module
    barcode.SetQuietZone(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << QMetaEnum::fromType<TZVBar>().valueToKey(c.type) << " ecc " << c.ecc
                                        << " size " << c.size);
        barcode.SetCodeType(c.type);
        barcode.SetBarCode(c.content);
        barcode.SetEccLevel(c.ecc);
        barcode.SetSymbolSize(c.size);
        barcode.SetColumns(c.columns);
        barcode.SetRectangular(c.rectangular);
        EXPECT_EQ(barcode.EncodingError().isEmpty(), c.valid) << barcode.EncodingError().toStdString();
        if (!c.valid) continue;
        EXPECT_EQ(barcode.SymbolWidth(c.content), 100 * c.columnsAcross);
        EXPECT_EQ(barcode.SymbolHeight(), 100 * c.modulesDown);
    }
    // Kept within what the stream stores.
    barcode.SetEccLevel(12);
    barcode.SetSymbolSize(-1);
    barcode.SetColumns(31);
    EXPECT_EQ(barcode.EccLevel(), 9);
    EXPECT_EQ(barcode.SymbolSize(), 0);
    EXPECT_EQ(barcode.Columns(), 30);
}

// A choice the symbology cannot honour is refused, not changed: libzint would size an Aztec
// symbol by its size alone, a setter would clamp a size to what a design stores.
TEST_F(ZintBarcode, ChoicesTheSymbologyCannotHonourAreRefused)
{
    struct Case
    {
        TZVBar type;
        int size; // set before the choice
        const char* option;
        int value;
        const char* reason; // nullptr: honoured
        bool stored = false; // a design can hold the value: set anyway, the symbol is refused
    };
    const Case cases[] = {
        {PDF417, 0, "SymbolSize", 95, "Symbol size 95 out of range (3 to 90)"},
        {PDF417, 0, "SymbolSize", 90, nullptr},
        {PDF417, 0, "Columns", 31, "Number of columns 31 out of range (1 to 30)"},
        {QRCODE, 0, "SymbolSize", 41, "Symbol size 41 out of range (1 to 40)", true},
        {AZTEC, 5, "EccLevel", 2, "Error correction level and symbol size cannot both be set", true},
        {AZTEC, 0, "EccLevel", 2, nullptr},
        {DATAMATRIX, 3, "Rectangular", 1, "Symbol size 3 is square, not rectangular", true},
        {DATAMATRIX, 25, "Rectangular", 1, nullptr},
        // Options a symbology does not have are kept for another, within what a design stores.
        {CODE128, 0, "SymbolSize", 40, nullptr},
        {CODE128, 0, "SymbolSize", 95, "Symbol size 95 out of range (0 to 90)"},
        {CODE128, 0, "BarWidth", 95, nullptr},
    };
    barcode.SetBarCode("HELLO");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << QMetaEnum::fromType<TZVBar>().valueToKey(c.type) << " " << c.option << " "
                                        << c.value);
        barcode.SetCodeType(c.type);
        barcode.SetEccLevel(0);
        barcode.SetRectangular(false);
        barcode.SetColumns(0);
        barcode.SetSymbolSize(c.size);
        const QString expected = c.reason ? "INVALID BARCODE : HELLO (" + QString::fromLatin1(c.reason) + ")" : QString();
        EXPECT_EQ(barcode.PropertyRefusal(QString::fromLatin1(c.option), c.value), expected);
        // Set anyway (as a stream may have it), the symbol is refused with the same words.
        if (c.stored) {
            barcode.setProperty(c.option, c.value);
            EXPECT_EQ(barcode.EncodingError(), expected);
        }
    }
}

// Messages quote a content up to 60 characters, then an ellipsis: a long one (a whole file
// pasted, say) would make a line of megabytes.
TEST_F(ZintBarcode, MessagesCutALongContent)
{
    const QString emoji = QStringLiteral("\U0001F600");
    struct Case
    {
        const char* name;
        TZVBar type;
        QString content;
        QString quoted;
    };
    const Case cases[] = {
        {"linear", EAN13, QString(100'000, '1'), QString(60, '1') + QChar(0x2026)},
        {"libzint", QRCODE, QString(100'000, 'A'), QString(60, 'A') + QChar(0x2026)},
        {"no half characters", CODE39, "a" + emoji.repeated(40), "a" + emoji.repeated(29) + QChar(0x2026)},
        {"short", CODE39, QStringLiteral("abc"), QStringLiteral("abc")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        barcode.SetCodeType(c.type);
        barcode.SetBarCode(c.content);
        const QString error = barcode.EncodingError();
        EXPECT_TRUE(error.startsWith("INVALID BARCODE : " + c.quoted)) << error.toStdString();
        EXPECT_LT(error.size(), 200);
    }
}

// QR Code "HELLO" is version 1, 21 x 21. Row 6 of it is known whatever the data: the finder
// rows at both ends (columns 0-6 and 14-20), their light separators (7 and 13), and the timing
// pattern between them, dark at the even columns 8, 10 and 12.
// QR "HELLO" is version 1: 21 x 21 modules. Row 6 is the timing row: the finder rows (7 dark) at
// both ends, the separators light, modules 8..12 alternating from dark. The top-left finder's rows 1..5
// start with one dark module, and its rows 2..4 hold the dark 3 x 3 centre at columns 2..4: a box each.
TEST_F(ZintBarcode, MatrixModulesAreBoxesOfOneFillFromTheTopLeftCorner)
{
    barcode.SetCodeType(QRCODE);
    barcode.SetBarCode("HELLO");
    barcode.SetBarWidth(0.5f);
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "with quiet zone" : "without");
        barcode.SetQuietZone(quiet);
        const int origin = quiet ? 4 * 50 : 0;
        const int left = 1000 + origin;
        const int top = 2000 + origin;
        const std::vector<TRect> modules = paintedModules(ptEditor);
        int covered[21][21] = {};
        for (const TRect& r : modules) {
            ASSERT_TRUE((r.Left - left) % 50 == 0 && (r.Right - left) % 50 == 0 && (r.Top - top) % 50 == 0 &&
                        (r.Bottom - top) % 50 == 0);
            ASSERT_TRUE(r.Left >= left && r.Top >= top && r.Right <= left + 21 * 50 && r.Bottom <= top + 21 * 50);
            for (int y = (r.Top - top) / 50; y < (r.Bottom - top) / 50; ++y)
                for (int x = (r.Left - left) / 50; x < (r.Right - left) / 50; ++x)
                    ++covered[y][x];
        }
        QString rowSix;
        for (int x = 0; x < 21; ++x) {
            for (int y = 0; y < 21; ++y)
                ASSERT_LE(covered[y][x], 1) << "module painted twice: " << x << ", " << y;
            rowSix += covered[6][x] ? u'#' : u'.';
        }
        EXPECT_EQ(rowSix, "#######.#.#.#.#######");
        for (const TRect& box : {TRect{left, top + 50, left + 50, top + 6 * 50},
                                 TRect{left + 100, top + 100, left + 250, top + 250}})
            EXPECT_NE(std::find(modules.begin(), modules.end(), box), modules.end());
        const int side = 21 * 50 + 2 * origin;
        EXPECT_EQ(barcode.ModelRect(), (TRect{1000, 2000, 1000 + side, 2000 + side}));
    }
}

// Code 128 "Hello 123": start B (2 1 1 2 1 4), nine characters and the check character of 11
// modules each, stop (2 3 3 1 1 1 2): 134 modules after a quiet zone of 10.
TEST_F(ZintBarcode, LinearSymbolsKeepBarWidthBarHeightTheirTextAndTurn)
{
    barcode.SetCodeType(CODE128);
    barcode.SetBarCode("Hello 123");
    barcode.SetBarWidth(0.2f);
    const int first = 1000 + 10 * 20;
    const int end = first + 134 * 20;
    struct Case
    {
        int angle;
        std::vector<TRect> startBars;
        TRect lastBar;
    };
    // Turned counter-clockwise about the anchor (1000, 2000).
    const Case cases[] = {
        {0, {{first, 2000, first + 40, 3000}, {first + 60, 2000, first + 80, 3000}, {first + 120, 2000, first + 140, 3000}},
         {end - 40, 2000, end, 3000}},
        {90, {{1000, 1760, 2000, 1800}, {1000, 1720, 2000, 1740}, {1000, 1660, 2000, 1680}},
         {1000, 2000 - (end - 1000), 2000, 2000 - (end - 40 - 1000)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        barcode.SetAngle(c.angle);
        const std::vector<TRect> bars = paintedModules();
        ASSERT_GE(bars.size(), 4u);
        EXPECT_EQ(std::vector<TRect>(bars.begin(), bars.begin() + 3), c.startBars);
        EXPECT_EQ(bars.back(), c.lastBar);
        const auto texts = callsOf(recorder.canvas(), "ExtTextOut");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts.front()->Text, "Hello 123");
    }

    barcode.SetAngle(0);
    barcode.SetCodeType(GS1128);
    barcode.SetBarCode("(01)09501101530003(10)AB12");
    paintedModules();
    const auto texts = callsOf(recorder.canvas(), "ExtTextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts.front()->Text, "(01)09501101530003(10)AB12");
    barcode.SetShowNumber(false);
    paintedModules();
    EXPECT_TRUE(callsOf(recorder.canvas(), "ExtTextOut").empty());
}
