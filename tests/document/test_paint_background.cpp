// Painting of a label's background, frame, guides and title.
#include "../support/PaintSupport.h"
#include "TestEditorLink.h"
#include "document/ZVBackSurf.h"
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "document/ZVElement.h"
#include "foundation/ZVStream.h"
#include "platform/ZVBmp.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr QRgb kWhitePixel = 0xFFFFFFFF;
constexpr QRgb kBlackPixel = 0xFF000000;
constexpr TPoint kNoOrigin{0, 0};
const TRect kNoArea{};

// The colour of every pen selected, in order.
std::vector<TZVColor> penColors(const TZVRecordingCanvas& canvas)
{
    std::vector<TZVColor> colors;
    for (const TZVCanvasCall& call : canvas.Calls())
        if (call.Op == "SelectPen") colors.push_back(TZVColor(call.Args[0]));
    return colors;
}

// A null content stands for a file that is not there.
void writeUnlessNull(const QString& path, const QByteArray& content)
{
    if (content.isNull()) return;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A circular label 20 mm across.
void makeDisc(TZVLab& label, TZVBackStyle style)
{
    label.Measure().SetLabelType(ltCircle);
    label.Measure().SetWidth(20.0f);
    label.BackSurf().SetStyle(style);
    label.BackSurf().SetPrint(true);
}

TEST(GradientColor, EachComponentRunsFromTheFirstToTheSecondColour)
{
    struct Case
    {
        const char* name;
        TZVColor from, to;
        int i, n;
        TZVColor expected;
    };
    const Case cases[] = {
        {"first step is the first colour", 0x000000, 0x0000FF, 0, 256, 0x000000},
        {"last step is the second colour", 0x000000, 0x0000FF, 255, 256, 0x0000FF},
        {"middle", 0x000000, 0x0000FF, 128, 256, 0x000080},
        {"components apart", 0x00FF00, 0xFF0000, 1, 3, 0x807F00},
        {"falling half rounds away from zero", 0x0000FF, 0x000000, 1, 3, 0x00007F},
        {"one step only is the first colour", 0x123456, 0xABCDEF, 0, 1, 0x123456},
        {"system colours take their real colour", 0x8000000F, 0x80000005, 0, 2, 0xF0F0F0},
        {"system colours at the far end", 0x8000000F, 0x80000005, 1, 2, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GradientColor(c.from, c.to, c.i, c.n), c.expected);
    }
}

TEST(Background, PrintFlagCountingRunAndDirtyFlagDecideWhetherItPaints)
{
    struct Case
    {
        const char* name;
        bool print;
        bool noPrinterOutput;
        bool dirty;
        int target;
        bool painted;
    };
    const Case cases[] = {
        {"printer", true, false, false, ptPrinter, true},
        {"printer, not printed", false, false, false, ptPrinter, false},
        {"printer, counting run", true, true, false, ptPrinter, false},
        {"preview page", true, true, false, ptPreviewPage, true},
        {"preview page, not printed", false, false, false, ptPreviewPage, false},
        {"editor surface, dirty", false, false, true, ptEditor, true},
        {"editor surface, clean", false, false, false, ptEditor, false},
        {"editor picture", false, false, false, ptEditorPicture, true},
        {"target 4", true, false, true, 4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        label.BackSurf().SetPrint(c.print);
        label.BackSurf().SetBackDirty(c.dirty);
        label.SetNoPrinterOutput(c.noPrinterOutput);
        RecordingModelCanvas recording;
        label.BackSurf().PaintBackground(recording.canvas(), kNoOrigin, c.target, {0, 0, 601, 351});
        EXPECT_EQ(!recording.canvas().Log("FillRect").empty(), c.painted);
        if (c.target == ptEditor) {
            EXPECT_FALSE(label.BackSurf().BackDirty());
        }
    }
}

TEST(Background, PlainColourFillsTheLabelBoxOrTheAreaGiven)
{
    TZVLab label;
    label.BackSurf().SetColor(0x336699);
    label.BackSurf().SetPrint(true);
    RecordingModelCanvas page;
    label.BackSurf().PaintBackground(page.canvas(), {1000, 2000}, ptPreviewPage, kNoArea);
    EXPECT_THAT(page.canvas().Log("FillRect"), ElementsAre("FillRect(1000, 2000, 7000, 5500)"));
    EXPECT_THAT(page.canvas().Log("SelectBrush"), ElementsAre("SelectBrush(0x336699, bsSolid)"));

    RecordingModelCanvas picture;
    label.BackSurf().PaintBackground(picture.canvas(), {1000, 2000}, ptEditorPicture, {0, 0, 301, 176});
    EXPECT_THAT(picture.canvas().Log("FillRect"), ElementsAre("FillRect(0, 0, 301, 176)"));
}

TEST(Background, HorizontalGradientDrawsOneHairlinePerUnitOfHeight)
{
    TZVLab label;
    label.BackSurf().SetColor(0x000000);
    label.BackSurf().SetToColor(0xFFFFFF);
    label.BackSurf().SetStyle(biGradHor);
    label.BackSurf().SetPrint(true);
    RecordingModelCanvas page;
    label.BackSurf().PaintBackground(page.canvas(), {100, 200}, ptPreviewPage, kNoArea);
    const auto moves = page.canvas().Log("MoveTo");
    const auto lines = page.canvas().Log("LineTo");
    ASSERT_EQ(lines.size(), 3500u) << "one line per model unit of the label's height";
    EXPECT_EQ(moves.front(), "MoveTo(100, 200)");
    EXPECT_EQ(lines.front(), "LineTo(6100, 200)");
    EXPECT_EQ(moves.back(), "MoveTo(100, 3699)");
    const auto colors = penColors(page.canvas());
    EXPECT_EQ(colors[1], 0x000000u);
    EXPECT_EQ(colors.back(), 0xFFFFFFu);
    EXPECT_THAT(page.canvas().Log("SelectPen")[1], ::testing::HasSubstr(", 0, psSolid"));
}

TEST(Background, GradientsOnTheEditorSurfaceCountSurfacePixels)
{
    TestEditorLink editor;
    editor.surfaceWidth = 300;
    editor.surfaceHeight = 175;
    TZVLab label;
    label.SetEditor(&editor);
    struct Case
    {
        const char* name;
        TZVBackStyle style;
        std::size_t lines;
        const char* lastMove;
    };
    const Case cases[] = {
        {"horizontal bands", biGradHor, 175, "MoveTo(0, 174)"},
        {"vertical bands", biGradVer, 300, "MoveTo(299, 0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        label.BackSurf().SetStyle(c.style);
        label.BackSurf().SetBackDirty(true);
        RecordingModelCanvas recording;
        recording.canvas().SetMapMode(mmText);
        label.BackSurf().PaintBackground(recording.canvas(), kNoOrigin, ptEditor, {0, 0, 301, 176});
        EXPECT_EQ(recording.canvas().Log("LineTo").size(), c.lines);
        EXPECT_EQ(recording.canvas().Log("MoveTo").back(), c.lastMove);
    }
    label.SetEditor(nullptr);
}

TEST(Background, RenderedVerticalGradientRunsLeftToRight)
{
    TZVLab label;
    label.BackSurf().SetColor(0x0000FF);   // red
    label.BackSurf().SetToColor(0xFF0000); // blue
    label.BackSurf().SetStyle(biGradVer);
    label.BackSurf().SetPrint(true);
    ModelImage image(6000, 3500);
    label.BackSurf().PaintBackground(image.canvas(), kNoOrigin, ptPreviewPage, kNoArea);
    image.finish();
    EXPECT_EQ(image.pixelAtModel(0, 1000), 0xFFFF0000u);
    EXPECT_EQ(image.pixelAtModel(5995, 1000), 0xFF0000FFu);
    const QColor middle(image.pixelAtModel(3000, 1000));
    EXPECT_NEAR(middle.red(), 128, 3);
    EXPECT_NEAR(middle.blue(), 127, 3);
}

TEST(Background, PictureIsStretchedIntoTheLabel)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("back.bmp"));
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 0));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EncodeBmp(picture));
    file.close();

    TZVLab label;
    label.BackSurf().SetFileImage(path);
    label.BackSurf().SetStyle(biImage);
    label.BackSurf().SetPrint(true);
    RecordingModelCanvas page;
    label.BackSurf().PaintBackground(page.canvas(), {500, 500}, ptPrinter, kNoArea);
    EXPECT_THAT(page.canvas().Log("StretchDraw"),
                ElementsAre("StretchDraw(500, 500, 6500, 4000, image 40x20)"));
}

TEST(Background, StoredPictureThatCannotBeReadIsReportedAndTheDesignLoads)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    QByteArray emf(64, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    struct Case
    {
        const char* name;
        const char* file;
        QByteArray content; // null: no file
        bool reported;
    };
    const Case cases[] = {
        {"placeable metafile", "back.wmf", QByteArray("\xD7\xCD\xC6\x9A") + QByteArray(60, '\0'), true},
        {"enhanced metafile", "back.emf", emf, true},
        {"damaged bitmap", "back.bmp", QByteArray("BM") + QByteArray(60, '\x7F'), true},
        {"JPEG cut after its marker", "back.jpg", QByteArray("\xFF\xD8\xFF\xE0"), true},
        {"missing file: the name goes, silently", "gone.bmp", QByteArray(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        writeUnlessNull(path, c.content);
        // The JSON form stores the name without loading the picture.
        QJsonObject back{{"FileImage", path}, {"Style", int(biImage)}, {"Print", true}};
        QJsonObject design{{"BackSurf", back},
                           {"Elements", QJsonArray{QJsonObject{{"Kind", 2}}, QJsonObject{{"Kind", 4}}}}};
        const QByteArray stream = JsonToStream(QJsonDocument(design).toJson());

        TZVLab label;
        QStringList messages;
        label.OnMessage = [&](QObject* sender, const QString& message) {
            EXPECT_EQ(sender, &label);
            messages << message;
        };
        TZVMemoryStream input(stream);
        label.LoadFromStream(input);
        EXPECT_EQ(label.Elements().size(), 2);
        EXPECT_TRUE(label.BackSurf().Picture().isNull());
        EXPECT_EQ(label.BackSurf().Style(), biImage);
        if (c.reported) {
            EXPECT_EQ(messages, QStringList{QStringLiteral("INVALID IMAGE : ") + path});
            EXPECT_EQ(label.BackSurf().FileImage(), path);
            TZVMemoryStream output;
            label.SaveToStream(output);
            EXPECT_EQ(output.Bytes().toHex(), stream.toHex()) << "saved as it came";
        } else {
            EXPECT_THAT(messages, IsEmpty());
            EXPECT_TRUE(label.BackSurf().FileImage().isEmpty());
        }
        // It prints without the picture.
        RecordingModelCanvas page;
        label.BackSurf().PaintBackground(page.canvas(), {0, 0}, ptPrinter, kNoArea);
        EXPECT_THAT(page.canvas().Log("StretchDraw"), IsEmpty());
    }
}

// A design read from JSON shows its background picture as one read from a stream does, and
// fails the same way; the conversion to a stream keeps the name whatever the file.
TEST(Background, JsonDesignLoadsItsPictureAsTheStreamReaderDoes)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 0));
    struct Case
    {
        const char* name;
        const char* file;
        QByteArray content; // null: no file
        bool shown, reported, named;
    };
    const Case cases[] = {
        {"picture", "back.bmp", EncodeBmp(picture), true, false, true},
        {"damaged bitmap: reported, the name kept", "bad.bmp", QByteArray("BM") + QByteArray(60, '\x7F'), false, true,
         true},
        {"missing file: the name goes, silently", "gone.bmp", QByteArray(), false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        writeUnlessNull(path, c.content);
        const QJsonObject back{{"FileImage", path}, {"Style", int(biImage)}, {"Print", true}};
        const QByteArray json = QJsonDocument(QJsonObject{{"BackSurf", back}}).toJson();
        TZVLab fromJson;
        TZVLab fromStream;
        QStringList messages[2];
        fromJson.OnMessage = [&](QObject*, const QString& message) { messages[0] << message; };
        fromStream.OnMessage = [&](QObject*, const QString& message) { messages[1] << message; };
        DesignFromJson(fromJson, json);
        TZVMemoryStream stream(JsonToStream(json));
        fromStream.LoadFromStream(stream);
        for (TZVLab* label : {&fromJson, &fromStream}) {
            const QStringList& said = messages[label == &fromStream];
            EXPECT_EQ(said, c.reported ? QStringList{QStringLiteral("INVALID IMAGE : ") + path} : QStringList{});
            EXPECT_EQ(label->BackSurf().FileImage(), c.named ? path : QString());
            RecordingModelCanvas page;
            label->BackSurf().PaintBackground(page.canvas(), {500, 500}, ptPrinter, kNoArea);
            EXPECT_EQ(page.canvas().Log("StretchDraw"),
                      c.shown ? std::vector<std::string>{"StretchDraw(500, 500, 6500, 4000, image 40x20)"}
                              : std::vector<std::string>{});
        }
        EXPECT_TRUE(StreamToJson(JsonToStream(json)).contains(path.toUtf8())) << "the conversion keeps the name";
    }
}

TEST(Background, DiscPatternsArePieSegments)
{
    struct Case
    {
        const char* name;
        TZVBackStyle style;
        std::vector<std::string> pies;
    };
    // The disc is (0, 0)-(2000, 2000) with its centre at (1000, 1000).
    const Case cases[] = {
        {"halves across",
         biHalf1,
         {"Pie(0, 0, 2000, 2000, 2000, 1000, 0, 1000)", "Pie(0, 0, 2000, 2000, 0, 1000, 2000, 1000)"}},
        {"halves side by side",
         biHalf2,
         {"Pie(0, 0, 2000, 2000, 1000, 0, 1000, 2000)", "Pie(0, 0, 2000, 2000, 1000, 2000, 1000, 0)"}},
        {"quarters",
         biQuarter,
         {"Pie(0, 0, 2000, 2000, 1000, 0, 0, 1000)", "Pie(0, 0, 2000, 2000, 0, 1000, 1000, 2000)",
          "Pie(0, 0, 2000, 2000, 1000, 2000, 2000, 1000)", "Pie(0, 0, 2000, 2000, 2000, 1000, 1000, 0)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        makeDisc(label, c.style);
        RecordingModelCanvas page;
        label.BackSurf().PaintBackground(page.canvas(), kNoOrigin, ptPreviewPage, kNoArea);
        EXPECT_EQ(page.canvas().Log("Pie"), c.pies);
        EXPECT_THAT(page.canvas().Log("FillRect"), IsEmpty()) << "pages keep the paper round the disc";
    }
}

TEST(Background, RenderedQuartersAlternateTheTwoColours)
{
    TZVLab label;
    makeDisc(label, biQuarter);
    label.BackSurf().SetColor(0x000000);
    label.BackSurf().SetToColor(0x0000FF);
    ModelImage image(2000, 2000);
    label.BackSurf().PaintBackground(image.canvas(), kNoOrigin, ptPreviewPage, kNoArea);
    image.finish();
    EXPECT_EQ(image.pixelAtModel(600, 600), kBlackPixel) << "top left";
    EXPECT_EQ(image.pixelAtModel(1400, 1400), kBlackPixel) << "bottom right";
    EXPECT_EQ(image.pixelAtModel(1400, 600), 0xFFFF0000u) << "top right";
    EXPECT_EQ(image.pixelAtModel(600, 1400), 0xFFFF0000u) << "bottom left";
    EXPECT_EQ(image.pixelAtModel(100, 100), kWhitePixel) << "outside the disc";
}

TEST(Background, CircularGradientFillsShrinkingEllipsesAndTheHoleLast)
{
    TZVLab label;
    makeDisc(label, biGraCircle);
    label.Measure().SetInnerCircle(5.0f);
    label.BackSurf().SetColor(0x000000);
    label.BackSurf().SetToColor(0x0000FF);
    RecordingModelCanvas page;
    label.BackSurf().PaintBackground(page.canvas(), kNoOrigin, ptPreviewPage, kNoArea);
    const auto ellipses = page.canvas().Log("Ellipse");
    ASSERT_EQ(ellipses.size(), 1000u + 1) << "half the width in steps, then the hole";
    EXPECT_EQ(ellipses[0], "Ellipse(0, 0, 2000, 2000)");
    EXPECT_EQ(ellipses[999], "Ellipse(999, 999, 1001, 1001)");
    // The hole: inset (2000 - 2 x 500) / 2, white, no outline off screen.
    EXPECT_EQ(ellipses.back(), "Ellipse(500, 500, 1500, 1500)");
    EXPECT_EQ(page.canvas().Log("SelectPen").back(), "SelectPen(0x000000, 0, psClear, pcRound, pjRound)");
    EXPECT_EQ(page.canvas().Log("SelectBrush").back(), "SelectBrush(0xFFFFFF, bsSolid)");
}

TEST(Background, GradientsOfAHugeLabelDrawOnlyTheStepsThatReachTheDevice)
{
    // A 100 x 100 pixel device at 254 dpi shows model units -10 to 1010 each way.
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = 254;
    caps.Width = caps.Height = 100;
    TZVLab label;
    label.BackSurf().SetPrint(true);

    // A label 2e9 units high: the rows from 200 down to 1010.
    label.Measure().SetHeight(2.0e7f);
    label.BackSurf().SetStyle(biGradHor);
    TZVRecordingCanvas lines(nullptr, caps);
    mapModelUnits(lines, 254);
    label.BackSurf().PaintBackground(lines, {100, 200}, ptPreviewPage, kNoArea);
    const auto moves = lines.Log("MoveTo");
    ASSERT_EQ(moves.size(), 811u);
    EXPECT_EQ(moves.front(), "MoveTo(100, 200)");
    EXPECT_EQ(moves.back(), "MoveTo(100, 1010)");

    // A disc 2e9 across centred on the device: of its 1e9 rings, the walk starts at the last that
    // covers the corners (radius 1e9 - i >= 510 x sqrt 2, so i = 1e9 - 722) and ends at the centre.
    makeDisc(label, biGraCircle);
    label.Measure().SetWidth(2.0e7f);
    TZVRecordingCanvas rings(nullptr, caps);
    mapModelUnits(rings, 254);
    label.BackSurf().PaintBackground(rings, {-999999500, -999999500}, ptPreviewPage, kNoArea);
    const auto ellipses = rings.Log("Ellipse");
    ASSERT_EQ(ellipses.size(), 722u);
    EXPECT_EQ(ellipses.front(), "Ellipse(-222, -222, 1222, 1222)");
    EXPECT_EQ(ellipses.back(), "Ellipse(499, 499, 501, 501)");
}

TEST(Background, DiscOnTheEditorSurfaceGetsADottedOutlineAndHoleEdge)
{
    TestEditorLink editor;
    editor.surfaceWidth = 200;
    editor.surfaceHeight = 200;
    TZVLab label;
    label.SetEditor(&editor);
    makeDisc(label, biHalf2);
    label.Measure().SetInnerCircle(5.0f);
    label.BackSurf().SetColor(0x000000);
    label.BackSurf().SetBackDirty(true);
    RecordingModelCanvas recording;
    recording.canvas().SetMapMode(mmText);
    label.BackSurf().PaintBackground(recording.canvas(), kNoOrigin, ptEditor, {0, 0, 201, 201});
    EXPECT_THAT(recording.canvas().Log("FillRect"), ElementsAre("FillRect(0, 0, 201, 201)"))
        << "the surround in the editor's colour";
    // White contrasts with the black background; the hole's inset is counted in pixels.
    EXPECT_THAT(recording.canvas().Log("Ellipse"),
                ElementsAre("Ellipse(0, 0, 201, 201)", "Ellipse(50, 50, 151, 151)"));
    const auto pens = recording.canvas().Log("SelectPen");
    EXPECT_EQ(pens[pens.size() - 2], "SelectPen(0xFFFFFF, 1, psDot, pcRound, pjRound)");
    EXPECT_EQ(pens.back(), "SelectPen(0xFFFFFF, 0, psDot, pcRound, pjRound)");
    label.SetEditor(nullptr);
}

TEST(Background, HoleAsWideAsTheDiscCoversIt)
{
    TZVLab label;
    makeDisc(label, biNone);
    label.BackSurf().SetColor(0x000000);
    label.Measure().SetInnerCircle(10.0f);
    ModelImage image(2000, 2000);
    label.BackSurf().PaintBackground(image.canvas(), kNoOrigin, ptPreviewPage, kNoArea);
    image.finish();
    EXPECT_EQ(image.pixelAtModel(1000, 1000), kWhitePixel);
    EXPECT_EQ(image.pixelAtModel(1000, 30), kWhitePixel) << "no ring left at the edge";
    EXPECT_EQ(image.pixelAtModel(20, 20), kBlackPixel) << "corners keep the plain colour";
}

// ---- Frame ----

TEST(Frame, OutlinesInsideTheLabelEdge)
{
    struct Case
    {
        const char* name;
        TZVFrameStyle style;
        TZorvelType shape;
        int target;
        bool noPrinterOutput;
        std::vector<std::string> shapes;
    };
    // Origin (1000, 2000); label 60 x 35 mm (a disc: 60 x 60); Dist1 2 mm, Dist2 1 mm, radius 3 mm.
    const Case cases[] = {
        {"no frame", fsNone, ltRect, ptPreviewPage, false, {}},
        {"one line",
         fsOneLine,
         ltRect,
         ptPreviewPage,
         false,
         {"RoundRect(1200, 2200, 6801, 5301, 300, 300)"}},
        {"two lines",
         fsTwoLine,
         ltRect,
         ptPrinter,
         false,
         {"RoundRect(1200, 2200, 6801, 5301, 300, 300)", "RoundRect(1300, 2300, 6701, 5201, 300, 300)"}},
        {"disc",
         fsTwoLine,
         ltCircle,
         ptEditorPicture,
         false,
         {"Ellipse(1200, 2200, 6801, 7801)", "Ellipse(1300, 2300, 6701, 7701)"}},
        {"counting run", fsOneLine, ltRect, ptPrinter, true, {}},
        {"target 4", fsOneLine, ltRect, 4, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        label.Measure().SetLabelType(c.shape);
        label.Frame().SetStyle(c.style);
        label.Frame().SetDist1(2.0f);
        label.Frame().SetDist2(1.0f);
        label.Frame().SetRadio(3.0f);
        label.Frame().SetPenWidth(0.3f);
        label.Frame().SetColor(0x00AA00);
        label.SetNoPrinterOutput(c.noPrinterOutput);
        RecordingModelCanvas recording;
        label.Frame().PaintFrame(recording.canvas(), {1000, 2000}, c.target);
        std::vector<std::string> shapes = recording.canvas().Log("RoundRect");
        for (const std::string& e : recording.canvas().Log("Ellipse"))
            shapes.push_back(e);
        EXPECT_EQ(shapes, c.shapes);
        if (!c.shapes.empty()) {
            EXPECT_THAT(recording.canvas().Log("SelectPen"),
                        ElementsAre("SelectPen(0x00AA00, 30, psInsideFrame, pcRound, pjRound)"));
        }
    }
}

TEST(Frame, RenderedTwoLineFrameLiesJustInsideTheEdge)
{
    TZVLab label;
    label.Frame().SetStyle(fsTwoLine);
    label.Frame().SetPenWidth(0.1f);
    ModelImage image(6000, 3500);
    label.Frame().PaintFrame(image.canvas(), kNoOrigin, ptPreviewPage);
    image.finish();
    EXPECT_EQ(image.pixelAtModel(0, 1700), kBlackPixel) << "first outline on the label's edge pixel";
    EXPECT_EQ(image.pixelAtModel(5990, 1700), kBlackPixel) << "right edge pixel";
    EXPECT_EQ(image.pixelAtModel(50, 1700), kWhitePixel);
    EXPECT_EQ(image.pixelAtModel(100, 1700), kBlackPixel) << "second outline 1 mm further in";
    EXPECT_EQ(image.pixelAtModel(3000, 3490), kBlackPixel) << "bottom edge pixel";
}

// ---- Guides and title ----

TEST(Guides, DottedLinesAcrossTheLabelOnlyWhenShown)
{
    TZVLab label;
    label.BackSurf().SetGuideX(10.0f);
    label.BackSurf().SetGuideY(5.0f);
    label.BackSurf().SetAlignColor(0x00FF00);
    RecordingModelCanvas hidden;
    label.BackSurf().PaintGuides(hidden.canvas());
    EXPECT_THAT(hidden.canvas().Log(), IsEmpty());

    label.BackSurf().SetShowAlign(true);
    RecordingModelCanvas shown;
    label.BackSurf().PaintGuides(shown.canvas());
    EXPECT_THAT(shown.canvas().Log(),
                ElementsAre("SelectPen(0x00FF00, 0, psDot, pcRound, pjRound)", "MoveTo(1000, 0)",
                            "LineTo(1000, 3500)", "MoveTo(0, 500)", "LineTo(6000, 500)"));
}

TEST(Title, DrawnAtItsPlaceInItsFontWithoutExtraSpacing)
{
    TZVLab label;
    label.Title().X = 1500;
    label.Title().Y = 700;
    label.Title().FontName = QStringLiteral("Courier New");
    label.Title().FontHeight = 420;
    label.Title().Color = 0x0000FF;
    RecordingModelCanvas recording;
    label.PaintTitle(recording.canvas(), QStringLiteral("Page 3"));
    EXPECT_THAT(recording.canvas().Log("SelectFont"),
                ElementsAre("SelectFont(\"Courier New\", 420, 0, 0x0000FF, 0, 0, 0, 0)"));
    EXPECT_THAT(recording.canvas().Log("SetTextCharacterExtra"), ElementsAre("SetTextCharacterExtra(0)"));
    EXPECT_THAT(recording.canvas().Log("ExtTextOut"), ElementsAre("ExtTextOut(1500, 700, \"Page 3\")"));
}

} // namespace
} // namespace zorvel::test
