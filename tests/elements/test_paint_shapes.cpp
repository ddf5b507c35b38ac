// Painting of lines, rectangles, symbols and images, and the paint entry's target rules.
#include "../support/PaintSupport.h"
#include "ElementTestSupport.h"
#include "elements/ZVBarCode.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTextElements.h"
#include "platform/ZVBmp.h"
#include "platform/ZVMemoryDataSet.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gmock/gmock.h>

#include <limits>

namespace zorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr QRgb kRedPixel = 0xFFFF0000;
constexpr QRgb kBlackPixel = 0xFF000000;

// A solid picture of w x h pixels in one colour.
QImage solidPicture(int w, int h, QRgb color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

TZVRect& boxAt(TZVCustomLab& label, int x1, int y1, int x2, int y2)
{
    auto* rect = new TZVRect(label);
    rect->SetX1(x1 / 100.0f);
    rect->SetY1(y1 / 100.0f);
    rect->SetX2(x2 / 100.0f);
    rect->SetY2(y2 / 100.0f);
    return *rect;
}

TZVLine& lineFrom(TZVCustomLab& label, int x1, int y1, int x2, int y2)
{
    auto* line = new TZVLine(label);
    line->SetStartPoint(x1, y1);
    line->SetEndPoint(x2, y2);
    return *line;
}

// The X1 values of the rectangles drawn, in drawing order.
std::vector<int> rectangleLefts(const TZVRecordingCanvas& canvas)
{
    std::vector<int> lefts;
    for (const TZVCanvasCall& call : canvas.Calls())
        if (call.Op == "Rectangle") lefts.push_back(call.Args[0]);
    return lefts;
}

// ---- The label's element walk and the paint entry ----

TEST(PaintElements, LastElementFirstAndSelectedOnesLeftToTheSelectionLayer)
{
    TZVLab label;
    boxAt(label, 100, 0, 200, 100);
    TZVRect& second = boxAt(label, 300, 0, 400, 100);
    boxAt(label, 500, 0, 600, 100);
    second.SetSelected(true);

    struct Case
    {
        const char* name;
        int target;
        std::vector<int> lefts;
    };
    const Case cases[] = {
        {"editor surface skips the selected", ptEditor, {500, 100}},
        {"printer paints all", ptPrinter, {500, 300, 100}},
        {"preview page paints all", ptPreviewPage, {500, 300, 100}},
        {"editor picture paints all", ptEditorPicture, {500, 300, 100}},
        {"target 4 paints nothing", 4, {}},
        {"negative target paints nothing", -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingModelCanvas recording;
        label.PaintElements(recording.canvas(), {0, 0}, c.target, 0);
        EXPECT_EQ(rectangleLefts(recording.canvas()), c.lefts);
    }
}

TEST(PaintElements, OriginIsAddedToEveryElement)
{
    TZVLab label;
    boxAt(label, 100, 200, 300, 400);
    RecordingModelCanvas recording;
    label.PaintElements(recording.canvas(), {1000, 2000}, ptPreviewPage, 0);
    EXPECT_THAT(recording.canvas().Log("Rectangle"), ElementsAre("Rectangle(1100, 2200, 1301, 2401)"));
}

TEST(PaintEntry, PrintFlagAndCountingRunDecideWhatReachesEachTarget)
{
    TZVLab label;
    TZVLine& line = lineFrom(label, 0, 500, 1000, 500);
    TZVRect& rect = boxAt(label, 0, 0, 100, 100);
    auto* image = new TZVImage(label);
    auto* symbol = new TZVSymbol(label);
    auto* text = new TZVText(label);
    auto* compound = new TZVAddText(label);
    auto* barcode = new TZVBarCode(label);
    const std::vector<TZVElement*> elements{&line, &rect, image, symbol, text, compound, barcode};

    struct Case
    {
        const char* name;
        bool print;
        bool noPrinterOutput;
        int target;
        std::vector<bool> drawn; // line, rect, image, symbol, text, compound text, bar code
    };
    const std::vector<bool> all(elements.size(), true);
    const std::vector<bool> none(elements.size(), false);
    const Case cases[] = {
        {"printer", true, false, ptPrinter, all},
        {"counting run silences lines, rectangles, images, plain texts and bar codes", true, true, ptPrinter,
         {false, false, false, true, false, true, false}},
        {"counting run leaves preview pages alone", true, true, ptPreviewPage, all},
        {"not printed: printer", false, false, ptPrinter, none},
        {"not printed: preview", false, false, ptPreviewPage, none},
        {"not printed: editor picture", false, false, ptEditorPicture, none},
        {"not printed: still on screen", false, false, ptEditor, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        label.SetNoPrinterOutput(c.noPrinterOutput);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            SCOPED_TRACE(i);
            elements[i]->SetPrint(c.print);
            RecordingModelCanvas recording;
            elements[i]->Paint(recording.canvas(), {0, 0}, c.target, 0);
            EXPECT_EQ(!recording.canvas().Calls().empty(), bool(c.drawn[i]));
        }
    }
}

TEST_F(ElementTest, ScreenPaintStoresBothRectanglesAndAsksForTheSelectionFrame)
{
    TZVRect& rect = boxAt(label, 1000, 500, 3000, 1500);
    rect.SetSelected(true);
    // The surface shows 10 model units a pixel, like the canvas at 254 dpi.
    RecordingModelCanvas recording;
    rect.Paint(recording.canvas(), {0, 0}, ptEditor, 1);
    EXPECT_EQ(rect.ModelRect(), (TRect{1000, 500, 3000, 1500}));
    EXPECT_EQ(rect.ScreenRect(), (TRect{100, 50, 300, 150}));
    ASSERT_EQ(editor.selectionFrames.size(), 1u);
    EXPECT_TRUE(editor.selectionFrames[0].selected);
    EXPECT_EQ(editor.selectionFrames[0].modelRect, rect.ModelRect());
    EXPECT_EQ(editor.selectionFrames[0].screenRect, rect.ScreenRect());
    EXPECT_TRUE(editor.selectionFrames[0].showHandles) << "a box offers edge handles";

    editor.ResetRecord();
    TZVLine& line = lineFrom(label, 0, 0, 1000, 1000);
    line.SetSelected(true);
    line.Paint(recording.canvas(), {0, 0}, ptEditor, 1);
    ASSERT_EQ(editor.selectionFrames.size(), 1u);
    EXPECT_FALSE(editor.selectionFrames[0].showHandles) << "a line marks its ends instead";

    editor.ResetRecord();
    rect.Paint(recording.canvas(), {0, 0}, ptPrinter, 1);
    EXPECT_THAT(editor.selectionFrames, IsEmpty()) << "only the editor surface has frames";
}

// ---- Line ----

TEST(LinePaint, GeometricPenWithSquareCapsAndMitredJoinsFromEndToEnd)
{
    TZVLab label;
    TZVLine& line = lineFrom(label, 100, 200, 900, 700);
    line.SetColor(0x123456);
    line.SetPenWidth(0.5f);
    RecordingModelCanvas recording;
    line.Paint(recording.canvas(), {1000, 2000}, ptPrinter, 0);
    EXPECT_THAT(recording.canvas().Log(), ElementsAre("SelectPen(0x123456, 50, psSolid, pcSquare, pjMiter)",
                                                      "MoveTo(1100, 2200)", "LineTo(1900, 2700)"));
}

TEST(LinePaint, ModelRectWidensThinLinesAcrossTheirDirection)
{
    struct Case
    {
        const char* name;
        TRect ends;
        int pen;
        TRect model;
    };
    // Half the band is max(pen, 1 mm) / 2.
    const Case cases[] = {
        {"vertical, 0.1 mm pen", {500, 100, 500, 900}, 10, {450, 100, 550, 900}},
        {"horizontal, 3 mm pen", {100, 500, 900, 500}, 300, {100, 350, 900, 650}},
        {"rising", {100, 900, 800, 200}, 10, {100, 200, 800, 900}},
        {"falling", {100, 200, 800, 900}, 10, {100, 200, 800, 900}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        TZVLine& line = lineFrom(label, c.ends.Left, c.ends.Top, c.ends.Right, c.ends.Bottom);
        line.SetPenWidth(c.pen / 100.0f);
        RecordingModelCanvas recording;
        line.Paint(recording.canvas(), {0, 0}, ptEditor, 1);
        EXPECT_EQ(line.ModelRect(), c.model);
    }
}

TEST_F(ElementTest, SelectedLineLeavesEndHandleMarksInSurfacePixels)
{
    TZVLine& line = lineFrom(label, 1000, 3000, 5000, 1000);
    RecordingModelCanvas recording;
    line.Paint(recording.canvas(), {0, 0}, ptEditor, 1);
    EXPECT_THAT(label.HandleMarks(), IsEmpty()) << "an unselected line has no handles";

    line.SetSelected(true);
    line.Paint(recording.canvas(), {0, 0}, ptEditor, 1);
    line.Paint(recording.canvas(), {0, 0}, ptPrinter, 1);
    ASSERT_EQ(label.HandleMarks().size(), 1u) << "only the screen paint adds marks";
    const TZVHandleMark& mark = label.HandleMarks()[0];
    EXPECT_EQ(mark.Kind, 1);
    // (100, 300) lies in the lower half of the 600 x 350 surface, (500, 100) in the right half.
    EXPECT_EQ(mark.P1, (TPoint{100, 299}));
    EXPECT_EQ(mark.P2, (TPoint{499, 100}));
}

TEST(LinePaint, RenderedLineCoversItsWidthAndNothingBeside)
{
    TZVLab label;
    TZVLine& line = lineFrom(label, 200, 500, 1800, 500);
    line.SetPenWidth(1.0f);
    ModelImage image(2000, 1000);
    line.Paint(image.canvas(), {0, 0}, ptPreviewPage, 0);
    image.finish();
    EXPECT_EQ(image.pixelAtModel(1000, 500), kBlackPixel);
    EXPECT_EQ(image.pixelAtModel(1000, 460), kBlackPixel) << "half the 1 mm pen above the axis";
    EXPECT_EQ(image.pixelAtModel(1000, 400), kWhitePixel);
    EXPECT_EQ(image.pixelAtModel(1000, 620), kWhitePixel);
    EXPECT_EQ(image.pixelAtModel(170, 500), kBlackPixel) << "square caps reach past the ends";
    EXPECT_EQ(image.pixelAtModel(100, 500), kWhitePixel);
}

// ---- Rectangle ----

TEST(RectPaint, ShapeBrushAndPenFollowTheSettings)
{
    struct Case
    {
        const char* name;
        bool ellipse;
        int radio;
        int pen;
        bool transparent;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"plain box, right and bottom edges included",
         false,
         0,
         20,
         true,
         {"SelectPen(0x0000FF, 20, psInsideFrame, pcRound, pjRound)", "SelectBrush(0x00FF00, bsClear)",
          "Rectangle(1100, 2200, 1301, 2401)"}},
        {"rounded corners",
         false,
         50,
         20,
         false,
         {"SelectPen(0x0000FF, 20, psInsideFrame, pcRound, pjRound)", "SelectBrush(0x00FF00, bsSolid)",
          "RoundRect(1100, 2200, 1301, 2401, 50, 50)"}},
        {"ellipse ignores the radius and takes the box as it is",
         true,
         50,
         20,
         true,
         {"SelectPen(0x0000FF, 20, psInsideFrame, pcRound, pjRound)", "SelectBrush(0x00FF00, bsClear)",
          "Ellipse(1100, 2200, 1300, 2400)"}},
        {"no pen",
         false,
         0,
         0,
         false,
         {"SelectPen(0x0000FF, 0, psClear, pcRound, pjRound)", "SelectBrush(0x00FF00, bsSolid)",
          "Rectangle(1100, 2200, 1301, 2401)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        TZVRect& rect = boxAt(label, 100, 200, 300, 400);
        rect.SetColor(0x0000FF);
        rect.SetBackColor(0x00FF00);
        rect.SetRadio(c.radio / 100.0f);
        rect.SetEllipse(c.ellipse);
        rect.SetPenWidth(c.pen / 100.0f);
        rect.SetTransparent(c.transparent);
        RecordingModelCanvas recording;
        rect.Paint(recording.canvas(), {1000, 2000}, ptPrinter, 0);
        EXPECT_EQ(recording.canvas().Log(), c.log);
    }
}

TEST_F(ElementTest, LockMarkerOnTheEditorSurfaceOnly)
{
    TZVRect& rect = boxAt(label, 1000, 500, 3000, 1500);
    rect.SetLocked(true);
    struct Case
    {
        const char* name;
        int target;
        std::vector<std::string> fills;
    };
    // 8 pixels are 80 model units at 254 dpi; the yellow inset a quarter of that.
    const Case cases[] = {
        {"editor", ptEditor, {"FillRect(1000, 500, 1080, 580)", "FillRect(1020, 520, 1060, 560)"}},
        {"printer", ptPrinter, {}},
        {"preview", ptPreviewPage, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingModelCanvas recording;
        rect.Paint(recording.canvas(), {0, 0}, c.target, 0);
        EXPECT_EQ(recording.canvas().Log("FillRect"), c.fills);
    }
}

TEST(RectPaint, RenderedBoxHasItsBorderInsideAndItsFillWithin)
{
    TZVLab label;
    TZVRect& rect = boxAt(label, 200, 200, 1800, 800);
    rect.SetColor(0x0000FF); // red
    rect.SetPenWidth(1.0f);
    rect.SetBackColor(0x000000);
    rect.SetTransparent(false);
    ModelImage image(2000, 1000);
    rect.Paint(image.canvas(), {0, 0}, ptPreviewPage, 0);
    image.finish();
    EXPECT_EQ(image.pixelAtModel(210, 500), kRedPixel) << "the pen lies inside the box";
    EXPECT_EQ(image.pixelAtModel(290, 500), kRedPixel);
    EXPECT_EQ(image.pixelAtModel(1790, 500), kRedPixel) << "the right edge is part of the box";
    EXPECT_EQ(image.pixelAtModel(1000, 500), kBlackPixel);
    EXPECT_EQ(image.pixelAtModel(190, 500), kWhitePixel);
    EXPECT_EQ(image.pixelAtModel(1820, 500), kWhitePixel);
}

// ---- Symbol ----

class SymbolPaint : public ::testing::Test
{
protected:
    SymbolPaint()
    {
        ensureGuiApplication();
        flags.AddField("FLAG", fkBoolean);
        flags.AddField("COUNT", fkInteger);
        flags.AddField("NAME", fkString);
        flags.AppendRecord({true, 1, QStringLiteral("a")});
        flags.AppendRecord({false, 2, QStringLiteral("b")});
        flags.Open();
        label.SetDataAccessType(daDataSet);
        label.SetDataSet(&flags);
        label.SetDataEnabled(true);
        symbol = new TZVSymbol(label);
        symbol->SetX1(10.0f);
        symbol->SetY1(5.0f);
    }

    bool drawn(int target, int dataMode)
    {
        RecordingModelCanvas recording;
        symbol->Paint(recording.canvas(), {0, 0}, target, dataMode);
        return !recording.canvas().Log("ExtTextOut").empty();
    }

    TZVMemoryDataSet flags;
    TZVLab label;
    TZVSymbol* symbol = nullptr;
};

TEST_F(SymbolPaint, BoundSymbolPrintsOnlyForOneOrTrue)
{
    struct Case
    {
        const char* name;
        const char* field;
        int record;
        int target;
        int dataMode;
        bool drawn;
    };
    const Case cases[] = {
        {"true on the printer", "FLAG", 1, ptPrinter, 1, true},
        {"false on the printer", "FLAG", 2, ptPrinter, 1, false},
        {"false on a preview page", "FLAG", 2, ptPreviewPage, 1, false},
        {"false without data mode", "FLAG", 2, ptPrinter, 0, true},
        {"false on screen", "FLAG", 2, ptEditor, 1, true},
        {"false in the editor picture", "FLAG", 2, ptEditorPicture, 1, true},
        {"integer 1", "COUNT", 1, ptPrinter, 1, true},
        {"integer 2", "COUNT", 2, ptPrinter, 1, false},
        {"text field prints", "NAME", 2, ptPrinter, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        symbol->SetData(true);
        symbol->SetFieldName(c.field);
        flags.First();
        flags.MoveBy(c.record - 1);
        EXPECT_EQ(drawn(c.target, c.dataMode), c.drawn);
    }
}

TEST_F(SymbolPaint, BorderGrowsTheBoxAndTurnsWithTheAngle)
{
    symbol->SetFontHeight(5.0f);
    symbol->SetShowBorder(true);
    symbol->SetPenWidth(0.2f);
    symbol->SetPaddingX(1.0f);
    symbol->SetPaddingY(0.5f);
    // Without an inner canvas the recorder measures a character half the cell wide: 250 x 500.
    struct Case
    {
        const char* name;
        int angle;
        TRect model;
        std::string text;
    };
    const Case cases[] = {
        {"upright", 0, {1000, 500, 1000 + 250 + 240, 500 + 500 + 140}, "ExtTextOut(1120, 570, \"$\")"},
        {"upside down lies left of and above the anchor",
         180,
         {1000 - 490, 500 - 640, 1000, 500},
         "ExtTextOut(880, 430, \"$\")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        symbol->SetAngle(c.angle);
        RecordingModelCanvas recording;
        symbol->Paint(recording.canvas(), {0, 0}, ptPreviewPage, 0);
        EXPECT_EQ(symbol->ModelRect(), c.model);
        EXPECT_THAT(recording.canvas().Log("Rectangle"),
                    ElementsAre("Rectangle(" + std::to_string(c.model.Left) + ", " +
                                std::to_string(c.model.Top) + ", " + std::to_string(c.model.Right + 1) +
                                ", " + std::to_string(c.model.Bottom + 1) + ")"));
        EXPECT_THAT(recording.canvas().Log("ExtTextOut"), ElementsAre(c.text));
    }
}

TEST_F(SymbolPaint, HugeStoredPaddingSaturatesTheBoxInsteadOfWrapping)
{
    symbol->SetFontHeight(5.0f);
    symbol->SetShowBorder(true);
    symbol->SetPenWidth(0.2f);
    symbol->SetPaddingX(2.0e7f);
    symbol->SetPaddingY(2.0e7f);
    constexpr int kMax = std::numeric_limits<int>::max();
    // The far corner 1000 + 250 + 2 x (2e9 + 20) lies past the int range; the text sits 2e9 + 20 in.
    struct Case
    {
        int angle;
        TRect model;
        std::string text;
    };
    const Case cases[] = {
        {0, {1000, 500, kMax, kMax}, "ExtTextOut(2000001020, 2000000520, \"$\")"},
        // (kMax, kMax) turned about (1000, 500): (1000 - (kMax - 1000), 500 - (kMax - 500)).
        {180, {2000 - kMax, 1000 - kMax, 1000, 500}, "ExtTextOut(-1999999020, -1999999520, \"$\")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        symbol->SetAngle(c.angle);
        RecordingModelCanvas recording;
        symbol->Paint(recording.canvas(), {0, 0}, ptPreviewPage, 0);
        EXPECT_EQ(symbol->ModelRect(), c.model);
        EXPECT_THAT(recording.canvas().Log("ExtTextOut"), ElementsAre(c.text));
    }
}

TEST_F(SymbolPaint, MeasuredCornerKeepsNudgesOnTheLabelAndIsSaved)
{
    struct Case
    {
        const char* name;
        int angle;
        TPoint corner;
    };
    // A 250 x 500 character at (59 mm, 34 mm); the label is 60 x 35 mm. A quarter turn takes the
    // corner (dx 250, dy 500) to (X1 + dy, Y1 - dx).
    const Case cases[] = {
        {"upright", 0, {5900 + 250, 3400 + 500}},
        {"quarter turn", 90, {5900 + 500, 3400 - 250}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        symbol->SetAngle(c.angle);
        symbol->SetX1(59.0f);
        symbol->SetY1(34.0f);
        RecordingModelCanvas recording;
        symbol->Paint(recording.canvas(), {0, 0}, ptEditor, 0);
        EXPECT_EQ((TPoint{symbol->X2(), symbol->Y2()}), c.corner);
        RecordingVisitor writer(kStreamVersion, false);
        symbol->VisitFields(writer);
        EXPECT_EQ(writer.numbers.at("X2"), c.corner.X);
        EXPECT_EQ(writer.numbers.at("Y2"), c.corner.Y);
    }
    // Nudged right and down, the character stops at the label's edges.
    symbol->SetAngle(0);
    RecordingModelCanvas recording;
    symbol->Paint(recording.canvas(), {0, 0}, ptEditor, 0);
    symbol->MoveByStep(10, 10);
    EXPECT_EQ((TRect{symbol->X1(), symbol->Y1(), symbol->X2(), symbol->Y2()}), (TRect{5750, 3000, 6000, 3500}));
}

TEST_F(SymbolPaint, RenderedGlyphAndBorder)
{
    symbol->SetCharacter(QChar(0x25A0)); // a black square
    symbol->SetFontHeight(10.0f);
    symbol->SetShowBorder(true);
    symbol->SetBorderColor(0x0000FF);
    symbol->SetPenWidth(0.5f);
    ModelImage image(4000, 3000);
    symbol->Paint(image.canvas(), {0, 0}, ptPreviewPage, 0);
    const TRect box = symbol->ModelRect();
    image.finish();
    EXPECT_EQ(image.pixelAtModel(box.Left + 20, (box.Top + box.Bottom) / 2), kRedPixel);
    EXPECT_EQ(image.pixelAtModel(box.Left - 30, (box.Top + box.Bottom) / 2), kWhitePixel);
    // Some ink of the glyph inside the frame.
    bool ink = false;
    for (int x = box.Left + 100; x < box.Right - 100; x += 10)
        ink = ink || image.pixelAtModel(x, (box.Top + box.Bottom) / 2) == kBlackPixel;
    EXPECT_TRUE(ink);
}

// ---- Image ----

class ImagePaint : public ElementTest
{
protected:
    ImagePaint()
    {
        ensureGuiApplication();
        label.SetEditor(nullptr);
        image = new TZVImage(label);
        image->SetX1(1.0f);
        image->SetY1(1.0f);
        image->SetX2(11.0f);
        image->SetY2(11.0f);
        image->SetPenWidth(0.0f);
    }

    // Writes `picture` as a BMP file and gives it to the element.
    void useFile(const QImage& picture)
    {
        const QString path = dir.filePath(QStringLiteral("picture.bmp"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(EncodeBmp(picture));
        file.close();
        image->SetFileImage(path);
        ASSERT_TRUE(image->HasPicture());
    }

    QTemporaryDir dir;
    TZVImage* image = nullptr;
};

TEST_F(ImagePaint, AspectCentresThePictureInItsBox)
{
    useFile(solidPicture(200, 100, qRgb(255, 0, 0)));
    struct Case
    {
        const char* name;
        bool aspect;
        TRect dest;
    };
    const Case cases[] = {
        {"kept: bands above and below", true, {100, 350, 1100, 850}},
        {"stretched", false, {100, 100, 1100, 1100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        image->SetAspect(c.aspect);
        RecordingModelCanvas recording;
        image->Paint(recording.canvas(), {0, 0}, ptPrinter, 0);
        ASSERT_EQ(recording.canvas().Log("StretchDraw").size(), 1u);
        const TZVCanvasCall& draw = recording.canvas().Calls().back();
        EXPECT_EQ((TRect{draw.Args[0], draw.Args[1], draw.Args[2], draw.Args[3]}), c.dest);
    }

    ModelImage rendered(1200, 1200);
    image->SetAspect(true);
    image->Paint(rendered.canvas(), {0, 0}, ptPreviewPage, 0);
    rendered.finish();
    EXPECT_EQ(rendered.pixelAtModel(600, 600), kRedPixel);
    EXPECT_EQ(rendered.pixelAtModel(600, 200), kWhitePixel) << "band above";
    EXPECT_EQ(rendered.pixelAtModel(600, 1000), kWhitePixel) << "band below";
}

TEST_F(ImagePaint, AutoSizeTakesTheScreenSizeAndQuarterTurnsSwapIt)
{
    useFile(solidPicture(96, 48, qRgb(0, 0, 255)));
    image->SetAutoSize(true);
    struct Case
    {
        const char* name;
        int angle;
        bool border;
        int x2, y2;
    };
    // 96 pixels at 96 dpi are one inch.
    const Case cases[] = {
        {"upright", 0, false, 100 + 2540, 100 + 1270},
        {"quarter turn", 90, false, 100 + 1270, 100 + 2540},
        {"with a 0.5 mm border", 0, true, 100 + 2540 + 100, 100 + 1270 + 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        image->SetAngle(c.angle);
        image->SetShowBorder(c.border);
        image->SetPenWidth(c.border ? 0.5f : 0.0f);
        RecordingModelCanvas recording;
        image->Paint(recording.canvas(), {0, 0}, ptPreviewPage, 0);
        EXPECT_EQ(image->X2(), c.x2);
        EXPECT_EQ(image->Y2(), c.y2);
    }
}

TEST_F(ImagePaint, AutoSizeWithoutAPictureKeepsTheBox)
{
    image->SetAutoSize(true);
    RecordingModelCanvas recording;
    image->Paint(recording.canvas(), {0, 0}, ptPrinter, 0);
    EXPECT_EQ(image->X2(), 1100);
    EXPECT_EQ(image->Y2(), 1100);
    EXPECT_THAT(recording.canvas().Log("Rectangle"), ElementsAre("Rectangle(100, 100, 1100, 1100)"));
}

TEST_F(ImagePaint, HugeStoredBorderSaturatesTheBoxInsteadOfWrapping)
{
    image->SetX1(2.0e7f);
    image->SetY1(2.0e7f);
    image->SetX2(2.1e7f);
    image->SetY2(2.1e7f);
    image->SetShowBorder(true);
    image->SetPenWidth(2.0e7f);
    RecordingModelCanvas recording;
    image->Paint(recording.canvas(), {0, 0}, ptPrinter, 0);
    // Inside a pen of 2e9 the box runs from 2e9 + 2e9 (past the int range) back to 2.1e9 - 2e9.
    EXPECT_THAT(recording.canvas().Log("Rectangle"),
                ElementsAre("Rectangle(2000000000, 2000000000, 2100000001, 2100000001)",
                            "Rectangle(2147483647, 2147483647, 100000000, 100000000)"));
}

TEST_F(ImagePaint, TurnedPictureLetsTheBackColourThrough)
{
    // Left half green, right half blue; green is the see-through colour.
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(qRgb(0, 255, 0));
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 255));
    useFile(picture);
    image->SetAspect(false);
    image->SetBackColor(0x00FF00);
    image->SetAngle(90);
    ModelImage rendered(1200, 1200);
    image->Paint(rendered.canvas(), {0, 0}, ptPreviewPage, 0);
    rendered.finish();
    // A quarter turn counterclockwise brings the right half (blue) to the top.
    EXPECT_EQ(rendered.pixelAtModel(600, 300), 0xFF0000FFu);
    EXPECT_EQ(rendered.pixelAtModel(600, 900), kWhitePixel) << "green turned see-through";
}

TEST_F(ImagePaint, PlaceholderWithItsMessageFollowsMarkEmptyImage)
{
    image->SetFileImage(dir.filePath(QStringLiteral("missing.bmp")));
    struct Case
    {
        const char* name;
        bool mark;
        int target;
        bool placeholder;
    };
    const Case cases[] = {
        {"printed when marked", true, ptPrinter, true},
        {"not printed unmarked", false, ptPrinter, false},
        {"always on screen", false, ptEditor, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        label.SetMarkEmptyImage(c.mark);
        RecordingModelCanvas recording;
        image->Paint(recording.canvas(), {0, 0}, c.target, 0);
        if (!c.placeholder) {
            EXPECT_THAT(recording.canvas().Log(), IsEmpty());
            continue;
        }
        EXPECT_THAT(recording.canvas().Log("Rectangle"), ElementsAre("Rectangle(100, 100, 1100, 1100)"));
        EXPECT_THAT(recording.canvas().Log("SelectPen"),
                    ElementsAre("SelectPen(0x808080, 5, psInsideFrame, pcRound, pjRound)"));
        ASSERT_EQ(recording.canvas().Log("ExtTextOut").size(), 1u);
        const TZVCanvasCall& text = recording.canvas().Calls().back();
        EXPECT_EQ(text.Args, (std::vector<int>{600, 110}));
        EXPECT_EQ(text.Text, "INVALID FILE : " + dir.filePath(QStringLiteral("missing.bmp")));
    }
}

TEST_F(ImagePaint, BoundImageTakesItsPictureFromTheRecord)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    solidPicture(60, 60, qRgb(0, 0, 0)).save(&buffer, "PNG");
    const QByteArray bmp = EncodeBmp(solidPicture(30, 20, qRgb(0, 0, 0)));

    TZVMemoryDataSet pictures;
    pictures.AddField("PHOTO", fkBlob);
    pictures.SetDisplayLabel("PHOTO", "Photo");
    pictures.AppendRecord({bmp});
    pictures.AppendRecord({png});
    pictures.AppendRecord({QByteArray()});
    pictures.AppendRecord({QVariant()});
    pictures.Open();
    label.SetDataAccessType(daDataSet);
    label.SetDataSet(&pictures);
    label.SetDataEnabled(true);
    image->SetData(true);
    image->SetFieldName("Photo");

    struct Case
    {
        const char* name;
        int record;
        int target;
        const char* picture; // size drawn, or the placeholder's message
    };
    const QString fallback = QStringLiteral("INVALID FILE : ");
    const Case cases[] = {
        {"bitmap on the printer", 1, ptPrinter, "30x20"},
        {"bitmap on a preview page", 1, ptPreviewPage, "30x20"},
        {"screen shows the field", 1, ptEditor, "Photo"},
        {"editor picture shows the field", 1, ptEditorPicture, "Photo"},
        {"PNG is not drawable", 2, ptPrinter, "Photo"},
        {"empty content keeps the file message", 3, ptPrinter, "INVALID FILE : "},
        {"null field", 4, ptPrinter, "Photo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pictures.First();
        pictures.MoveBy(c.record - 1);
        RecordingModelCanvas recording;
        image->Paint(recording.canvas(), {0, 0}, c.target, 1);
        const auto draws = recording.canvas().Log("StretchDraw");
        if (QByteArray(c.picture).contains('x')) {
            ASSERT_EQ(draws.size(), 1u);
            EXPECT_THAT(draws[0], ::testing::HasSubstr(std::string("image ") + c.picture));
        } else {
            EXPECT_THAT(draws, IsEmpty());
            ASSERT_EQ(recording.canvas().Log("ExtTextOut").size(), 1u);
            EXPECT_EQ(recording.canvas().Calls().back().Text, c.picture);
        }
    }
}

TEST_F(ImagePaint, TurnedPictureFollowsItsSource)
{
    useFile(solidPicture(20, 10, qRgb(0, 0, 255)));
    TZVMemoryDataSet pictures;
    pictures.AddField("PHOTO", fkBlob);
    pictures.AppendRecord({EncodeBmp(solidPicture(30, 24, qRgb(255, 0, 0)))});
    pictures.Open();
    label.SetDataAccessType(daDataSet);
    label.SetDataSet(&pictures);
    label.SetDataEnabled(true);
    image->SetAngle(90);
    auto drawn = [&] {
        RecordingModelCanvas recording;
        image->Paint(recording.canvas(), {0, 0}, ptPreviewPage, 1);
        const auto draws = recording.canvas().Log("StretchDraw");
        return draws.size() == 1 ? draws[0].substr(draws[0].find("image ")) : std::string("none");
    };
    struct Case
    {
        const char* name;
        bool data;
        const char* picture; // turned size
    };
    // The record's picture during a data preview, the file's again once Data is off.
    const Case cases[] = {
        {"the file", false, "image 10x20"},
        {"the record", true, "image 24x30"},
        {"the file after the record", false, "image 10x20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        image->SetData(c.data);
        image->SetFieldName("PHOTO");
        EXPECT_THAT(drawn(), ::testing::StartsWith(c.picture));
    }
}

TEST_F(ImagePaint, LockedImageMarkedOnScreenOnly)
{
    image->SetLocked(true);
    RecordingModelCanvas screen;
    image->Paint(screen.canvas(), {0, 0}, ptEditor, 0);
    EXPECT_EQ(screen.canvas().Log("FillRect").size(), 2u);
    RecordingModelCanvas page;
    image->Paint(page.canvas(), {0, 0}, ptPreviewPage, 0);
    EXPECT_THAT(page.canvas().Log("FillRect"), IsEmpty());
}

} // namespace
} // namespace zorvel::test
