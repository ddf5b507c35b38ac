// Table painting: cells and rows, footers' aggregates over the detail records, grid styles,
// the four orientations and the editor's placeholders.
#include "../support/PaintSupport.h"
#include "../support/QStringPrinter.h"
#include "ElementTestSupport.h"
#include "elements/ZVTable.h"
#include "foundation/ZVStream.h"
#include "platform/ZVMemoryDataSet.h"

#include <QColor>

using namespace zorvel;
using namespace zorvel::test;

namespace {

std::vector<QString> stringsOf(const TZVRecordingCanvas& canvas)
{
    std::vector<QString> texts;
    for (const DrawnText& t : textsOf(canvas))
        texts.push_back(t.text);
    return texts;
}

// A 100 x 58 mm table at (10 mm, 10 mm): 10 mm title, 8 mm header, 8 mm footer under the second
// column and 10 mm rows leave room for 3 rows. Two columns of 50 percent bound to the detail's
// Name and Qty; records ("a", -3), ("b", -5), ("c", 4), ("d", 10).
class TablePaint : public ElementTest
{
protected:
    TablePaint() : table(label)
    {
        label.SetDetail(&detail);
        refill(fkInteger, {-3, -5, 4, 10});
        place(0);
        table.AddColumn();
        table.AddColumn();
        table.Column(1).SetWidth(50);
        table.Column(0).SetFieldName("Name");
        table.Column(0).SetHeaderText("Name");
        table.Column(1).SetFieldName("Qty");
        table.Column(1).SetHeaderText("Qty");
        table.Column(1).SetFooterVisible(true);
        detail.Open();
    }
    ~TablePaint() override { label.SetDetail(nullptr); }

    // Closed, with Name "a", "b", ... and Qty of `kind` holding `quantities`.
    void refill(TZVFieldKind kind, const QVariantList& quantities)
    {
        detail.Close();
        detail.ClearRecords();
        detail.ClearFields();
        detail.AddField("Name", fkString);
        detail.AddField("Qty", kind);
        char name = 'a';
        for (const QVariant& qty : quantities)
            detail.AppendRecord({QString(QChar(name++)), qty});
    }
    // The column takes the field's kind when it is bound again.
    void rebind(TZVFieldKind kind, const QVariantList& quantities)
    {
        refill(kind, quantities);
        table.Column(1).SetFieldName("Qty");
        detail.Open();
    }

    // Rows run along the longer side of the box for every angle.
    void place(int angle)
    {
        table.SetAngle(angle);
        const bool across = angle == 90 || angle == 270;
        table.SetX1(10);
        table.SetY1(10);
        table.SetX2(across ? 68 : 110);
        table.SetY2(across ? 110 : 68);
    }

    TZVRecordingCanvas& paint(int target = ptPreviewPage)
    {
        recorder.canvas().Clear();
        table.Paint(recorder.canvas(), {0, 0}, target, 1);
        return recorder.canvas();
    }

    TZVMemoryDataSet detail;
    TZVTable table;
    RecordingModelCanvas recorder;
};

} // namespace

TEST_F(TablePaint, RowsThatFitAreDrawnInTheirCells)
{
    ASSERT_EQ(table.RowsPerTable(), 3);
    // The recorder's cells are as high as the font (400): centred in a 1000 row they start 300
    // below its top; left-aligned text starts a pen width (20) inside the cell.
    const std::vector<DrawnText> expected{
        {"Table Title", {6000 - 11 * 250 / 2, 1000 + 500 - 250}},
        {"Name", {1020, 2000 + 400 - 200}},
        {"Qty", {6020, 2000 + 400 - 200}},
        {"a", {1020, 3100}},
        {"-3", {6020, 3100}},
        {"b", {1020, 4100}},
        {"-5", {6020, 4100}},
        {"c", {1020, 5100}},
        {"4", {6020, 5100}},
        {"6", {6020, 6000 + 400 - 200}}, // the sum of all four, the unprinted "d" row included
    };
    table.Column(1).SetFooterCalc(fcSum);
    EXPECT_EQ(textsOf(paint()), expected);
}

TEST_F(TablePaint, FootersAggregateEveryRecord)
{
    struct Case
    {
        const char* name;
        TZVFooterCalc calc;
        TZVFieldKind kind;
        const char* format;
        const char* expected; // nullptr: no footer text at all
    };
    const Case cases[] = {
        {"sum", fcSum, fkInteger, "", "6"},
        {"average of integers divides whole", fcAverage, fkInteger, "", "1"},
        {"average as floating with a format", fcAverage, fkFloat, "0.00", "1.50"},
        {"minimum", fcMinimum, fkInteger, "", "-5"},
        {"maximum of negatives and positives", fcMaximum, fkInteger, "", "10"},
        {"count", fcCount, fkInteger, "", "4"},
        {"floating sum with a format", fcSum, fkFloat, "#,##0.0", "6.0"},
        {"dates have no aggregate", fcCount, fkDateTime, "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.kind == fkDateTime)
            rebind(c.kind, {"2024-03-01", "2024-03-02", "2024-03-03", "2024-03-04"});
        else
            rebind(c.kind, {-3, -5, 4, 10});
        TZVColumn& qty = table.Column(1);
        qty.SetFooterCalc(c.calc);
        qty.SetFormat(c.format);
        const std::vector<QString> texts = stringsOf(paint());
        // Title, two headers, three rows of two cells, then the footer.
        if (!c.expected) {
            EXPECT_EQ(texts.size(), 9u);
            continue;
        }
        ASSERT_EQ(texts.size(), 10u);
        EXPECT_EQ(texts.back(), c.expected);
    }
}

TEST_F(TablePaint, MaximumOfNegativesIsTheLargest)
{
    rebind(fkInteger, {-3, -5});
    table.Column(1).SetFooterCalc(fcMaximum);
    EXPECT_EQ(stringsOf(paint()).back(), "-3");
}

TEST_F(TablePaint, NoRecordsLeaveAverageMinimumAndMaximumEmpty)
{
    rebind(fkInteger, {});
    struct Case
    {
        TZVFooterCalc calc;
        const char* expected; // empty: nothing written after the header
    };
    const Case cases[] = {{fcSum, "0"}, {fcCount, "0"}, {fcAverage, ""}, {fcMinimum, ""}, {fcMaximum, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.calc));
        table.Column(1).SetFooterCalc(c.calc);
        std::vector<QString> expected{"Table Title", "Name", "Qty"};
        if (*c.expected) expected.emplace_back(c.expected);
        EXPECT_EQ(stringsOf(paint()), expected);
    }
}

TEST_F(TablePaint, AggregatesStartAfreshOnEveryPaintEvenWithoutRecords)
{
    table.Column(1).SetFooterCalc(fcCount);
    EXPECT_EQ(stringsOf(paint()).back(), "4");
    EXPECT_EQ(stringsOf(paint()).back(), "4");
    rebind(fkInteger, {});
    EXPECT_EQ(stringsOf(paint()).back(), "0");
}

TEST_F(TablePaint, WithoutAnOpenDetailNoRowsAndNoAggregates)
{
    table.Column(1).SetFooterCalc(fcCount);
    detail.Close();
    EXPECT_EQ(stringsOf(paint()), (std::vector<QString>{"Table Title", "Name", "Qty"}));
    label.SetDetail(nullptr);
    EXPECT_EQ(stringsOf(paint()), (std::vector<QString>{"Table Title", "Name", "Qty"}));
}

TEST_F(TablePaint, MissingFieldShowsADash)
{
    detail.Close();
    detail.ClearFields();
    detail.AddField("Name", fkString);
    detail.ClearRecords();
    detail.AppendRecord({"a"});
    detail.Open();
    table.Column(1).SetFooterVisible(false);
    EXPECT_EQ(stringsOf(paint()), (std::vector<QString>{"Table Title", "Name", "Qty", "a", "-"}));
}

TEST_F(TablePaint, CellFormatsFollowTheValueKind)
{
    table.Column(1).SetFooterVisible(false);
    table.Column(1).SetFormat("000");
    const std::vector<QString> texts = stringsOf(paint());
    EXPECT_EQ(texts.at(4), "-003");
    EXPECT_EQ(texts.at(6), "-005");
    EXPECT_EQ(texts.at(8), "004");
}

TEST_F(TablePaint, EditorShowsPlaceholdersUnlessTheLabelSaysNot)
{
    // The editor reads no data even with an open detail.
    EXPECT_EQ(stringsOf(paint(ptEditor)),
              (std::vector<QString>{"Table Title", "Name", "Qty", "Col-0", "Col-1", "Foot-1"}));
    EXPECT_EQ(table.ModelRect(), (TRect{1000, 1000, 11000, 6800}));
    EXPECT_EQ(table.ScreenRect(), (TRect{100, 100, 1100, 680}));
    label.SetGridNotDrawFields(true);
    EXPECT_EQ(stringsOf(paint(ptEditor)), (std::vector<QString>{"Table Title", "Name", "Qty"}));
}

TEST_F(TablePaint, GridStylesDrawTheirLines)
{
    struct Case
    {
        TZVGridStyle style;
        bool title;
        std::vector<std::string> lines;
    };
    // Columns at x 1000, 6000, 11000 from below the title (2000) to the bottom (6800); row lines
    // under each of the rows counted from below the header (2800), and the bottom line.
    const std::vector<std::string> vertical{"MoveTo(1000, 2000)",  "LineTo(1000, 6800)",
                                            "MoveTo(6000, 2000)",  "LineTo(6000, 6800)",
                                            "MoveTo(11000, 2000)", "LineTo(11000, 6800)"};
    const std::vector<std::string> horizontal{
        "MoveTo(1000, 3800)", "LineTo(11000, 3800)", "MoveTo(1000, 4800)", "LineTo(11000, 4800)",
        "MoveTo(1000, 5800)", "LineTo(11000, 5800)", "MoveTo(1000, 6800)", "LineTo(11000, 6800)"};
    std::vector<std::string> both = vertical;
    both.insert(both.end(), horizontal.begin(), horizontal.end());
    // Without the title the columns start at the top, a top line is drawn and a fourth row fits.
    const std::vector<std::string> untitled{
        "MoveTo(1000, 1000)", "LineTo(11000, 1000)", "MoveTo(1000, 2800)", "LineTo(11000, 2800)",
        "MoveTo(1000, 3800)", "LineTo(11000, 3800)", "MoveTo(1000, 4800)", "LineTo(11000, 4800)",
        "MoveTo(1000, 5800)", "LineTo(11000, 5800)", "MoveTo(1000, 6800)", "LineTo(11000, 6800)"};
    const Case cases[] = {
        {gsNone, true, {}},   {gsVert, true, vertical},  {gsHorz, true, horizontal},
        {gsBoth, true, both}, {gsHorz, false, untitled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << int(c.style) << " title " << c.title);
        table.SetGridStyle(c.style);
        table.SetTitleVisible(c.title);
        TZVRecordingCanvas& canvas = paint(ptEditor);
        std::vector<std::string> lines;
        for (const TZVCanvasCall& call : canvas.Calls())
            if (call.Op == "MoveTo" || call.Op == "LineTo") lines.push_back(call.Line);
        EXPECT_EQ(lines, c.lines);
        if (c.style == gsNone) continue;
        const auto pens = canvas.Log("SelectPen");
        EXPECT_EQ(pens.back(), "SelectPen(0xC0C0C0, 20, psSolid, pcFlat, pjMiter)");
    }
}

TEST_F(TablePaint, FillsByColumnsOrByAlternatingRows)
{
    table.SetTransparent(false);
    table.SetBackColor(0x0000FF);
    table.SetRowColor(0x00FF00);
    table.Column(0).SetColor(0xFF0000);
    struct Case
    {
        std::uint8_t mode;
        std::vector<std::string> fills;
    };
    // Then the title band, reaching a pen width (20) beyond the box, the header cells and the
    // footer cell, each after its brush.
    const std::vector<std::string> bands{
        "SelectBrush(0x00C000, bsSolid)", "FillRect(1000, 1000, 11020, 2020)",
        "SelectBrush(0xFFFFFF, bsSolid)", "FillRect(1000, 2000, 6000, 2800)",
        "SelectBrush(0xFFFFFF, bsSolid)", "FillRect(6000, 2000, 11000, 2800)",
        "SelectBrush(0xFFFFFF, bsSolid)", "FillRect(6000, 6000, 11000, 6800)"};
    const Case cases[] = {
        {0,
         {"SelectBrush(0xFF0000, bsSolid)", "FillRect(1000, 1000, 6000, 6800)",
          "SelectBrush(0x0000FF, bsSolid)", "FillRect(6000, 1000, 11000, 6800)"}},
        // Row bands from below the header; the fourth is cut at the box.
        {1,
         {"SelectBrush(0x00FF00, bsSolid)", "FillRect(1000, 2800, 11000, 3800)",
          "SelectBrush(0x0000FF, bsSolid)", "FillRect(1000, 3800, 11000, 4800)",
          "SelectBrush(0x00FF00, bsSolid)", "FillRect(1000, 4800, 11000, 5800)",
          "SelectBrush(0x0000FF, bsSolid)", "FillRect(1000, 5800, 11000, 6800)"}},
    };
    table.SetTitleColor(0x00C000);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        table.SetDrawMode(c.mode);
        TZVRecordingCanvas& canvas = paint(ptEditor);
        std::vector<std::string> fills;
        for (const TZVCanvasCall& call : canvas.Calls())
            if (call.Op == "FillRect" || (call.Op == "SelectBrush" && call.Args.at(1) == bsSolid))
                fills.push_back(call.Line);
        std::vector<std::string> expected = c.fills;
        expected.insert(expected.end(), bands.begin(), bands.end());
        EXPECT_EQ(fills, expected);
    }
}

TEST_F(TablePaint, OrientationsTurnTheLayout)
{
    struct Case
    {
        int angle;
        DrawnText firstCell;
        std::string firstColumnLine;
    };
    // The first cell's origin: 20 into the column and 300 into the first row, measured from the
    // start edges of the orientation table: columns from Y2 up at 90, from X2 left at 180, from Y1
    // down at 270; rows from X1, Y2 and X2.
    const Case cases[] = {
        {0, {"a", {1020, 3100}}, "LineTo(1000, 6800)"},
        {90, {"a", {3100, 10980}}, "LineTo(6800, 11000)"},
        {180, {"a", {10980, 4700}}, "LineTo(11000, 1000)"},
        {270, {"a", {4700, 1020}}, "LineTo(1000, 1000)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "angle " << c.angle);
        place(c.angle);
        ASSERT_EQ(table.RowsPerTable(), 3);
        TZVRecordingCanvas& canvas = paint();
        const std::vector<DrawnText> texts = textsOf(canvas);
        ASSERT_GE(texts.size(), 4u);
        EXPECT_EQ(texts[3], c.firstCell);
        EXPECT_EQ(canvas.Log("LineTo").front(), c.firstColumnLine);
        for (const std::string& font : canvas.Log("SelectFont"))
            EXPECT_NE(font.find(", " + std::to_string(c.angle * 10) + ", "), std::string::npos) << font;
    }
}

TEST_F(TablePaint, RenderedTableShowsItsBandsAndGrid)
{
    table.SetTransparent(false);
    table.SetTitleColor(0xC0C0C0);
    table.SetGridColor(0xFF0000); // blue
    table.SetPenWidth(0.4f);
    table.Column(0).SetColor(0x00FFFF);       // yellow
    table.Column(0).SetHeaderColor(0x00FF00); // green
    table.Column(0).SetHeaderText("");
    ModelImage image(12000, 7000);
    table.Paint(image.canvas(), {0, 0}, ptPreviewPage, 1);
    image.finish();
    struct Case
    {
        const char* name;
        TPoint at;
        QColor colour;
    };
    const Case cases[] = {
        {"title band", {1300, 1100}, QColor(192, 192, 192)},
        {"header cell", {1300, 2700}, QColor(0, 255, 0)},
        {"first column under the rows", {4000, 4300}, QColor(255, 255, 0)},
        {"row line under the first row", {4000, 3800}, QColor(0, 0, 255)},
        {"column line", {6000, 4300}, QColor(0, 0, 255)},
        {"outside the table", {11500, 4000}, QColor(255, 255, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QColor(image.pixelAtModel(c.at.X, c.at.Y)), c.colour);
    }
    // Some ink of the first row's text "a" near its cell's left edge.
    bool ink = false;
    for (int x = 1040; x < 1400 && !ink; x += 10)
        for (int y = 3000; y < 3700 && !ink; y += 10)
            ink = qGray(image.pixelAtModel(x, y)) < 100;
    EXPECT_TRUE(ink);
}

TEST_F(TablePaint, ReopenedDesignFormatsByTheDetailFieldsKind)
{
    struct Case
    {
        const char* name;
        TZVFieldKind kind;
        QVariantList values;
        const char* format;
        std::vector<QString> qty; // the Qty cells of the three rows, then the footer if any
    };
    // Integer sums are whole numbers whatever the format; dates have no aggregate.
    const Case cases[] = {
        {"integers", fkInteger, {-3, -5, 4, 10}, "0.0", {"-3.0", "-5.0", "4.0", "6"}},
        {"dates",
         fkDateTime,
         {"2024-03-01", "2024-03-02", "2024-03-03", "2024-03-04"},
         "dd-mm-yyyy",
         {"01-03-2024", "02-03-2024", "03-03-2024"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rebind(c.kind, c.values);
        table.Column(1).SetFormat(c.format);
        table.Column(1).SetFooterCalc(fcSum);
        TZVMemoryStream stream;
        label.SaveToStream(stream);

        TZVLab reopened;
        reopened.SetDetail(&detail);
        TZVMemoryStream copy(stream.Bytes());
        reopened.LoadFromStream(copy);
        auto* loaded = qobject_cast<TZVTable*>(reopened.Elements().front());
        ASSERT_NE(loaded, nullptr);
        recorder.canvas().Clear();
        loaded->Paint(recorder.canvas(), {0, 0}, ptPreviewPage, 1);
        const std::vector<QString> texts = stringsOf(recorder.canvas());
        std::vector<QString> qty;
        for (std::size_t i = 4; i < texts.size(); i += 2)
            qty.push_back(texts[i]);
        if (texts.size() % 2 == 0) qty.push_back(texts.back());
        EXPECT_EQ(qty, c.qty);
        reopened.SetDetail(nullptr);
    }
}

TEST_F(TablePaint, HostileTablesDrawOnlyWhatThePageShows)
{
    struct Case
    {
        const char* name;
        int angle;
        float x1, y1, x2, y2; // millimetres
    };
    // Rows of 0.01 mm down (or across) kilometres of box: over two billion rows that no page can
    // show. The last case spans more than the 32-bit range, so its extents only fit in 64 bits.
    const Case cases[] = {
        {"20 km down", 0, 10, 10, 110, 2e7f},
        {"20 km across, turned", 90, 10, 10, 2e7f, 68},
        {"the whole 32-bit range", 0, -2.1e7f, -2.1e7f, 2.1e7f, 2.1e7f},
    };
    // An A4 page at 254 dpi: 2100 x 2970 pixels of 10 model units.
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = 254;
    caps.Width = 2100;
    caps.Height = 2970;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        table.SetAngle(c.angle);
        table.SetX1(c.x1);
        table.SetY1(c.y1);
        table.SetX2(c.x2);
        table.SetY2(c.y2);
        table.SetRowHeight(0.01f);
        table.SetDrawMode(1);
        table.SetTransparent(false);
        TZVRecordingCanvas canvas(nullptr, caps);
        mapModelUnits(canvas, 254);
        table.Paint(canvas, {0, 0}, ptPreviewPage, 1);
        // Row lines no closer than about a pixel: a few calls per pixel of the page's length.
        EXPECT_LT(canvas.Calls().size(), 10u * 2970);
        // Yet the rows that cross the page still cover it with lines and bands.
        int onPage = 0;
        TPoint from;
        for (const TZVCanvasCall& call : canvas.Calls()) {
            if (call.Op != "MoveTo" && call.Op != "LineTo") continue;
            const TPoint to{call.Args.at(0), call.Args.at(1)};
            if (call.Op == "LineTo" && std::max(from.X, to.X) >= 0 && std::min(from.X, to.X) <= 21000 &&
                std::max(from.Y, to.Y) >= 0 && std::min(from.Y, to.Y) <= 29700)
                ++onPage;
            from = to;
        }
        EXPECT_GT(onPage, 1000);
    }
}

TEST_F(TablePaint, AHugePenWidensTheRowWalkOnlyAsFarAsACanvasPenReaches)
{
    // Rows of 0.01 mm down 20 km with a 20 km pen: a pen that wide reached every row of the box;
    // the canvas draws no pen beyond 2^15 pixels, so only rows within that of the page are walked.
    table.SetX1(10);
    table.SetY1(10);
    table.SetX2(110);
    table.SetY2(2e7f);
    table.SetRowHeight(0.01f);
    table.SetPenWidth(2e7f);
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = 254;
    caps.Width = 2100;
    caps.Height = 2970;
    TZVRecordingCanvas canvas(nullptr, caps);
    mapModelUnits(canvas, 254);
    table.Paint(canvas, {0, 0}, ptPreviewPage, 1);
    // At most two lines a pixel over the page and 2^15 pixels beyond it (the whole box: 2e8).
    EXPECT_LT(canvas.Log("LineTo").size(), 2u * (2970 + 32768));
}
