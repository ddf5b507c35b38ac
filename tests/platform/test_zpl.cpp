// The ZPL printer: label frames, sizes in dots, merged copies, boxes, graphics read back, and the
// printer's bar code commands.
#include "ZplTestSupport.h"

#include "elements/ZVBarCode.h"
#include "foundation/ZVError.h"
#include "platform/ZVZplCanvas.h"
#include "platform/ZVZplGraphic.h"
#include "tests/support/PaintSupport.h"

using namespace zorvel;
using namespace zorvel::test;

namespace {

int countOf(const QByteArray& text, const char* what)
{
    return int(text.count(what));
}

TEST(ZplPrinter, FramesSizesHomeAndMergedCopies)
{
    const QByteArray design = rollDesign(R"({"Kind": 4, "X1": 500, "Y1": 500, "X2": 2000, "Y2": 1500, "PenWidth": 50},
        {"Kind": 2, "X1": 2500, "Y1": 500, "Text": "Zorvel", "FontHeight": 450})", 3);
    // 57 x 32 mm at 8 and 12 dots a mm; home 1.5, 0.5 mm.
    const struct
    {
        int dpi;
        const char* size;
        const char* home;
        const char* frame; // the rectangle's 0.5 mm outline, 4 and 6 dots; the page maps at whole dots a mm
    } cases[] = {
        {203, "^PW456\n^LL256\n", "^LH12,4\n", "^FO40,40^GB120,80,4,B,0^FS"},
        {300, "^PW684\n^LL384\n", "^LH18,6\n", "^FO60,60^GB180,120,6,B,0^FS"},
    };
    for (const auto& c : cases) {
        const QByteArray zpl = printZpl(design, c.dpi, {1.5, 0.5});
        SCOPED_TRACE(zpl.toStdString());
        // Three identical labels: one frame printed three times.
        EXPECT_EQ(countOf(zpl, "^XA"), 1);
        EXPECT_EQ(countOf(zpl, "^XZ"), 1);
        EXPECT_TRUE(zpl.contains("^PQ3\n^XZ"));
        EXPECT_TRUE(zpl.contains("^CI28"));
        EXPECT_TRUE(zpl.contains(c.size));
        EXPECT_TRUE(zpl.contains(c.home));
        EXPECT_TRUE(zpl.contains(c.frame));
        EXPECT_TRUE(zpl.contains("^GFA,"));
    }
}

TEST(ZplPrinter, RefusesOtherResolutionsAndLeavesNoFileOnAbort)
{
    for (const int dpi : {0, 200, 204, 1200})
        EXPECT_THROW(TZVZplPrinter(QStringLiteral("x.zpl"), dpi), EZvError) << dpi;
    ensureGuiApplication();
    QTemporaryDir dir;
    TZVZplPrinter printer(dir.filePath("aborted.zpl"));
    RequireDevMode(printer);
    printer.BeginDoc(QString());
    printer.NewPage();
    printer.Abort();
    EXPECT_FALSE(QFile::exists(dir.filePath("aborted.zpl")));
}

// Pages of their own length (roll labels as long as their content) each get their ^LL.
TEST(ZplPrinter, PageLengthPerLabel)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    TZVZplPrinter printer(dir.filePath("roll.zpl"), 300);
    TZVDevMode& mode = RequireDevMode(printer);
    mode.PaperWidth = 620;
    mode.PaperLength = 1000;
    printer.SetPageLength(300);
    printer.BeginDoc(QString());
    EXPECT_EQ(printer.PageSizePixels(), QSize(744, 360));
    printer.SetPageLength(455);
    printer.NewPage();
    printer.EndDoc();
    QFile in(dir.filePath("roll.zpl"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray zpl = in.readAll();
    EXPECT_TRUE(zpl.contains("^LL360\n") && zpl.contains("^LL546\n")) << zpl.toStdString();
    EXPECT_EQ(countOf(zpl, "^XA"), 2);
}

// The graphics read back are the label's own picture at the printer's dots, dot for dot, also
// where white painted over a black box takes dots away, and for turned, aligned and overhanging
// texts and shapes, which the printer only looks for where they were painted.
TEST(ZplPrinter, GraphicsReadBackAsThePicture)
{
    // The first element is painted last: the white text lies on the black box.
    const QByteArray elements = R"({"Kind": 2, "X1": 3000, "Y1": 1800, "Text": "WHITE", "FontHeight": 500, "Color": 16777215},
        {"Kind": 4, "X1": 2800, "Y1": 1500, "X2": 5200, "Y2": 2900, "Transparent": false, "BackColor": 0},
        {"Kind": 2, "X1": 300, "Y1": 300, "Text": "Zorvel 57x32", "FontHeight": 500},
        {"Kind": 2, "X1": 300, "Y1": 1200, "Text": "Ünïcödé ✓", "FontHeight": 400, "Angle": 90},
        {"Kind": 2, "X1": 1500, "Y1": 2000, "X2": 2700, "Y2": 3000, "Text": "Wfj ÅÇ", "FontHeight": 450,
         "Angle": 30, "TextAlign": 1, "Bold": true, "Italic": true},
        {"Kind": 4, "X1": 1200, "Y1": 2600, "X2": 2500, "Y2": 3100, "Radio": 200, "PenWidth": 30},
        {"Kind": 4, "X1": 4000, "Y1": 300, "X2": 5500, "Y2": 1100, "Ellipse": true, "PenWidth": 20},
        {"Kind": 5, "X1": 2500, "Y1": 300, "Character": 9731, "FontHeight": 600})";
    const QByteArray zpl = printZpl(rollDesign(elements), 203);
    ensureGuiApplication();
    TZVLab label;
    DesignFromJson(label, rollDesign(elements));
    // The label's own picture at the printer's 8 dots a mm.
    QImage expected(456, 256, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        TZVQtCanvas own(&expected);
        own.SetMapMode(mmAnisotropic);
        own.SetWindowExtEx(100, 100);
        own.SetViewportExtEx(8, 8);
        label.PaintElements(own, {0, 0}, ptPrinter, 0);
    }
    const QImage printed = printedDots(zpl, expected.size());
    EXPECT_TRUE(zpl.contains("^FR^GFA")) << "white text over the box flips dots";
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            differing += (qGray(expected.pixel(x, y)) < 128) != (printed.scanLine(y)[x] == 0);
    EXPECT_EQ(differing, 0);
}

TEST(ZplGraphic, RunCountsAndRowShortcuts)
{
    const struct
    {
        int count;
        const char* letters;
    } counts[] = {{1, "G"}, {19, "Y"}, {20, "g"}, {21, "gG"}, {399, "yY"}, {400, "z"}, {841, "zzhG"}};
    for (const auto& c : counts)
        EXPECT_EQ(ZplRepeatCount(c.count), c.letters) << c.count;
    // Rows: all zeros, a repeat, 0xF0 then zeros, all ones.
    const std::uint8_t bits[] = {0, 0, 0, 0, 0, 0, 0xF0, 0, 0, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ZplGraphicField(bits, 3, 4), "^GFA,12,12,3,,:F,LF");
}

} // namespace
