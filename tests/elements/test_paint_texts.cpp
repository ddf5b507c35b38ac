// Painting of the single-line texts and the paragraph: geometry through the recording canvas,
// ink through real images, data substitution and the print-text event.
#include "../support/PaintSupport.h"
#include "ElementTestSupport.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVTextElements.h"
#include "platform/ZVMemoryDataSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace zorvel::test {
namespace {

// The recorder's fixed metrics: the cell is the font height, every character half of it wide.
constexpr int kCell = 200;
constexpr int kChar = kCell / 2;

struct TextOut
{
    int x;
    int y;
    QString text;
    friend bool operator==(const TextOut&, const TextOut&) = default;
};

void PrintTo(const TextOut& t, std::ostream* os)
{
    *os << "(" << t.x << ", " << t.y << ", \"" << t.text.toStdString() << "\")";
}

std::vector<TextOut> TextOuts(const TZVRecordingCanvas& canvas)
{
    std::vector<TextOut> outs;
    for (const TZVCanvasCall& c : canvas.Calls())
        if (c.Op == "ExtTextOut") outs.push_back({c.Args[0], c.Args[1], c.Text});
    return outs;
}

// The calls of one operation, each as its argument list.
std::vector<std::vector<int>> ArgsOf(const TZVRecordingCanvas& canvas, const std::string& op)
{
    std::vector<std::vector<int>> args;
    for (const TZVCanvasCall& c : canvas.Calls())
        if (c.Op == op) args.push_back(c.Args);
    return args;
}

bool IsInk(QRgb p)
{
    return qGray(p) < 160;
}

// The bounding box of the pixels `pick` accepts, in model units (10 a pixel at 254 dpi); Left
// above Right when there are none.
template <typename Pick>
TRect InkBox(const QImage& image, Pick pick)
{
    TRect box{1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pick(image.pixel(x, y))) {
                box.Left = std::min(box.Left, x * 10);
                box.Top = std::min(box.Top, y * 10);
                box.Right = std::max(box.Right, x * 10 + 10);
                box.Bottom = std::max(box.Bottom, y * 10 + 10);
            }
    return box;
}

void ExpectNear(const TRect& actual, const TRect& expected, int tolerance)
{
    EXPECT_NEAR(actual.Left, expected.Left, tolerance);
    EXPECT_NEAR(actual.Top, expected.Top, tolerance);
    EXPECT_NEAR(actual.Right, expected.Right, tolerance);
    EXPECT_NEAR(actual.Bottom, expected.Bottom, tolerance);
}

int CountPixels(const QImage& image, TZVColor color)
{
    const QColor wanted = toQColor(color);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) < 40 && std::abs(c.green() - wanted.green()) < 40 &&
                std::abs(c.blue() - wanted.blue()) < 40)
                ++n;
        }
    return n;
}

class PaintTexts : public ElementTest
{
protected:
    TZVRecordingCanvas& canvas() { return m_recorder.canvas(); }

private:
    RecordingModelCanvas m_recorder;
};

// ---- Single-line texts: geometry ----

TEST_F(PaintTexts, TextOriginAndBoxFollowTheAnchorAlignment)
{
    struct Case
    {
        const char* name;
        TTextAlign align;
        TPoint origin; // on the sheet, offset (50, 70) included
        TRect modelRect;
    };
    // "abcd" measures 400 x 200; anchor (1000, 1000).
    const Case cases[] = {
        {"left-top", taLeTo, {1050, 1070}, {1000, 1000, 1400, 1200}},
        {"centre-top", taCeTo, {850, 1070}, {800, 1000, 1200, 1200}},
        {"right-bottom", taRiBo, {650, 870}, {600, 800, 1000, 1000}},
        {"centre-bottom", taCeBo, {850, 870}, {800, 800, 1200, 1000}},
        {"left-middle", taLeCe, {1050, 970}, {1000, 900, 1400, 1100}},
        {"centre-middle", taCeCe, {850, 970}, {800, 900, 1200, 1100}},
        {"right-middle", taRiCe, {650, 970}, {600, 900, 1000, 1100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVText text(label);
        text.SetText("abcd");
        text.SetFontHeight(2.0f);
        text.SetX1(10.0f);
        text.SetY1(10.0f);
        text.SetTextAlign(c.align);

        canvas().Clear();
        text.Paint(canvas(), {50, 70}, ptPreviewPage, 0);
        EXPECT_EQ(TextOuts(canvas()), (std::vector<TextOut>{{c.origin.X, c.origin.Y, "abcd"}}));
        EXPECT_EQ(text.X2(), c.modelRect.Right);
        EXPECT_EQ(text.Y2(), c.modelRect.Bottom);

        text.Paint(canvas(), {0, 0}, ptEditor, 1);
        EXPECT_EQ(text.ModelRect(), c.modelRect);
        EXPECT_EQ(editor.selectionFrames.back().modelRect, c.modelRect);
    }
}

TEST_F(PaintTexts, RightBottomAnchorSpansTheBoxToTheLeftAndAbove)
{
    // Eight characters of a 10-unit font: a 40 x 10 box.
    TZVText text(label);
    text.SetText("abcdefgh");
    text.SetFontHeight(0.1f);
    text.SetX1(1.0f);
    text.SetY1(1.0f);
    text.SetTextAlign(taRiBo);
    text.Paint(canvas(), {0, 0}, ptEditor, 1);
    EXPECT_EQ(text.ModelRect(), (TRect{60, 90, 100, 100}));
}

TEST_F(PaintTexts, FontCarriesTheElementsFaceStyleAndRotation)
{
    TZVText text(label);
    text.SetFontName("Courier New");
    text.SetFontHeight(3.5f);
    text.SetBold(true);
    text.SetUnderline(true);
    text.SetColor(0x123456);
    text.SetAngle(90);
    text.SetSeparation(0.2f);
    text.SetText("abcd");
    text.Paint(canvas(), {0, 0}, ptPrinter, 0);
    // The character extra counts in the measured box: 4 x (175 + 20) along the turned text.
    EXPECT_EQ(text.Y1() - text.Y2(), 4 * (175 + 20));
    const auto fonts = canvas().Log("SelectFont");
    ASSERT_FALSE(fonts.empty());
    EXPECT_EQ(fonts.front(), R"(SelectFont("Courier New", 350, 900, 0x123456, 1, 0, 1, 0))");
    EXPECT_EQ(canvas().Log("SetTextCharacterExtra").front(), "SetTextCharacterExtra(20)");
    EXPECT_EQ(canvas().Log("SetTextAlign").front(), "SetTextAlign(0)");
    // The canvas is left as it was found: the text's font is released.
    EXPECT_EQ(canvas().Log("SaveDC").size(), 1u);
    EXPECT_EQ(canvas().Log("RestoreDC").size(), 1u);
    EXPECT_EQ(canvas().Calls().back().Op, "RestoreDC");
}

TEST_F(PaintTexts, BorderPaddingAndShadowGrowTheBoxAndMoveTheOrigins)
{
    struct Case
    {
        const char* name;
        bool shadow;
        bool border;
        int radius;
        int pen;
        TPoint origin;
        TPoint shadowOrigin;
        std::vector<int> frame; // Rectangle or RoundRect arguments
        TRect modelRect;
    };
    // "ab": 200 x 200 at (1000, 1000), left-top; gap (30, 40), padding (20, 10), pen 15:
    // width 200 + 30 + 2 x 20 + 2 x 15 = 300, height 200 + 40 + 2 x 10 + 2 x 15 = 290.
    const Case cases[] = {
        {"plain", false, false, 0, 15, {1000, 1000}, {}, {}, {1000, 1000, 1200, 1200}},
        {"shadow", true, false, 0, 15, {1000, 1000}, {1030, 1040}, {}, {1000, 1000, 1230, 1240}},
        {"border", false, true, 0, 15, {1035, 1025}, {}, {1000, 1000, 1271, 1251}, {1000, 1000, 1270, 1250}},
        {"both", true, true, 0, 15, {1035, 1025}, {1065, 1065}, {1000, 1000, 1301, 1291}, {1000, 1000, 1300, 1290}},
        {"rounded", false, true, 60, 15, {1035, 1025}, {}, {1000, 1000, 1271, 1251, 60, 60}, {1000, 1000, 1270, 1250}},
        {"no pen", false, true, 0, 0, {1020, 1010}, {}, {1000, 1000, 1241, 1221}, {1000, 1000, 1240, 1220}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVText text(label);
        text.SetText("ab");
        text.SetFontHeight(2.0f);
        text.SetX1(10.0f);
        text.SetY1(10.0f);
        text.SetShadow(c.shadow);
        text.SetGapX(0.3f);
        text.SetGapY(0.4f);
        text.SetShadowColor(0x808080);
        text.SetColor(0x000080);
        text.SetShowBorder(c.border);
        text.SetBorderColor(0x00FF00);
        text.SetBorderRadio(c.radius / 100.0f);
        text.SetPaddingX(0.2f);
        text.SetPaddingY(0.1f);
        text.SetPenWidth(c.pen / 100.0f);

        canvas().Clear();
        text.Paint(canvas(), {0, 0}, ptEditor, 1);
        EXPECT_EQ(text.ModelRect(), c.modelRect);
        std::vector<TextOut> expected;
        if (c.shadow) expected.push_back({c.shadowOrigin.X, c.shadowOrigin.Y, "ab"});
        expected.push_back({c.origin.X, c.origin.Y, "ab"});
        EXPECT_EQ(TextOuts(canvas()), expected);

        const auto frames = ArgsOf(canvas(), c.radius != 0 ? "RoundRect" : "Rectangle");
        if (c.border) {
            ASSERT_EQ(frames.size(), 1u);
            EXPECT_EQ(frames.front(), c.frame);
            const auto pens = canvas().Log("SelectPen");
            ASSERT_FALSE(pens.empty());
            EXPECT_EQ(pens.back(), c.pen > 0 ? "SelectPen(0x00FF00, 15, psInsideFrame, pcRound, pjRound)"
                                             : "SelectPen(0x00FF00, 0, psClear, pcRound, pjRound)");
        } else {
            EXPECT_TRUE(frames.empty());
        }
        if (c.shadow) {
            // The shadow in its colour, then the text back in the element's colour.
            std::vector<int> colours;
            for (const auto& args : ArgsOf(canvas(), "SelectFont")) colours.push_back(args[2]);
            EXPECT_EQ(colours, (std::vector<int>{0x000080, 0x808080, 0x000080}));
        }
    }
}

TEST_F(PaintTexts, HugeStoredSizesSaturateTheBoxInsteadOfWrapping)
{
    struct Case
    {
        const char* name;
        float anchor;  // X1 and Y1, mm
        float padding; // both ways, with a border of pen 10
        bool shadow;   // gap both ways 2e9
        int angle;
        std::vector<TextOut> outs;
        TRect modelRect;
    };
    constexpr int kMax = std::numeric_limits<int>::max();
    // "ab" is 200 x 200. A padding of 2e9 makes the box 200 + 2 x (2e9 + 10) wide: past the int range.
    const Case cases[] = {
        {"padding", 10.0f, 2.0e7f, false, 0, {{2000001010, 2000001010, "ab"}}, {1000, 1000, kMax, kMax}},
        {"shadow gap", 2.0e7f, 0, true, 0, {{kMax, kMax, "ab"}, {2000000000, 2000000000, "ab"}},
         {2000000000, 2000000000, kMax, kMax}},
        // The far corner (kMax, kMax) turned about (1000, 1000): (1000 + kMax - 1000, 1000 - (kMax - 1000)).
        {"turned padding", 10.0f, 2.0e7f, false, 90, {{2000001010, -1999999010, "ab"}},
         {1000, 2000 - kMax, kMax, 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVText text(label);
        text.SetText("ab");
        text.SetFontHeight(2.0f);
        text.SetX1(c.anchor);
        text.SetY1(c.anchor);
        text.SetAngle(c.angle);
        text.SetShowBorder(c.padding > 0);
        text.SetPaddingX(c.padding);
        text.SetPaddingY(c.padding);
        text.SetPenWidth(0.1f);
        text.SetShadow(c.shadow);
        text.SetGapX(2.0e7f);
        text.SetGapY(2.0e7f);

        canvas().Clear();
        text.Paint(canvas(), {0, 0}, ptEditor, 1);
        EXPECT_EQ(TextOuts(canvas()), c.outs);
        EXPECT_EQ(text.ModelRect(), c.modelRect);
    }
}

TEST_F(PaintTexts, TurnedTextsTurnTheirOriginsAndBoxesAboutTheAnchor)
{
    struct Case
    {
        const char* name;
        int angle;
        TTextAlign align;
        bool border;
        TPoint origin;
        TRect modelRect;
    };
    // "abcd" 400 x 200 at anchor (1000, 1000); border: padding 0, pen 10 -> box 420 x 220.
    const Case cases[] = {
        {"90 left-top", 90, taLeTo, false, {1000, 1000}, {1000, 600, 1200, 1000}},
        {"90 right-bottom", 90, taRiBo, false, {800, 1400}, {800, 1000, 1000, 1400}},
        {"180 left-top", 180, taLeTo, false, {1000, 1000}, {600, 800, 1000, 1000}},
        {"270 left-top", 270, taLeTo, false, {1000, 1000}, {800, 1000, 1000, 1400}},
        {"90 bordered", 90, taLeTo, true, {1010, 990}, {1000, 580, 1220, 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVText text(label);
        text.SetText("abcd");
        text.SetFontHeight(2.0f);
        text.SetX1(10.0f);
        text.SetY1(10.0f);
        text.SetTextAlign(c.align);
        text.SetAngle(c.angle);
        text.SetShowBorder(c.border);
        text.SetPenWidth(0.1f);

        canvas().Clear();
        text.Paint(canvas(), {0, 0}, ptEditor, 1);
        EXPECT_EQ(TextOuts(canvas()), (std::vector<TextOut>{{c.origin.X, c.origin.Y, "abcd"}}));
        EXPECT_EQ(text.ModelRect(), c.modelRect);
        EXPECT_EQ(ArgsOf(canvas(), "SelectFont").front()[1], c.angle * 10);
        if (c.border) {
            // The extra unit that makes the frame inclusive goes outwards at every angle.
            const auto frames = ArgsOf(canvas(), "Rectangle");
            ASSERT_EQ(frames.size(), 1u);
            EXPECT_EQ(frames.front(), (std::vector<int>{1000, 580, 1221, 1001}));
        }
    }
}

TEST_F(PaintTexts, BackgroundFillsTheCellsUnlessTransparent)
{
    TZVText text(label);
    text.SetText("ab");
    text.SetFontHeight(2.0f);
    text.SetBackColor(0x00FFFF);

    text.Paint(canvas(), {0, 0}, ptPrinter, 0);
    EXPECT_EQ(canvas().Log("SelectBrush").back(), "SelectBrush(0x00FFFF, bsClear)");

    text.SetTransparent(false);
    canvas().Clear();
    text.Paint(canvas(), {0, 0}, ptPrinter, 0);
    EXPECT_EQ(canvas().Log("SelectBrush").back(), "SelectBrush(0x00FFFF, bsSolid)");
    EXPECT_TRUE(canvas().Log("FillRect").empty());

    // With a shadow both cells are filled before any glyph, and the glyphs go on without background.
    text.SetShadow(true);
    canvas().Clear();
    text.Paint(canvas(), {0, 0}, ptPrinter, 0);
    EXPECT_EQ(canvas().Log("FillRect"),
              (std::vector<std::string>{"FillRect(50, 50, 250, 250)", "FillRect(0, 0, 200, 200)"}));
    std::vector<std::string> order;
    for (const TZVCanvasCall& call : canvas().Calls())
        if (call.Op == "FillRect" || call.Op == "ExtTextOut" || call.Op == "SelectBrush") order.push_back(call.Op);
    EXPECT_EQ(order, (std::vector<std::string>{"SelectBrush", "FillRect", "FillRect", "SelectBrush", "ExtTextOut",
                                               "ExtTextOut"}));
}

TEST_F(PaintTexts, EmptyTextShowsADashInTheDesignerOnly)
{
    TZVText text(label);
    text.SetText("");
    text.Paint(canvas(), {0, 0}, ptPrinter, 0);
    EXPECT_EQ(TextOuts(canvas()).front().text, "");
    EXPECT_EQ(text.Text(), "");

    canvas().Clear();
    text.Paint(canvas(), {0, 0}, ptEditor, 1);
    EXPECT_EQ(TextOuts(canvas()).front().text, "-");
    EXPECT_EQ(text.Text(), "-");
}

TEST_F(PaintTexts, CompoundAndQuestionTextsComposeTheirContent)
{
    TZVAddText add(label);
    add.SetText("42");
    TZVAskText ask(label);
    struct Case
    {
        const char* name;
        TZVElement* element;
        QString answer;
        QString drawn;
    };
    const Case cases[] = {
        {"compound", &add, {}, "Pre42Post"},
        {"answered", &ask, "yes", "yes"},
        {"unanswered", &ask, "", "."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ask.SetAnswer(c.answer);
        for (int target : {int(ptEditor), int(ptPrinter)}) {
            canvas().Clear();
            c.element->Paint(canvas(), {0, 0}, target, 1);
            ASSERT_EQ(TextOuts(canvas()).size(), 1u);
            EXPECT_EQ(TextOuts(canvas()).front().text, c.drawn);
        }
    }
    EXPECT_EQ(ask.Answer(), "") << "the dot is only drawn";
}

TEST_F(PaintTexts, NotPrintedTextsDrawOnlyInTheDesigner)
{
    TZVText text(label);
    TZVAddText add(label);
    TZVAskText ask(label);
    TZVParagraph paragraph(label);
    paragraph.SetX2(30.0f);
    paragraph.SetY2(20.0f);
    for (TZVElement* element : std::vector<TZVElement*>{&text, &add, &ask, &paragraph}) {
        SCOPED_TRACE(element->ID().toStdString());
        element->SetPrint(false);
        for (int target : {int(ptPrinter), int(ptPreviewPage), int(ptEditorPicture)}) {
            canvas().Clear();
            element->Paint(canvas(), {0, 0}, target, 0);
            EXPECT_TRUE(canvas().Calls().empty()) << target;
        }
        element->Paint(canvas(), {0, 0}, ptEditor, 1);
        EXPECT_FALSE(TextOuts(canvas()).empty());
    }
}

// ---- Data and the print-text event ----

class PaintTextsWithData : public PaintTexts
{
protected:
    PaintTextsWithData()
    {
        products.AddField("NAME", fkString);
        products.AddField("PRICE", fkFloat);
        products.AppendRecord({QString("Bolt"), 12.5});
        products.AppendRecord({QVariant(), 3.0});
        products.Open();
        label.SetDataAccessType(daDataSet);
        label.SetDataSet(&products);
        label.SetDataEnabled(true);
    }
    ~PaintTextsWithData() override { label.SetDataSet(nullptr); }

    TZVMemoryDataSet products;
};

TEST_F(PaintTextsWithData, OutputShowsTheFormattedFieldValueAndFiresTheEvent)
{
    TZVText price(label);
    price.SetFieldName("PRICE");
    price.SetData(true);
    price.SetDisplayFormat("0.00");
    TZVAddText name(label);
    name.SetFieldName("NAME");
    name.SetData(true);
    TZVText fixed(label);
    fixed.SetText("fixed");

    std::vector<std::pair<QString, QString>> events;
    label.OnPrintText = [&](QObject* sender, const QString& id, QString& text) {
        EXPECT_TRUE(sender == &price || sender == &fixed);
        events.emplace_back(id, text);
        if (id == fixed.ID()) text = "changed";
    };

    struct Case
    {
        const char* name;
        int target;
        int dataMode;
        std::vector<QString> drawn; // price, name, fixed
        std::vector<std::pair<QString, QString>> events;
    };
    const QString p = price.ID(), f = fixed.ID();
    const Case cases[] = {
        {"designer", ptEditor, 1, {"PRICE", "PreNAMEPost", "fixed"}, {}},
        {"printer with data", ptPrinter, 1, {"12.50", "PreBoltPost", "changed"}, {{p, "12.50"}, {f, "fixed"}}},
        {"preview without data", ptPreviewPage, 0, {"PRICE", "PreNAMEPost", "changed"}, {{p, "PRICE"}, {f, "fixed"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        std::vector<QString> drawn;
        for (TZVElement* element : std::vector<TZVElement*>{&price, &name, &fixed}) {
            canvas().Clear();
            element->Paint(canvas(), {0, 0}, c.target, c.dataMode);
            ASSERT_EQ(TextOuts(canvas()).size(), 1u);
            drawn.push_back(TextOuts(canvas()).front().text);
        }
        EXPECT_EQ(drawn, c.drawn);
        EXPECT_EQ(events, c.events);
    }
    label.OnPrintText = nullptr;
}

TEST_F(PaintTextsWithData, NullFieldLeavesPrefixAndSuffixAndAnEmptyText)
{
    products.Next();
    TZVAddText name(label);
    name.SetFieldName("NAME");
    name.SetData(true);
    TZVText plain(label);
    plain.SetFieldName("NAME");
    plain.SetData(true);
    name.Paint(canvas(), {0, 0}, ptPrinter, 1);
    plain.Paint(canvas(), {0, 0}, ptPrinter, 1);
    const auto outs = TextOuts(canvas());
    ASSERT_EQ(outs.size(), 2u);
    EXPECT_EQ(outs[0].text, "PrePost");
    EXPECT_EQ(outs[1].text, "") << "no dash on output";
    EXPECT_EQ(plain.Text(), "NAME");
}

TEST_F(PaintTextsWithData, DataWithoutABoundFieldKeepsTheOwnContent)
{
    TZVText text(label);
    text.SetText("own");
    text.SetData(true);
    ASSERT_TRUE(text.BoundField().isEmpty());
    text.Paint(canvas(), {0, 0}, ptPrinter, 1);
    EXPECT_EQ(TextOuts(canvas()).front().text, "own");
}

TEST_F(PaintTextsWithData, ParagraphShowsTheValueUnformatted)
{
    TZVParagraph paragraph(label);
    paragraph.SetFieldName("PRICE");
    paragraph.SetData(true);
    paragraph.SetDisplayFormat("0.00");
    paragraph.SetX2(40.0f);
    paragraph.SetY2(20.0f);
    paragraph.Paint(canvas(), {0, 0}, ptPrinter, 1);
    ASSERT_EQ(TextOuts(canvas()).size(), 1u);
    EXPECT_EQ(TextOuts(canvas()).front().text, "12.5");
}

// ---- Paragraph: flow ----

// A paragraph whose layout frame (inside pen 10 + 5) is 600 wide from x = 15 and starts at y = 15:
// twelve 50-unit characters a line, 100 units a line.
class PaintParagraph : public PaintTexts
{
protected:
    PaintParagraph()
    {
        paragraph.SetFontHeight(1.0f);
        paragraph.SetX2(6.3f);
        paragraph.SetY2(10.0f);
    }

    std::vector<TextOut> Flow(const QString& text, TTextFormat alignment = tfLeft)
    {
        paragraph.SetText(text);
        paragraph.SetAlignment(alignment);
        canvas().Clear();
        paragraph.Paint(canvas(), {0, 0}, ptPrinter, 0);
        return TextOuts(canvas());
    }

    TZVParagraph paragraph{label};
};

TEST_F(PaintParagraph, WordsFlowIntoLinesAndAlign)
{
    struct Case
    {
        const char* name;
        QString text;
        TTextFormat alignment;
        std::vector<TextOut> lines;
    };
    const Case cases[] = {
        {"left", "aaa bbb ccc ddd eee", tfLeft, {{15, 15, "aaa bbb ccc"}, {15, 115, "ddd eee"}}},
        {"right", "aaa bbb ccc ddd eee", tfRight, {{65, 15, "aaa bbb ccc"}, {265, 115, "ddd eee"}}},
        {"centre", "aaa bbb ccc ddd eee", tfCenter, {{40, 15, "aaa bbb ccc"}, {140, 115, "ddd eee"}}},
        {"runs of spaces collapse", "  aaa   bbb  ", tfLeft, {{15, 15, "aaa bbb"}}},
        {"explicit breaks", "aaa\r\nbbb ccc\nddd", tfLeft, {{15, 15, "aaa"}, {15, 115, "bbb ccc"}, {15, 215, "ddd"}}},
        {"spaces before a break", "aaa  \nbbb", tfLeft, {{15, 15, "aaa"}, {15, 115, "bbb"}}},
        {"break after a wrapped word", "aaa bbb ccc ddd\neee", tfLeft,
         {{15, 15, "aaa bbb ccc"}, {15, 115, "ddd"}, {15, 215, "eee"}}},
        {"exact fit", "aaaaaaaaaaaa bb", tfLeft, {{15, 15, "aaaaaaaaaaaa"}, {15, 115, "bb"}}},
        {"long word after a skipped line", "bbbbbbbbbbbbbbbb cc", tfLeft,
         {{15, 115, "bbbbbbbbbbbbbbbb"}, {15, 215, "cc"}}},
        {"empty", "", tfLeft, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Flow(c.text, c.alignment), c.lines);
    }
}

TEST_F(PaintParagraph, JustifiedLinesSpreadTheMissingWidthExceptBeforeABreakAndAtTheEnd)
{
    const auto lines = Flow("aaa bbb ccc ddd eee\nfff ggg hhh iii jjj kkk", tfJustify);
    ASSERT_EQ(lines.size(), 4u);
    // The justification in force at each line.
    std::vector<std::vector<int>> atLine;
    std::vector<int> current{0, 0};
    for (const TZVCanvasCall& call : canvas().Calls()) {
        if (call.Op == "SetTextJustification") current = call.Args;
        if (call.Op == "ExtTextOut") atLine.push_back(current);
    }
    // "aaa bbb ccc" is 550 of 600 with two gaps; "fff ggg hhh" likewise; "ddd eee" ends at a
    // break and "iii jjj kkk" ends the text.
    EXPECT_EQ(atLine, (std::vector<std::vector<int>>{{50, 2}, {0, 0}, {50, 2}, {0, 0}}));
    EXPECT_EQ(lines[0], (TextOut{15, 15, "aaa bbb ccc"}));
    EXPECT_EQ(lines[3], (TextOut{15, 315, "iii jjj kkk"}));
}

TEST_F(PaintParagraph, TextThatDoesNotFitIsCutAfterTheLastWholeLine)
{
    // Frame from 15 to 314: lines at 15 and 115 fit, one at 215 would reach 315.
    paragraph.SetY2(3.29f);
    const auto lines = Flow("aaa\nbbb\nccc\nddd");
    EXPECT_EQ(lines, (std::vector<TextOut>{{15, 15, "aaa"}, {15, 115, "bbb"}}));
    paragraph.SetY2(3.30f);
    EXPECT_EQ(Flow("aaa\nbbb\nccc\nddd").size(), 3u);
}

TEST_F(PaintParagraph, BoxBorderAndBackground)
{
    paragraph.SetX1(1.0f);
    paragraph.SetY1(2.0f);
    paragraph.SetBackColor(0x00FFFF);
    Flow("a");
    EXPECT_TRUE(canvas().Log("FillRect").empty());
    EXPECT_TRUE(canvas().Log("Rectangle").empty());

    paragraph.SetTransparent(false);
    Flow("a");
    EXPECT_EQ(canvas().Log("FillRect"), (std::vector<std::string>{"FillRect(100, 200, 631, 1001)"}));

    paragraph.SetShowBorder(true);
    paragraph.SetBorderColor(0x0000FF);
    const auto lines = Flow("a");
    EXPECT_EQ(canvas().Log("Rectangle"), (std::vector<std::string>{"Rectangle(100, 200, 631, 1001)"}));
    EXPECT_EQ(canvas().Log("SelectPen").back(), "SelectPen(0x0000FF, 10, psInsideFrame, pcRound, pjRound)");
    EXPECT_EQ(lines, (std::vector<TextOut>{{115, 215, "a"}}));
    // Text goes on without background: the box is filled already.
    EXPECT_EQ(canvas().Log("SelectBrush").back(), "SelectBrush(0x00FFFF, bsClear)");

    paragraph.Paint(canvas(), {0, 0}, ptEditor, 1);
    EXPECT_EQ(paragraph.ModelRect(), (TRect{100, 200, 630, 1000}));
}

TEST_F(PaintParagraph, QuarterTurnsLayTheLinesAlongTheTurnedBox)
{
    // Box (1000, 2000)-(1630, 3000) on the sheet at offset (0, 0).
    paragraph.SetX1(10.0f);
    paragraph.SetY1(20.0f);
    paragraph.SetX2(16.3f);
    paragraph.SetY2(30.0f);
    struct Case
    {
        int angle;
        std::vector<TextOut> lines;
    };
    // Anchors (1000, 3000), (1630, 3000) and (1630, 2000); the frame is 970 long at 90 and 270
    // ("aaa bbb ccc ddd eee" is 950) and 600 at 180. Each line origin is the unturned one turned.
    const Case cases[] = {
        // From the bottom-left corner upwards, the first line along the left edge.
        {90, {{1015, 2985, "aaa bbb ccc ddd eee"}, {1115, 2985, "fff"}}},
        // From the bottom-right corner leftwards, upside down.
        {180, {{1615, 2985, "aaa bbb ccc"}, {1615, 2885, "ddd eee fff"}}},
        // From the top-right corner downwards.
        {270, {{1615, 2015, "aaa bbb ccc ddd eee"}, {1515, 2015, "fff"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        paragraph.SetAngle(c.angle);
        EXPECT_EQ(Flow("aaa bbb ccc ddd eee fff"), c.lines);
        EXPECT_EQ(ArgsOf(canvas(), "SelectFont").front()[1], c.angle * 10);
    }
}

TEST_F(PaintParagraph, RoundLabelShortensLinesToTheCircle)
{
    label.Measure().SetLabelType(ltCircle); // 60 mm across: centre (3000, 3000), radius 3000
    paragraph.SetX2(60.0f);
    paragraph.SetY2(60.0f);
    paragraph.SetFontHeight(2.0f);
    QString text;
    for (int i = 0; i < 1200; ++i) text += "ab ";
    const auto lines = Flow(text);
    ASSERT_GT(lines.size(), 20u);
    const auto inCircle = [](double x, double y) { return std::hypot(x - 3000, y - 3000) <= 3000.5; };
    for (const TextOut& line : lines) {
        SCOPED_TRACE(line.y);
        const int right = line.x + int(line.text.size()) * kChar;
        for (const int y : {line.y, line.y + kCell}) {
            EXPECT_TRUE(inCircle(line.x, y));
            EXPECT_TRUE(inCircle(right, y));
        }
    }
    // Short near the top and the bottom, nearly the full width across the middle.
    EXPECT_EQ(lines.front().y, 15);
    EXPECT_GT(lines.front().x, 2000);
    EXPECT_EQ(lines.back().y, 5615) << "the next line would reach below the frame";
    EXPECT_GT(lines.back().x, 1500);
    const TextOut& middle = lines[lines.size() / 2];
    EXPECT_LT(middle.x, 200);
    EXPECT_GT(middle.text.size(), 50);
}

// ---- Ink in real images (254 dpi: 10 model units a pixel) ----

class PaintTextImages : public ElementTest
{
protected:
    PaintTextImages() { ensureGuiApplication(); }
};

TEST_F(PaintTextImages, TextInkLiesInsideItsBox)
{
    struct Case
    {
        const char* name;
        TTextAlign align;
        bool border;
    };
    const Case cases[] = {{"left-top", taLeTo, false}, {"right-bottom", taRiBo, false}, {"bordered", taCeCe, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVText text(label);
        text.SetText("Hxg Label");
        text.SetFontHeight(5.0f);
        text.SetX1(30.0f);
        text.SetY1(15.0f);
        text.SetTextAlign(c.align);
        text.SetShowBorder(c.border);
        text.SetPaddingX(1.0f);
        text.SetPaddingY(1.0f);
        text.SetPenWidth(0.3f);
        text.SetBorderColor(0);
        ModelImage image(6000, 3000);
        text.Paint(image.canvas(), {0, 0}, ptEditor, 1);
        const TRect box = text.ModelRect();
        const TRect ink = InkBox(image.finish(), IsInk);
        ASSERT_LE(ink.Left, ink.Right) << "no ink";
        // One pixel of rounding on each side.
        EXPECT_GE(ink.Left, box.Left - 10);
        EXPECT_GE(ink.Top, box.Top - 10);
        EXPECT_LE(ink.Right, box.Right + 20);
        EXPECT_LE(ink.Bottom, box.Bottom + 20);
        // The text fills most of its box's length.
        EXPECT_GT(ink.Width(), box.Width() * 8 / 10);
        if (c.border) ExpectNear(ink, box, 10);
    }
}

TEST_F(PaintTextImages, TurnedTextRunsUpwardFromItsAnchor)
{
    TZVText text(label);
    text.SetText("Upward text");
    text.SetFontHeight(4.0f);
    text.SetX1(10.0f);
    text.SetY1(28.0f);
    text.SetAngle(90);
    ModelImage image(4000, 3000);
    text.Paint(image.canvas(), {0, 0}, ptEditor, 1);
    const TRect ink = InkBox(image.finish(), IsInk);
    ASSERT_LE(ink.Left, ink.Right) << "no ink";
    EXPECT_GT(ink.Height(), 2 * ink.Width()) << "the text stands upright";
    EXPECT_LE(ink.Bottom, 2800 + 10) << "above the anchor";
    EXPECT_GE(ink.Left, 1000 - 10) << "right of the anchor";
    const TRect box = text.ModelRect();
    EXPECT_GE(ink.Top, box.Top - 10);
    EXPECT_LE(ink.Right, box.Right + 20);
}

TEST_F(PaintTextImages, OpaqueBackgroundKeepsTheShadowVisible)
{
    // The shadow's pixels are counted on a transparent and on an opaque yellow background.
    int shadowPixels[2] = {};
    for (const bool opaque : {false, true}) {
        TZVText text(label);
        text.SetText("WWWW");
        text.SetFontHeight(6.0f);
        text.SetX1(5.0f);
        text.SetY1(5.0f);
        text.SetBold(true);
        text.SetShadow(true);
        text.SetGapX(0.6f);
        text.SetGapY(0.6f);
        text.SetShadowColor(0x0000FF);
        text.SetBackColor(0x00FFFF);
        text.SetTransparent(!opaque);
        ModelImage image(4000, 2000);
        text.Paint(image.canvas(), {0, 0}, ptPrinter, 0);
        const QImage& done = image.finish();
        shadowPixels[opaque] = CountPixels(done, 0x0000FF);
        if (opaque) {
            // The background shows around the glyphs, up to the shadow's far corner.
            EXPECT_GT(CountPixels(done, 0x00FFFF), 1000);
            const TRect box{text.BoxLeft(), text.BoxTop(), text.X2(), text.Y2()};
            ExpectNear(InkBox(done, [](QRgb p) { return p != qRgb(255, 255, 255); }), box, 10);
        }
    }
    ASSERT_GT(shadowPixels[0], 200);
    EXPECT_GE(shadowPixels[1], shadowPixels[0] * 9 / 10);
}

TEST_F(PaintTextImages, JustifiedParagraphReachesTheRightEdgeExceptOnItsLastLine)
{
    TZVParagraph paragraph(label);
    paragraph.SetX1(2.0f);
    paragraph.SetY1(2.0f);
    paragraph.SetX2(38.0f);
    paragraph.SetY2(28.0f);
    paragraph.SetFontHeight(4.0f);
    paragraph.SetAlignment(tfJustify);
    paragraph.SetText("The quick brown fox jumps over the lazy dog and keeps on running far away");
    ModelImage image(4000, 3000);
    paragraph.Paint(image.canvas(), {0, 0}, ptPrinter, 0);
    const QImage& done = image.finish();
    const TRect all = InkBox(done, IsInk);
    ASSERT_LE(all.Left, all.Right) << "no ink";
    EXPECT_GE(all.Left, 200);
    EXPECT_LE(all.Right, 3800);
    EXPECT_LE(all.Bottom, 2800);
    // Per line band (400 units from y = 215, less a pixel at each end for the descenders): the
    // rightmost ink.
    std::vector<int> rights;
    for (int top = 215; top + 400 <= 2785; top += 400) {
        const QImage band = done.copy(0, top / 10 + 1, done.width(), 38);
        const TRect ink = InkBox(band, IsInk);
        if (ink.Left <= ink.Right) rights.push_back(ink.Right);
    }
    ASSERT_GE(rights.size(), 3u);
    for (std::size_t i = 0; i + 1 < rights.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(rights[i], 3785 - 60) << "justified to the frame's right edge";
    }
    EXPECT_LT(rights.back(), 3785 - 300) << "the last line is not stretched";
}

TEST_F(PaintTextImages, TurnedParagraphInkStaysInItsBox)
{
    for (const int angle : {0, 90, 180, 270}) {
        SCOPED_TRACE(angle);
        TZVParagraph paragraph(label);
        paragraph.SetX1(5.0f);
        paragraph.SetY1(5.0f);
        paragraph.SetX2(25.0f);
        paragraph.SetY2(35.0f);
        paragraph.SetFontHeight(3.0f);
        paragraph.SetAngle(angle);
        paragraph.SetText("Lines of a turned paragraph stay inside the box it was given");
        ModelImage image(4000, 4000);
        paragraph.Paint(image.canvas(), {0, 0}, ptPrinter, 0);
        const TRect ink = InkBox(image.finish(), IsInk);
        ASSERT_LE(ink.Left, ink.Right) << "no ink";
        EXPECT_GE(ink.Left, 500);
        EXPECT_GE(ink.Top, 500);
        EXPECT_LE(ink.Right, 2500);
        EXPECT_LE(ink.Bottom, 3500);
        // Lines fill the 2000 wide box upright, and run along its 3000 long side turned a quarter.
        if (angle % 180 == 0)
            EXPECT_GT(ink.Width(), 1500);
        else
            EXPECT_GT(ink.Height(), 2500);
    }
}

} // namespace
} // namespace zorvel::test
