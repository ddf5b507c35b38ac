// Bar code painting: bar rectangles, guards, the number, rotation, the placeholder and field values.
#include "../support/PaintSupport.h"
#include "ElementTestSupport.h"
#include "elements/ZVBarCode.h"
#include "platform/ZVMemoryDataSet.h"

#include <QColor>

using namespace zorvel;
using namespace zorvel::test;

namespace {

// The EAN-13 example of the GS1 General Specifications, 5901234123457, at X1 = 1000, Y1 = 2000
// with 0.33 mm modules: every bar from its 95-module pattern (L/G/R digit sets, parity by the
// leading 5), worked out independently of the encoder: x = 1300 + 33 x module, right edge one
// unit short of the next module; guards reach 3/4 of the 3 mm number height (225) further down.
const std::vector<TRect> kEan13Bars{
    {1300, 2000, 1332, 3225}, {1366, 2000, 1398, 3225}, {1498, 2000, 1530, 3000}, {1564, 2000, 1629, 3000},
    {1663, 2000, 1695, 3000}, {1762, 2000, 1860, 3000}, {1894, 2000, 1959, 3000}, {2026, 2000, 2091, 3000},
    {2158, 2000, 2190, 3000}, {2257, 2000, 2322, 3000}, {2356, 2000, 2487, 3000}, {2521, 2000, 2553, 3000},
    {2620, 2000, 2718, 3000}, {2752, 2000, 2784, 3000}, {2818, 2000, 2850, 3225}, {2884, 2000, 2916, 3225},
    {2950, 2000, 3015, 3000}, {3082, 2000, 3147, 3000}, {3181, 2000, 3246, 3000}, {3280, 2000, 3345, 3000},
    {3412, 2000, 3444, 3000}, {3577, 2000, 3609, 3000}, {3643, 2000, 3675, 3000}, {3709, 2000, 3807, 3000},
    {3874, 2000, 3906, 3000}, {3973, 2000, 4071, 3000}, {4105, 2000, 4137, 3000}, {4237, 2000, 4269, 3000},
    {4336, 2000, 4368, 3225}, {4402, 2000, 4434, 3225}};

class BarcodePaint : public ElementTest
{
protected:
    BarcodePaint() : barcode(label)
    {
        barcode.SetX1(10);
        barcode.SetY1(20);
        barcode.SetCodeType(EAN13);
        barcode.SetChecksum(true);
        barcode.SetBarCode("590123412345");
        barcode.SetBarWidth(0.33f);
    }

    TZVRecordingCanvas& paint(int target = ptPreviewPage, int dataMode = 0)
    {
        recorder.canvas().Clear();
        barcode.Paint(recorder.canvas(), {0, 0}, target, dataMode);
        return recorder.canvas();
    }

    TZVBarCode barcode;
    RecordingModelCanvas recorder;
};

} // namespace

TEST_F(BarcodePaint, Ean13BarsAreOneFillOfTheStandardPattern)
{
    TZVRecordingCanvas& canvas = paint();
    const auto fills = callsOf(canvas, "FillRects");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(rectsOf(*fills[0]), kEan13Bars);
    EXPECT_EQ(barcode.PrintText(), "5901234123457");
    // Bars in the element's colour, no per-bar fills.
    EXPECT_TRUE(callsOf(canvas, "FillRect").empty());
}

TEST_F(BarcodePaint, NumberUnderEanAndUpcSitsUnderTheHalves)
{
    // The recorder measures every character 150 wide (half the 300 cell). Middles of the halves
    // and the symbol's end follow from the module counts: EAN-13/UPC-A 24, 71 and 95 modules
    // after the 3 mm margin, EAN-8 17, 50 and 67.
    struct Case
    {
        const char* name;
        TZVBar type;
        const char* content;
        int distance;
        std::vector<DrawnText> expected;
    };
    const Case cases[] = {
        {"EAN-13: the first digit ends two modules before the bars",
         EAN13,
         "590123412345",
         0,
         {{"5", {1084, 3000}}, {"901234", {1642, 3000}}, {"123457", {3193, 3000}}}},
        {"EAN-13 with 0.4 mm spacing: extents grow by the extra, all shift by it",
         EAN13,
         "590123412345",
         40,
         {{"5", {1084, 3000}}, {"901234", {1562, 3000}}, {"123457", {3113, 3000}}}},
        {"EAN-8: two groups of four", EAN8, "9638507", 0, {{"9638", {1561, 3000}}, {"5074", {2650, 3000}}}},
        {"UPC-A: each digit once, the first and the last outside the bars",
         UPCA,
         "03600029145",
         0,
         {{"0", {1084, 3000}}, {"36000", {1717, 3000}}, {"29145", {3268, 3000}}, {"2", {4501, 3000}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        barcode.SetCodeType(c.type);
        barcode.SetBarCode(c.content);
        barcode.SetDistance(c.distance / 100.0f);
        TZVRecordingCanvas& canvas = paint();
        EXPECT_EQ(textsOf(canvas), c.expected);
        EXPECT_EQ(canvas.Log("SetTextCharacterExtra"),
                  std::vector<std::string>{"SetTextCharacterExtra(" + std::to_string(c.distance) + ")"});
    }
}

TEST_F(BarcodePaint, Code39AndGs1NumbersAreCentredOnTheSymbol)
{
    struct Case
    {
        const char* name;
        TZVBar type;
        const char* content;
        bool checksum;
        int distance;
        const char* text;
        int x;
    };
    // Code 39 "88888" with the check character "/" (5 x 8 = 40): start/stop 2 x (3 wide + 6 narrow) and 6
    // characters of 3 wide + 6 narrow, 6 gaps, 0.30 and 0.90 mm: 8 x 450 + 7 x 30 = 3810, plus the
    // margins 4410, half 2205. GS1-128 C "1234": start, FNC1, 2 pairs, check, stop = 5 x 11 + 13
    // = 68 modules of 0.30 mm = 2040, plus 600, half 1320.
    const Case cases[] = {
        {"Code 39 with its check character (value 40)", CODE39, "88888", true, 0, "88888/", 1000 + 2205},
        {"Code 39 shifted by half the spacing", CODE39, "88888", true, 30, "88888/", 1000 + 2205 + 15},
        {"GS1-128 C", EAN128C, "1234", false, 0, "1234", 1000 + 1320},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        barcode.SetCodeType(c.type);
        barcode.SetFactor(c.type == CODE39 ? 3.0f : 2.0f);
        barcode.SetBarWidth(0.3f);
        barcode.SetBarCode(c.content);
        barcode.SetChecksum(c.checksum);
        barcode.SetDistance(c.distance / 100.0f);
        TZVRecordingCanvas& canvas = paint();
        EXPECT_EQ(textsOf(canvas), (std::vector<DrawnText>{{c.text, {c.x, 3000}}}));
        EXPECT_EQ(canvas.Log("SetTextAlign"), std::vector<std::string>{"SetTextAlign(6)"});
    }
}

TEST_F(BarcodePaint, WithoutTheNumberGuardsAreShortAndTheBoundsShrink)
{
    barcode.SetShowNumber(false);
    TZVRecordingCanvas& canvas = paint(ptEditor);
    const auto fills = callsOf(canvas, "FillRects");
    ASSERT_EQ(fills.size(), 1u);
    const std::vector<TRect> bars = rectsOf(*fills[0]);
    ASSERT_EQ(bars.size(), kEan13Bars.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        TRect expected = kEan13Bars[i];
        expected.Bottom = 3000;
        EXPECT_EQ(bars[i], expected) << "bar " << i;
    }
    EXPECT_TRUE(textsOf(canvas).empty());
    EXPECT_EQ(barcode.ModelRect(), (TRect{1000, 2000, 1000 + 3735, 3000}));
    EXPECT_EQ(barcode.X2(), 1000 + 3735);
    EXPECT_EQ(barcode.Y2(), 3000);
}

TEST_F(BarcodePaint, RotationTurnsBarsTextAndBoundsAboutTheAnchor)
{
    struct Case
    {
        int angle;
        TRect firstBar;
        DrawnText firstDigit;
        TRect modelRect;
    };
    // The first bar {1300, 2000, 1332, 3225} and the first digit's origin (1084, 3000) turned
    // counter-clockwise about (1000, 2000); the bounds 3735 x 1300 likewise.
    const Case cases[] = {
        {0, {1300, 2000, 1332, 3225}, {"5", {1084, 3000}}, {1000, 2000, 4735, 3300}},
        {90, {1000, 1668, 2225, 1700}, {"5", {2000, 1916}}, {1000, -1735, 2300, 2000}},
        {180, {668, 775, 700, 2000}, {"5", {916, 1000}}, {-2735, 700, 1000, 2000}},
        {270, {-225, 2300, 1000, 2332}, {"5", {0, 2084}}, {-300, 2000, 1000, 5735}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "angle " << c.angle);
        barcode.SetAngle(c.angle);
        TZVRecordingCanvas& canvas = paint(ptEditor);
        const auto fills = callsOf(canvas, "FillRects");
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(rectsOf(*fills[0]).front(), c.firstBar);
        ASSERT_FALSE(textsOf(canvas).empty());
        EXPECT_EQ(textsOf(canvas).front(), c.firstDigit);
        const auto fonts = callsOf(canvas, "SelectFont");
        ASSERT_EQ(fonts.size(), 1u);
        EXPECT_EQ(fonts[0]->Args.at(1), c.angle * 10); // escapement
        EXPECT_EQ(barcode.ModelRect(), c.modelRect);
    }
}

TEST_F(BarcodePaint, BackgroundFillsTheTurnedBoundsUnlessTransparent)
{
    barcode.SetTransparent(false);
    barcode.SetBackColor(0x00FFFF);
    barcode.SetAngle(90);
    TZVRecordingCanvas& canvas = paint();
    const auto fills = callsOf(canvas, "FillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0]->Args, (std::vector<int>{1000, -1735, 2300, 2000}));
}

TEST_F(BarcodePaint, InvalidContentDrawsTheCrossedPlaceholderAndResetsTheAngle)
{
    barcode.SetChecksum(false); // twelve digits then lack their check digit
    barcode.SetAngle(270);
    Forget();
    TZVRecordingCanvas& canvas = paint(ptEditor);
    EXPECT_EQ(barcode.Angle(), 0);
    EXPECT_TRUE(label.Modified());
    EXPECT_TRUE(callsOf(canvas, "FillRects").empty());
    EXPECT_EQ(canvas.Log("FillRect"), std::vector<std::string>{"FillRect(1000, 2000, 3000, 3000)"});
    const auto pens = callsOf(canvas, "SelectPen");
    ASSERT_FALSE(pens.empty());
    EXPECT_EQ(std::vector<int>(pens.back()->Args.begin(), pens.back()->Args.begin() + 3),
              (std::vector<int>{255, 10, psDot}));
    EXPECT_EQ(canvas.Log("LineTo"), (std::vector<std::string>{"LineTo(3000, 3000)", "LineTo(3000, 2000)"}));
    EXPECT_EQ(canvas.Log("MoveTo"), (std::vector<std::string>{"MoveTo(1000, 2000)", "MoveTo(1000, 3000)"}));
    EXPECT_EQ(barcode.ModelRect(), (TRect{1000, 2000, 3000, 3000}));
    EXPECT_EQ(barcode.ScreenRect(), (TRect{100, 200, 300, 300})); // 10 model units a pixel
}

TEST_F(BarcodePaint, FieldValuesReplaceTheContentOnlyWhenPrintingData)
{
    TZVMemoryDataSet data;
    data.AddField("Code", fkString);
    data.AppendRecord({"4006381333931"});
    data.Open();
    label.SetDataSet(&data);
    barcode.SetData(true);
    barcode.SetFieldName("Code");
    ASSERT_EQ(barcode.BoundField(), "Code");
    barcode.SetChecksum(false);
    barcode.SetBarCode("5901234123457");

    paint(ptPreviewPage, 1);
    EXPECT_EQ(barcode.PrintText(), "4006381333931");
    paint(ptPreviewPage, 0);
    EXPECT_EQ(barcode.PrintText(), "5901234123457");
    paint(ptEditor, 1);
    EXPECT_EQ(barcode.PrintText(), "5901234123457");
    label.SetDataSet(nullptr);
}

TEST_F(BarcodePaint, PrinterHonoursPrintButTheEditorAlwaysShows)
{
    barcode.SetPrint(false);
    EXPECT_TRUE(paint(ptPrinter).Calls().empty());
    EXPECT_TRUE(paint(ptPreviewPage).Calls().empty());
    EXPECT_FALSE(paint(ptEditor).Calls().empty());
}

TEST_F(BarcodePaint, RenderedBarsAndSpacesLandOnTheirPixels)
{
    // 254 dpi: ten model units a pixel. Points in the middle of the first bar, the space after
    // it, a guard bar below the normal bars, a normal bar's foot, and the unturned place of a
    // bar turned by 90 degrees.
    struct Case
    {
        const char* name;
        int angle;
        TPoint point;
        bool black;
    };
    const Case cases[] = {
        {"first guard bar", 0, {1316, 2500}, true},
        {"space after it", 0, {1349, 2500}, false},
        {"guard reaches into the number line", 0, {1316, 3150}, true},
        {"a normal bar ends at the bars' foot", 0, {1514, 3150}, false},
        {"first digit", 0, {1200, 3150}, true},
        {"left of the symbol", 0, {900, 2500}, false},
        {"turned first bar", 90, {1500, 1684}, true},
        {"turned first space", 90, {1500, 1650}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        barcode.SetAngle(c.angle);
        ModelImage image(6000, 4000);
        barcode.Paint(image.canvas(), {0, 0}, ptPreviewPage, 0);
        image.finish();
        if (std::string_view(c.name) == "first digit") {
            // Some ink of the digit "5" lies in its box 1084..1234 x 3000..3300.
            bool ink = false;
            for (int x = 1090; x < 1230 && !ink; x += 10)
                for (int y = 3010; y < 3290 && !ink; y += 10)
                    ink = qGray(image.pixelAtModel(x, y)) < 128;
            EXPECT_TRUE(ink);
            continue;
        }
        EXPECT_EQ(qGray(image.pixelAtModel(c.point.X, c.point.Y)) < 128, c.black);
    }
}
