// Tests of the QPainter and recording canvases: pixels of shapes, pens, text, clips, mapping, pictures.
#include "tests/support/TestApplication.h"
#include "foundation/ZVRecordingCanvas.h"
#include "platform/ZVQtCanvas.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

namespace zorvel {
namespace {

using TDraw = std::function<void(TZVCanvas&)>;

class CanvasTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureGuiApplication(); }
};

QImage blank(int width, int height, int dpi = 96)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}

QImage render(int width, int height, const TDraw& draw, int dpi = 96)
{
    QImage image = blank(width, height, dpi);
    TZVQtCanvas canvas(&image);
    draw(canvas);
    return image;
}

bool inked(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Bounding box of the dark pixels; null when there are none.
QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (inked(image, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

// One logical unit is 1/100 mm: 2540 units per inch.
void mapModelUnits(TZVCanvas& canvas)
{
    canvas.SetMapMode(mmAnisotropic);
    canvas.SetWindowExtEx(2540, 2540);
    canvas.SetViewportExtEx(canvas.GetDeviceCaps(dcLogPixelsX), canvas.GetDeviceCaps(dcLogPixelsY));
}

constexpr TZVColor kBlack = 0x000000;
constexpr TZVColor kRed = 0x0000FF;

TZVPen pen(int width, TZVPenStyle style = psSolid, TZVPenCap cap = pcRound)
{
    return {kBlack, width, style, cap, pjMiter};
}

TZVFont font(const QString& name, int height, int escapement = 0)
{
    TZVFont f;
    f.Name = name;
    f.Height = height;
    f.Escapement = escapement;
    return f;
}

TEST_F(CanvasTest, ColourValuesHoldRedInTheLowByte)
{
    EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(toQColor(0x80123456), QColor(0x56, 0x34, 0x12)); // the high byte is not a colour
    EXPECT_EQ(fromQColor(QColor(1, 2, 3)), 0x030201u);
}

// A box covers its left/top edge up to, not including, its right/bottom edge; lines leave out their last
// pixel.
TEST_F(CanvasTest, ShapesCoverTheirBoxWithoutTheRightAndBottomEdge)
{
    const TPoint corner[] = {{0, 0}, {8, 0}, {8, 6}};
    struct Case
    {
        const char* name;
        TDraw draw;
        QRect ink;
    };
    const Case cases[] = {
        {"Rectangle", [](TZVCanvas& c) { c.Rectangle(0, 0, 10, 10); }, QRect(0, 0, 10, 10)},
        {"Rectangle with swapped corners", [](TZVCanvas& c) { c.Rectangle(10, 10, 0, 0); },
         QRect(0, 0, 10, 10)},
        {"Ellipse", [](TZVCanvas& c) { c.Ellipse(2, 3, 12, 11); }, QRect(2, 3, 10, 8)},
        {"RoundRect", [](TZVCanvas& c) { c.RoundRect(0, 0, 12, 10, 4, 4); }, QRect(0, 0, 12, 10)},
        {"FillRect",
         [](TZVCanvas& c) {
             c.SelectBrush({kBlack, bsSolid});
             c.FillRect({2, 3, 5, 7});
         },
         QRect(2, 3, 3, 4)},
        {"Rectangle without pen fills its whole box",
         [](TZVCanvas& c) {
             c.SelectPen(pen(0, psClear));
             c.SelectBrush({kBlack, bsSolid});
             c.Rectangle(1, 1, 6, 6);
         },
         QRect(1, 1, 5, 5)},
        {"LineTo",
         [](TZVCanvas& c) {
             c.MoveTo(0, 5);
             c.LineTo(10, 5);
         },
         QRect(0, 5, 10, 1)},
        {"Polyline", [&](TZVCanvas& c) { c.Polyline(corner); }, QRect(0, 0, 9, 6)},
        {"wide line with square caps runs through its end pixels",
         [](TZVCanvas& c) {
             c.SelectPen(pen(3, psSolid, pcSquare));
             c.MoveTo(5, 5);
             c.LineTo(15, 5);
         },
         QRect(4, 4, 13, 3)},
        {"wide line with flat caps",
         [](TZVCanvas& c) {
             c.SelectPen(pen(3, psSolid, pcFlat));
             c.MoveTo(5, 5);
             c.LineTo(15, 5);
         },
         QRect(6, 4, 10, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(inkBox(render(24, 20, c.draw)), c.ink);
    }
}

TEST_F(CanvasTest, PieIsTheSectorFromTheFirstRayCounterclockwiseToTheSecond)
{
    const QImage image = render(20, 20, [](TZVCanvas& c) {
        c.SelectPen(pen(0, psClear));
        c.SelectBrush({kBlack, bsSolid});
        c.Pie(0, 0, 20, 20, 20, 10, 10, 0); // from 3 o'clock to 12 o'clock
    });
    EXPECT_TRUE(inked(image, 15, 5));
    EXPECT_FALSE(inked(image, 5, 5));
    EXPECT_FALSE(inked(image, 5, 15));
    EXPECT_FALSE(inked(image, 15, 15));
}

// A 5-pixel pen on Rectangle(10, 10, 30, 30): inside the box with psInsideFrame, centred on its border
// otherwise.
TEST_F(CanvasTest, InsideFramePensStayInsideTheShape)
{
    struct Case
    {
        const char* name;
        TZVPenStyle style;
        bool ellipse;
        QRect ink;
        int lastPenX; // on the row y = 20, the innermost pixel of the left outline
    };
    const Case cases[] = {
        {"rectangle, inside frame", psInsideFrame, false, QRect(10, 10, 20, 20), 14},
        {"rectangle, solid", psSolid, false, QRect(8, 8, 24, 24), 12},
        {"ellipse, inside frame", psInsideFrame, true, QRect(10, 10, 20, 20), 14},
        {"ellipse, solid", psSolid, true, QRect(8, 8, 24, 24), 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = render(40, 40, [&](TZVCanvas& canvas) {
            canvas.SelectPen(pen(5, c.style));
            canvas.SelectBrush({kRed, bsSolid});
            if (c.ellipse)
                canvas.Ellipse(10, 10, 30, 30);
            else
                canvas.Rectangle(10, 10, 30, 30);
        });
        EXPECT_EQ(inkBox(image), c.ink);
        EXPECT_TRUE(inked(image, c.ink.left(), 20));
        EXPECT_TRUE(inked(image, c.lastPenX, 20));
        EXPECT_EQ(image.pixel(c.lastPenX + 2, 20), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(20, 20), qRgb(255, 0, 0));
    }
}

// Pen widths are logical units, at least one device pixel; 0 is one pixel.
TEST_F(CanvasTest, PenWidthsScaleWithTheMapping)
{
    struct Case
    {
        const char* name;
        int width;
        int pixels;
    };
    const Case cases[] = {
        {"0 is one pixel", 0, 1},
        {"0.01 mm is at least one pixel", 1, 1},
        {"0.3 mm", 30, 3},
        {"0.5 mm", 50, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // 254 dpi: ten pixels per millimetre.
        const QImage image = render(
            120, 120,
            [&](TZVCanvas& canvas) {
                mapModelUnits(canvas);
                canvas.SelectPen(pen(c.width, psSolid, pcFlat));
                canvas.MoveTo(100, 505);
                canvas.LineTo(1000, 505);
            },
            254);
        const QRect ink = inkBox(image);
        EXPECT_EQ(ink.height(), c.pixels);
        EXPECT_LE(std::abs(ink.center().y() - 50), 1);
    }
}

TEST_F(CanvasTest, PenWiderThanQtDrawsStillCoversThePage)
{
    // 2e9 units are 2e8 pixels at 254 dpi; Qt refuses pens from 2^15 pixels on (a hairline then).
    const QImage image = render(
        120, 120,
        [](TZVCanvas& canvas) {
            mapModelUnits(canvas);
            canvas.SelectPen(pen(2000000000, psSolid, pcFlat));
            canvas.MoveTo(100, 505);
            canvas.LineTo(1000, 505);
        },
        254);
    EXPECT_EQ(inkBox(image).height(), 120);
}

TEST_F(CanvasTest, MappingMakesOneLogicalUnitAHundredthOfAMillimetre)
{
    const QImage image = render(
        300, 300,
        [](TZVCanvas& c) {
            mapModelUnits(c);
            c.SelectBrush({kBlack, bsSolid});
            c.FillRect({1000, 1000, 2000, 2500}); // 10 mm to 20 mm across, 10 mm to 25 mm down
        },
        254);
    EXPECT_EQ(inkBox(image), QRect(100, 100, 100, 150));
}

TEST_F(CanvasTest, LogicalAndDevicePointsConvertBothWays)
{
    struct Case
    {
        const char* name;
        TZVMapping mapping;
        TPoint logical;
        TPoint device;
        TPoint back; // DPtoLP(device)
    };
    const Case cases[] = {
        {"text mode keeps pixels", {}, {7, -3}, {7, -3}, {7, -3}},
        {"text mode ignores extents",
         {mmText, {}, {2540, 2540}, {}, {96, 96}},
         {100, 50},
         {100, 50},
         {100, 50}},
        {"origins shift", {mmText, {10, 20}, {1, 1}, {3, 4}, {1, 1}}, {10, 20}, {3, 4}, {10, 20}},
        {"model units at 300 dpi",
         {mmAnisotropic, {}, {2540, 2540}, {}, {300, 300}},
         {2540, 1270},
         {300, 150},
         {2540, 1270}},
        {"halves round up", {mmAnisotropic, {}, {2, 2}, {}, {1, 1}}, {3, -3}, {2, -1}, {4, -2}},
        {"anisotropic", {mmAnisotropic, {}, {100, 100}, {}, {50, 200}}, {10, 10}, {5, 20}, {10, 10}},
        {"flipped axis",
         {mmAnisotropic, {}, {100, -100}, {0, 400}, {100, 100}},
         {10, 100},
         {10, 300},
         {10, 100}},
        // A stored design can scale a length past any pixel: it stops at the farthest one.
        {"beyond any pixel",
         {mmAnisotropic, {}, {1, 1}, {}, {1000, 1000}},
         {2147483647, -2147483647 - 1},
         {2147483647, -2147483647 - 1},
         {2147484, -2147484}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.mapping.LPtoDP(c.logical), c.device);
        EXPECT_EQ(c.mapping.DPtoLP(c.device), c.back);
    }
}

TEST_F(CanvasTest, DeviceCapsComeFromTheDeviceOrTheCaller)
{
    QImage image = blank(600, 300, 300);
    {
        TZVQtCanvas canvas(&image);
        EXPECT_EQ(canvas.GetDeviceCaps(dcLogPixelsX), 300);
        EXPECT_EQ(canvas.GetDeviceCaps(dcHorzRes), 600);
        EXPECT_EQ(canvas.GetDeviceCaps(dcVertRes), 300);
        EXPECT_EQ(canvas.GetDeviceCaps(dcHorzSize), 51); // 50.8 mm
        EXPECT_EQ(canvas.GetDeviceCaps(dcVertSize), 25); // 25.4 mm
        EXPECT_EQ(canvas.GetDeviceCaps(dcPhysicalOffsetX), 0);
        EXPECT_EQ(canvas.GetDeviceCaps(dcPhysicalWidth), 600);
    }
    TZVDeviceCaps caps{600, 600, 4800, 6600, 50, 60, 4960, 7016};
    TZVQtCanvas canvas(&image, caps);
    EXPECT_EQ(canvas.GetDeviceCaps(dcLogPixelsY), 600);
    EXPECT_EQ(canvas.GetDeviceCaps(dcPhysicalOffsetX), 50);
    EXPECT_EQ(canvas.GetDeviceCaps(dcPhysicalOffsetY), 60);
    EXPECT_EQ(canvas.GetDeviceCaps(dcPhysicalHeight), 7016);
    EXPECT_EQ(canvas.GetDeviceCaps(dcHorzSize), 203);
}

TEST_F(CanvasTest, FillRectsCoverTheSamePixelsAsOneFillEach)
{
    const std::vector<TRect> bars = {{10, 5, 13, 40}, {15, 5, 16, 40}, {22, 40, 18, 5}, {30, 5, 30, 40}};
    const QImage together = render(50, 50, [&](TZVCanvas& c) {
        c.SelectBrush({kBlack, bsSolid});
        c.FillRects(bars);
    });
    const QImage apart = render(50, 50, [&](TZVCanvas& c) {
        c.SelectBrush({kBlack, bsSolid});
        for (const TRect& bar : bars)
            c.FillRect(bar);
    });
    EXPECT_EQ(together, apart);
    EXPECT_TRUE(inked(together, 12, 20));
    EXPECT_FALSE(inked(together, 13, 20));
    EXPECT_TRUE(inked(together, 18, 20));  // corners given right to left
    EXPECT_FALSE(inked(together, 30, 20)); // empty bar
    EXPECT_EQ(inkBox(together), QRect(10, 5, 12, 35));
}

// "HHH" drawn at (100, 40): its ink must sit in the cell that the alignment puts at the reference point.
TEST_F(CanvasTest, TextReferencePointFollowsTheAlignment)
{
    constexpr int kX = 100;
    constexpr int kY = 40;
    struct Case
    {
        const char* name;
        unsigned align;
    };
    const Case cases[] = {
        {"left top", taLeft | taTop},           {"right top", taRight | taTop},
        {"centre top", taCenter | taTop},       {"left bottom", taLeft | taBottom},
        {"left baseline", taLeft | taBaseline},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVSize extent;
        TZVTextMetric metric;
        const QImage image = render(200, 100, [&](TZVCanvas& canvas) {
            canvas.SelectFont(font("Arial", 40));
            canvas.SelectBrush({0, bsClear});
            canvas.SetTextAlign(c.align);
            canvas.ExtTextOut(kX, kY, "HHH");
            extent = canvas.GetTextExtentPoint("HHH");
            metric = canvas.GetTextMetrics();
        });
        const unsigned horizontal = c.align & taHorizontalMask;
        const unsigned vertical = c.align & taVerticalMask;
        const int cellLeft = kX - (horizontal == taRight    ? extent.cx
                                   : horizontal == taCenter ? extent.cx / 2
                                                            : 0);
        const int cellTop = kY - (vertical == taBottom     ? metric.Height
                                  : vertical == taBaseline ? metric.Ascent
                                                           : 0);
        const int baseline = cellTop + metric.Ascent;
        const QRect ink = inkBox(image);
        // H has small side bearings, a cap height under the ascent and no descender.
        EXPECT_GE(ink.left(), cellLeft);
        EXPECT_LE(ink.left(), cellLeft + extent.cy / 8);
        EXPECT_LT(ink.right(), cellLeft + extent.cx);
        EXPECT_GE(ink.right(), cellLeft + extent.cx - extent.cy / 8);
        EXPECT_GT(ink.top(), cellTop);
        EXPECT_LE(ink.top(), cellTop + metric.Height / 4);
        EXPECT_GE(ink.bottom(), baseline - 2);
        EXPECT_LE(ink.bottom(), baseline);
    }
}

TEST_F(CanvasTest, FontHeightIsTheCellHeightInLogicalUnits)
{
    struct Case
    {
        const char* name;
        TZVFont font;
        int cell;
    };
    const Case cases[] = {
        {"Arial 5 mm", font("Arial", 500), 500},
        {"Arial 10 pt", font("Arial", 353), 353},
        {"Times New Roman 3 mm bold",
         [] {
             TZVFont f = font("Times New Roman", 300);
             f.Bold = true;
             return f;
         }(),
         300},
        {"Tahoma 4 mm", font("Tahoma", 400), 400},
        {"negative height is the em: Arial em 1000", font("Arial", -1000), 1117},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = blank(10, 10, 600);
        TZVQtCanvas canvas(&image);
        mapModelUnits(canvas);
        canvas.SelectFont(c.font);
        const TZVTextMetric metric = canvas.GetTextMetrics();
        EXPECT_NEAR(metric.Height, c.cell, 1);
        EXPECT_EQ(metric.Ascent + metric.Descent, metric.Height);
        EXPECT_EQ(canvas.GetTextExtentPoint("Xy").cy, metric.Height);
    }
}

// Widths are logical units whatever the device: the layout of a label must not depend on where it goes.
TEST_F(CanvasTest, TextMeasuresTheSameOnEveryDevice)
{
    const QString text = QStringLiteral("Zorvel label 0123456789");
    const auto measure = [&](TZVCanvas& canvas) {
        mapModelUnits(canvas);
        canvas.SelectFont(font("Arial", 353));
        canvas.SetTextCharacterExtra(20);
        return canvas.GetTextExtentPoint(text);
    };
    QImage screen = blank(10, 10, 96);
    QImage fine = blank(10, 10, 1200);
    QPicture picture;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPdfWriter pdf(dir.filePath("measure.pdf"));

    TZVSize onScreen;
    {
        TZVQtCanvas canvas(&screen);
        onScreen = measure(canvas);
    }
    EXPECT_NEAR(onScreen.cy, 353, 1);
    EXPECT_GT(onScreen.cx, 23 * 20);
    struct Device
    {
        const char* name;
        QPaintDevice* device;
    };
    for (const Device& d :
         {Device{"1200 dpi image", &fine}, Device{"picture", &picture}, Device{"PDF", &pdf}}) {
        SCOPED_TRACE(d.name);
        TZVQtCanvas canvas(d.device);
        EXPECT_EQ(measure(canvas), onScreen);
    }
}

TEST_F(CanvasTest, CharacterExtraAndJustificationWidenText)
{
    const QString text = QStringLiteral("ab cd ef");
    QImage image = blank(10, 10);
    TZVQtCanvas canvas(&image);
    canvas.SelectFont(font("Arial", 40));
    const int plain = canvas.GetTextExtentPoint(text).cx;

    canvas.SetTextCharacterExtra(3);
    EXPECT_EQ(canvas.GetTextExtentPoint(text).cx, plain + 8 * 3);
    canvas.SetTextCharacterExtra(0);

    const int noBreak = canvas.GetTextExtentPoint("abcd").cx;
    canvas.SetTextJustification(10, 2);
    EXPECT_EQ(canvas.GetTextExtentPoint(text).cx, plain + 10);
    EXPECT_EQ(canvas.GetTextExtentPoint("abcd").cx, noBreak);
    canvas.SetTextJustification(0, 0);
    EXPECT_EQ(canvas.GetTextExtentPoint(text).cx, plain);

    // Drawn text follows the measure: the last word moves right by the justification.
    const auto lastInk = [&](int breakExtra) {
        QImage drawn = render(300, 60, [&](TZVCanvas& c) {
            c.SelectFont(font("Arial", 40));
            c.SelectBrush({0, bsClear});
            c.SetTextJustification(breakExtra, 2);
            c.ExtTextOut(10, 10, text);
        });
        return inkBox(drawn).right();
    };
    EXPECT_NEAR(lastInk(30) - lastInk(0), 30, 1);
}

// Drawn text is as wide as it measures at every resolution, spacing included.
TEST_F(CanvasTest, TextDrawsItsMeasuredWidthOnEveryResolution)
{
    const QString text = QStringLiteral("I I I") + QChar::LineSeparator + QStringLiteral(" I");
    for (int dpi : {96, 300, 1200}) {
        SCOPED_TRACE(dpi);
        TZVSize extent;
        int stem = 0; // ink width of one "I"
        const QImage image = render(
            dpi * 2, dpi / 2,
            [&](TZVCanvas& c) {
                mapModelUnits(c);
                c.SelectFont(font("Arial", 300));
                c.SelectBrush({0, bsClear});
                stem = c.LPtoDP(TPoint{c.GetTextExtentPoint("I").cx, 0}).X;
                c.SetTextCharacterExtra(100);
                c.SetTextJustification(150, 3);
                c.ExtTextOut(0, 0, text);
                extent = c.GetTextExtentPoint(text);
            },
            dpi);
        // From the first stem to the last: the whole advance but the last "I" and its extra.
        const double expected = (extent.cx - 100) * dpi / 2540.0 - stem;
        EXPECT_NEAR(inkBox(image).width(), expected, 2 + dpi / 100);
    }
}

// Underline and strike-out run under and through the whole text, spaces and extras included, however thin.
TEST_F(CanvasTest, TextDecorationsSpanTheWholeText)
{
    struct Case
    {
        const char* name;
        bool underline;
        int row; // below the cell top, in pixels of the 254-dpi image
    };
    // Liberation Sans 5 mm: baseline 40.5 pixels down; underline just under it, strike-out 13.5 above it.
    const Case cases[] = {{"underline", true, 42}, {"strike-out", false, 27}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVSize extent;
        const QImage image = render(
            400, 80,
            [&](TZVCanvas& canvas) {
                mapModelUnits(canvas);
                TZVFont f = font("Arial", 500);
                f.Underline = c.underline;
                f.StrikeOut = !c.underline;
                canvas.SelectFont(f);
                canvas.SelectBrush({0, bsClear});
                canvas.SetTextJustification(600, 2);
                canvas.ExtTextOut(100, 100, "ab cd ef");
                extent = canvas.GetTextExtentPoint("ab cd ef");
            },
            254);
        // The line's row is the one with the longest run of ink.
        int bestRow = -1;
        int bestCount = 0;
        for (int y = 0; y < image.height(); ++y) {
            int count = 0;
            for (int x = 0; x < image.width(); ++x)
                count += inked(image, x, y);
            if (count > bestCount) {
                bestCount = count;
                bestRow = y;
            }
        }
        EXPECT_NEAR(bestRow - 10, c.row, 2);
        EXPECT_NEAR(bestCount, extent.cx / 10, 2);
    }
}

// "HHHH" at (100, 100) turned by 0, 90, 180 and 270 degrees stays in its cell turned about the point.
TEST_F(CanvasTest, EscapementTurnsTextCounterclockwise)
{
    struct Case
    {
        const char* name;
        int escapement;
        bool upright; // the reading direction is horizontal
        int signX;    // side of the reference point where the ink lies
        int signY;
    };
    const Case cases[] = {
        {"0", 0, true, +1, +1},
        {"90 reads upwards", 900, false, +1, -1},
        {"180 reads right to left, upside down", 1800, true, -1, -1},
        {"270 reads downwards", 2700, false, -1, +1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVSize extent;
        const QImage image = render(200, 200, [&](TZVCanvas& canvas) {
            canvas.SelectFont(font("Arial", 30, c.escapement));
            canvas.SelectBrush({0, bsClear});
            canvas.ExtTextOut(100, 100, "HHHH");
            extent = canvas.GetTextExtentPoint("HHHH");
        });
        const int along = extent.cx;
        const int across = extent.cy;
        const int w = c.upright ? along : across;
        const int h = c.upright ? across : along;
        const QRect cell(c.signX > 0 ? 100 : 100 - w, c.signY > 0 ? 100 : 100 - h, w, h);
        const QRect ink = inkBox(image);
        EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(ink))
            << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        EXPECT_GT((c.upright ? ink.width() : ink.height()), along * 3 / 4);
    }
}

TEST_F(CanvasTest, ClipRegionsAreDevicePixelsAndCombine)
{
    const TDraw fillAll = [](TZVCanvas& c) {
        c.SelectBrush({kBlack, bsSolid});
        c.FillRect({-10000, -10000, 10000, 10000});
    };
    struct Case
    {
        const char* name;
        TDraw clip;
        std::vector<QPoint> in;
        std::vector<QPoint> out;
    };
    const Case cases[] = {
        {"ellipse",
         [](TZVCanvas& c) {
             const TZVRegion r = CreateEllipticRgn(0, 0, 40, 40);
             c.SelectClipRgn(&r);
         },
         {{20, 20}, {39, 20}, {20, 39}, {0, 20}},
         {{2, 2}, {40, 20}, {20, 40}, {37, 37}}},
        {"union of two ellipses",
         [](TZVCanvas& c) {
             TZVRegion r = CreateEllipticRgn(0, 0, 40, 40);
             r.Unite(CreateEllipticRgn(50, 0, 90, 40));
             c.SelectClipRgn(&r);
         },
         {{20, 20}, {70, 20}},
         {{45, 20}, {52, 2}}},
        {"offset",
         [](TZVCanvas& c) {
             const TZVRegion r = CreateEllipticRgn(0, 0, 40, 40);
             c.SelectClipRgn(&r);
             c.OffsetClipRgn(10, 50);
         },
         {{30, 70}},
         {{20, 20}, {30, 45}}},
        {"device pixels under a mapping",
         [](TZVCanvas& c) {
             mapModelUnits(c);
             const TZVRegion r = CreateRectRgn(10, 10, 20, 20);
             c.SelectClipRgn(&r);
         },
         {{10, 10}, {19, 19}},
         {{9, 10}, {20, 15}}},
        {"removed",
         [](TZVCanvas& c) {
             const TZVRegion r = CreateRectRgn(10, 10, 20, 20);
             c.SelectClipRgn(&r);
             c.SelectClipRgn(nullptr);
         },
         {{0, 0}, {99, 99}},
         {}},
        {"restored with the saved state",
         [](TZVCanvas& c) {
             const TZVRegion r = CreateRectRgn(10, 10, 20, 20);
             c.SaveDC();
             c.SelectClipRgn(&r);
             c.RestoreDC();
         },
         {{0, 0}, {99, 99}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = render(
            100, 100,
            [&](TZVCanvas& canvas) {
                c.clip(canvas);
                fillAll(canvas);
            },
            254);
        for (const QPoint& p : c.in)
            EXPECT_TRUE(inked(image, p.x(), p.y())) << p.x() << "," << p.y();
        for (const QPoint& p : c.out)
            EXPECT_FALSE(inked(image, p.x(), p.y())) << p.x() << "," << p.y();
    }
}

TEST_F(CanvasTest, NotXorDrawnTwiceRestoresTheImageExactly)
{
    QImage image = render(120, 80, [](TZVCanvas& c) {
        c.SelectBrush({0x40C0FF, bsSolid});
        c.FillRect({0, 0, 60, 80});
        c.SelectFont(font("Arial", 20));
        c.ExtTextOut(10, 30, "band");
        c.SelectBrush({kRed, bsSolid});
        c.Ellipse(60, 10, 110, 60);
    });
    const QImage before = image.copy();
    const auto band = [&] {
        TZVQtCanvas canvas(&image);
        canvas.SetROP2(r2NotXorPen);
        canvas.SelectBrush({0, bsClear});
        canvas.SelectPen({0x808080, 0, psDot});
        canvas.Rectangle(5, 5, 100, 70);
        canvas.MoveTo(5, 5);
        canvas.LineTo(100, 70);
        canvas.SelectPen({0x00FF00, 4, psSolid});
        canvas.Ellipse(20, 20, 90, 60);
    };
    band();
    EXPECT_NE(image, before);
    band();
    EXPECT_EQ(image, before);
}

TEST_F(CanvasTest, ImagesAndPicturesLandInTheirBox)
{
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(Qt::black);
    EXPECT_EQ(inkBox(render(
                  300, 300,
                  [&](TZVCanvas& c) {
                      mapModelUnits(c);
                      c.StretchDraw({1000, 1000, 2000, 1500}, dot);
                  },
                  254)),
              QRect(100, 100, 100, 50));
    QImage square(5, 5, QImage::Format_RGB32);
    square.fill(Qt::black);
    EXPECT_EQ(inkBox(render(30, 30, [&](TZVCanvas& c) { c.Draw(10, 12, square); })), QRect(10, 12, 5, 5));

    // A 20 x 20 frame at (10, 10) whose upper-left quarter is black.
    QPicture picture;
    {
        QPainter painter(&picture);
        painter.fillRect(QRect(10, 10, 10, 10), Qt::black);
    }
    picture.setBoundingRect(QRect(10, 10, 20, 20));
    for (int dpi : {96, 1200}) {
        SCOPED_TRACE(dpi);
        EXPECT_EQ(inkBox(render(
                      200, 200,
                      [&](TZVCanvas& c) {
                          c.StretchDrawPicture({100, 100, 140, 140}, picture);
                      },
                      dpi)),
                  QRect(100, 100, 20, 20));
    }
}

// A caller's painter: its coordinates are the canvas's device pixels, and it gets its state back.
TEST_F(CanvasTest, AnActivePainterIsBorrowedAndGivenBack)
{
    QImage image = blank(40, 40);
    QPainter painter(&image);
    painter.translate(10, 5);
    painter.setPen(QPen(Qt::red, 3));
    painter.setRenderHint(QPainter::Antialiasing, true);
    {
        TZVQtCanvas canvas(&painter, TZVQtCanvas::CapsOf(image));
        canvas.SelectBrush({kBlack, bsSolid});
        const TZVRegion clip = CreateRectRgn(0, 0, 4, 40);
        canvas.SelectClipRgn(&clip);
        canvas.SetROP2(r2NotXorPen);
        canvas.FillRect({0, 0, 5, 5});
    }
    EXPECT_EQ(painter.transform(), QTransform::fromTranslate(10, 5));
    EXPECT_EQ(painter.pen(), QPen(Qt::red, 3));
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
    EXPECT_FALSE(painter.hasClipping());
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    painter.end();
    EXPECT_EQ(inkBox(image), QRect(10, 5, 4, 5));
}

// Writing to a PDF: text, bars and a raster operation that PDF cannot do, without a word from Qt.
TEST_F(CanvasTest, DrawsOnAPdfWriterWithoutWarnings)
{
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type != QtDebugMsg && type != QtInfoMsg) warnings << message;
        });
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("page.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setResolution(1200);
        TZVQtCanvas canvas(&pdf);
        mapModelUnits(canvas);
        canvas.SelectFont(font("Arial", 353));
        canvas.ExtTextOut(1000, 1000, "Zorvel");
        canvas.SelectBrush({kBlack, bsSolid});
        const std::vector<TRect> bars = {{1000, 2000, 1030, 3000}, {1060, 2000, 1120, 3000}};
        canvas.FillRects(bars);
        canvas.SetROP2(r2NotXorPen);
        canvas.Rectangle(500, 500, 5000, 5000);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_GT(QFileInfo(path).size(), 1000);
}

TEST_F(CanvasTest, RecordingCanvasLogsEveryCall)
{
    TZVRecordingCanvas rec;
    const TPoint points[] = {{0, 0}, {10, 5}};
    const std::vector<TRect> bars = {{0, 0, 3, 10}, {5, 0, 6, 10}};
    QImage image(4, 3, QImage::Format_RGB32);
    QPicture picture;
    picture.setBoundingRect(QRect(0, 0, 50, 20));
    TZVRegion clip = CreateEllipticRgn(0, 0, 100, 50);
    clip.Unite(CreateRectRgn(5, 5, 10, 10));
    TZVFont f = font("Arial", 500, 900);
    f.Bold = true;

    rec.SetMapMode(mmAnisotropic);
    rec.SetWindowExtEx(2540, 2540);
    rec.SetViewportExtEx(96, 96);
    rec.SetWindowOrgEx(1, 2);
    rec.SetViewportOrgEx(3, 4);
    rec.SaveDC();
    rec.SelectPen({kRed, 10, psInsideFrame, pcSquare, pjMiter});
    rec.SelectBrush({0xFFFFFF, bsClear});
    rec.SelectFont(f);
    rec.SetROP2(r2NotXorPen);
    rec.MoveTo(1, 2);
    rec.LineTo(3, 4);
    rec.Polyline(points);
    rec.Rectangle(0, 0, 101, 101);
    rec.RoundRect(0, 0, 101, 101, 20, 30);
    rec.Ellipse(1, 2, 3, 4);
    rec.Pie(0, 0, 10, 10, 10, 5, 5, 0);
    rec.FillRect({1, 2, 3, 4});
    rec.FillRects(bars);
    rec.SetPixel(7, 8, 0x123456);
    rec.SetTextAlign(taCenter);
    rec.SetTextCharacterExtra(5);
    rec.SetTextJustification(40, 3);
    rec.ExtTextOut(10, 20, QStringLiteral("Señal"));
    rec.SelectClipRgn(&clip);
    rec.OffsetClipRgn(-2, 3);
    rec.SelectClipRgn(nullptr);
    rec.StretchDraw({0, 0, 400, 300}, image);
    rec.StretchDrawPicture({0, 0, 500, 200}, picture);
    rec.RestoreDC();
    (void)rec.GetTextExtentPoint("not logged");
    (void)rec.LPtoDP(TPoint{1, 1});

    const std::vector<std::string> expected = {
        "SetMapMode(mmAnisotropic)",
        "SetWindowExtEx(2540, 2540)",
        "SetViewportExtEx(96, 96)",
        "SetWindowOrgEx(1, 2)",
        "SetViewportOrgEx(3, 4)",
        "SaveDC()",
        "SelectPen(0x0000FF, 10, psInsideFrame, pcSquare, pjMiter)",
        "SelectBrush(0xFFFFFF, bsClear)",
        "SelectFont(\"Arial\", 500, 900, 0x000000, 1, 0, 0, 0)",
        "SetROP2(r2NotXorPen)",
        "MoveTo(1, 2)",
        "LineTo(3, 4)",
        "Polyline((0, 0), (10, 5))",
        "Rectangle(0, 0, 101, 101)",
        "RoundRect(0, 0, 101, 101, 20, 30)",
        "Ellipse(1, 2, 3, 4)",
        "Pie(0, 0, 10, 10, 10, 5, 5, 0)",
        "FillRect(1, 2, 3, 4)",
        "FillRects((0, 0, 3, 10), (5, 0, 6, 10))",
        "SetPixel(7, 8, 0x123456)",
        "SetTextAlign(6)",
        "SetTextCharacterExtra(5)",
        "SetTextJustification(40, 3)",
        "ExtTextOut(10, 20, \"Señal\")",
        "SelectClipRgn(ellipse(0, 0, 100, 50) + rect(5, 5, 10, 10))",
        "OffsetClipRgn(-2, 3)",
        "SelectClipRgn(null)",
        "StretchDraw(0, 0, 400, 300, image 4x3)",
        "StretchDrawPicture(0, 0, 500, 200, picture 0, 0, 50, 20)",
        "RestoreDC()",
    };
    EXPECT_EQ(rec.Log(), expected);
    EXPECT_EQ(rec.Log("FillRects"), std::vector<std::string>{"FillRects((0, 0, 3, 10), (5, 0, 6, 10))"});
    const TZVCanvasCall& text = rec.Calls()[23];
    EXPECT_EQ(text.Args, (std::vector<int>{10, 20}));
    EXPECT_EQ(text.Text, QStringLiteral("Señal"));
}

// Every operation of the contract in one scene, for the agreement of the two canvases.
void scene(TZVCanvas& c)
{
    mapModelUnits(c);
    c.SelectBrush({0xF0E0D0, bsSolid});
    c.FillRect({0, 0, 4000, 3000});
    const TZVRegion clip = CreateEllipticRgn(5, 5, 150, 110);
    c.SelectClipRgn(&clip);
    c.SelectPen({kRed, 50, psInsideFrame});
    c.SelectBrush({0x00FF00, bsSolid});
    c.RoundRect(200, 200, 1500, 1000, 300, 300);
    c.SelectPen({kBlack, 0, psDash});
    c.SelectBrush({0, bsClear});
    c.Ellipse(1600, 200, 2600, 1200);
    c.SelectPen({0x800000, 30, psSolid, pcSquare, pjMiter});
    const TPoint zigzag[] = {{200, 2000}, {800, 1400}, {1400, 2000}};
    c.Polyline(zigzag);
    c.SelectBrush({0x0080FF, bsSolid});
    c.Pie(2600, 1200, 3600, 2200, 3600, 1700, 3100, 1200);
    const std::vector<TRect> bars = {{2000, 2300, 2030, 2800}, {2060, 2300, 2120, 2800}};
    c.FillRects(bars);
    c.SetPixel(100, 100, kBlack);
    c.SelectFont(font("Arial", 300, 900));
    c.SetTextAlign(taCenter);
    c.SetTextCharacterExtra(10);
    c.ExtTextOut(1000, 2800, "Zorvel");
    c.OffsetClipRgn(5, 5);
    c.SelectPen({kBlack, 10});
    c.MoveTo(0, 0);
    c.LineTo(4000, 3000);
}

TEST_F(CanvasTest, RecordingCanvasPassesEveryCallOnUnchanged)
{
    const QImage direct = render(160, 120, scene, 100);
    QImage forwarded = blank(160, 120, 100);
    {
        TZVQtCanvas inner(&forwarded);
        TZVRecordingCanvas rec(&inner);
        scene(rec);
        EXPECT_EQ(rec.GetTextExtentPoint("Zorvel"), inner.GetTextExtentPoint("Zorvel"));
        EXPECT_EQ(rec.GetTextMetrics(), inner.GetTextMetrics());
        EXPECT_EQ(rec.LPtoDP(TPoint{2540, 1270}), (TPoint{100, 50}));
        EXPECT_EQ(rec.GetDeviceCaps(dcLogPixelsX), 100);
    }
    EXPECT_EQ(forwarded, direct);
}

TEST(Escapement, WholeTurnsOfAStoredAngleChangeNothing)
{
    // 2^31 - 1 = 5965232 turns + 127 degrees; -2^31 = -(5965232 turns + 128 degrees).
    const int cases[][2] = {{90, 900}, {450, 900}, {-90, -900}, {2147483647, 1270}, {-2147483647 - 1, -1280}};
    for (const auto& c : cases) EXPECT_EQ(EscapementOf(c[0]), c[1]) << c[0];
}

TEST_F(CanvasTest, RecordingCanvasAloneKeepsMappingAndMeasuresWithAFixedFont)
{
    TZVRecordingCanvas rec(nullptr, {300, 300, 3000, 2000});
    mapModelUnits(rec);
    EXPECT_EQ(rec.LPtoDP(TPoint{2540, 847}), (TPoint{300, 100}));
    EXPECT_EQ(rec.DPtoLP(TPoint{300, 100}), (TPoint{2540, 847}));
    EXPECT_EQ(rec.GetDeviceCaps(dcHorzSize), 254);

    rec.SelectFont(font("Arial", 100));
    EXPECT_EQ(rec.GetTextExtentPoint("abc"), (TZVSize{150, 100}));
    EXPECT_EQ(rec.GetTextMetrics(), (TZVTextMetric{100, 80, 20, 0, 0, 50, 50}));
    rec.SaveDC();
    rec.SetTextCharacterExtra(5);
    EXPECT_EQ(rec.GetTextExtentPoint("abc").cx, 165);
    rec.SetTextCharacterExtra(0);
    rec.SetTextJustification(10, 2);
    EXPECT_EQ(rec.GetTextExtentPoint("a b c").cx, 260);
    rec.SetMapMode(mmText);
    rec.RestoreDC();
    EXPECT_EQ(rec.GetTextExtentPoint("a b c").cx, 250);
    EXPECT_EQ(rec.LPtoDP(TPoint{2540, 0}), (TPoint{300, 0}));
}

} // namespace
} // namespace zorvel
