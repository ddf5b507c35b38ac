// Table element: column operations and width sharing, layout, row count, setters and the table record.
#include "ElementTestSupport.h"
#include "elements/ZVTable.h"
#include "platform/ZVMemoryDataSet.h"

#include <functional>

using namespace zorvel;
using namespace zorvel::test;

namespace {

std::vector<int> Widths(const TZVTable& table)
{
    std::vector<int> widths;
    for (int i = 0; i < table.ColumnCount(); ++i)
        widths.push_back(table.Column(i).Width());
    return widths;
}

std::vector<int> Offsets(const TZVTable& table)
{
    std::vector<int> offsets;
    for (int i = 0; i < table.ColumnCount(); ++i)
        offsets.push_back(table.Column(i).Offset());
    return offsets;
}

std::vector<int> CellWidths(const TZVTable& table)
{
    std::vector<int> widths;
    for (int i = 0; i < table.ColumnCount(); ++i)
        widths.push_back(table.Column(i).CellWidth());
    return widths;
}

// Raw values, as a stream gives them.
void Feed(TZVTable& table, const std::map<std::string, std::int64_t>& numbers)
{
    // Columns would all take the fed column values: feed only tables without columns.
    ASSERT_EQ(table.ColumnCount(), 0);
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = numbers;
    table.VisitFields(reader);
}

void AddColumns(TZVTable& table, int count)
{
    for (int i = 0; i < count; ++i)
        table.AddColumn();
}

const std::vector<std::string> kTablePartNames{
    "GridColor",   "GridStyle",      "TableReserved",   "RowHeight",     "TitleVisible", "TitleBold",
    "TitleItalic", "TitleUnderline", "TitleFontHeight", "TitleHeight",   "TitleColor",   "TitleFontColor",
    "TitleAlign",  "DrawMode",       "TitleText",       "TitleFontName", "Columns"};

// clang-format off
const std::vector<std::string> kColumnNames{
    "Color", "Width", "Bold", "Italic", "Underline", "FontHeight", "FontColor",
    "HeaderColor", "HeaderFontColor", "HeaderHeight", "HeaderFontHeight", "Align", "HeaderAlign",
    "HeaderBold", "HeaderItalic", "HeaderUnderline", "HeaderVisible", "FooterVisible", "Reserved",
    "FooterColor", "FooterFontColor", "FooterBold", "FooterUnderline", "FooterItalic", "FooterAlign",
    "FooterHeight", "FooterFontHeight", "FooterCalc",
    "HeaderText", "FontName", "HeaderFontName", "FooterFontName", "FieldName", "Format"};
// clang-format on

} // namespace

TEST_F(ElementTest, NewTableDefaults)
{
    TZVTable table(label);
    EXPECT_EQ(table.ID(), "Table1");
    EXPECT_EQ(table.HandleKind(), 3);
    EXPECT_EQ(table.PenWidth(), 20);
    EXPECT_EQ(table.GridColor(), 0xC0C0C0u);
    EXPECT_EQ(table.GridStyle(), gsBoth);
    EXPECT_EQ(table.RowColor(), 0xC0C0C0u);
    EXPECT_EQ(table.RowHeight(), 1000);
    EXPECT_EQ(table.TitleText(), "Table Title");
    EXPECT_TRUE(table.TitleVisible());
    EXPECT_EQ(table.TitleHeight(), 1000);
    EXPECT_EQ(table.TitleFontHeight(), 500);
    EXPECT_EQ(table.TitleFontName(), "Arial");
    EXPECT_EQ(table.TitleAlign(), caCenter);
    EXPECT_EQ(table.ColumnCount(), 0);
    EXPECT_TRUE(table.EditTable().isEmpty());

    const TZVColumn& column = table.AddColumn();
    EXPECT_EQ(column.Table(), &table);
    EXPECT_EQ(column.FontHeight(), 400);
    EXPECT_EQ(column.HeaderHeight(), 800);
    EXPECT_EQ(column.FooterHeight(), 800);
    EXPECT_TRUE(column.HeaderVisible());
    EXPECT_FALSE(column.FooterVisible());
    EXPECT_EQ(column.FooterCalc(), fcCount);
    EXPECT_EQ(column.Color(), 0xFFFFFFu);
}

TEST_F(ElementTest, AddedColumnsTakeTenPercentFromTheOthers)
{
    TZVTable table(label);
    const std::vector<std::vector<int>> expected{{100}, {90, 10}, {85, 5, 10}, {80, 5, 5, 10}};
    for (const auto& widths : expected) {
        SCOPED_TRACE(widths.size());
        Forget();
        table.AddColumn();
        EXPECT_EQ(Widths(table), widths);
        EXPECT_EQ(editor.refreshes.size(), 1u);
        EXPECT_TRUE(label.Modified());
    }
}

TEST_F(ElementTest, ColumnWidthIsSharedWithTheOtherColumns)
{
    struct Case
    {
        const char* name;
        int columns;
        std::function<void(TZVTable&)> prepare;
        int index;
        int percent;
        std::vector<int> widths;
    };
    const auto none = [](TZVTable&) {};
    const Case cases[] = {
        {"a single column is always whole", 1, none, 0, 30, {100}},
        {"taken from the other column", 2, none, 1, 30, {70, 30}},
        {"raised to the minimum and the rest given back", 2, none, 0, 2, {5, 95}},
        {"lowered so that the others keep their minimum", 2, none, 1, 99, {5, 95}},
        // A walk is always completed: one point asked, two taken.
        {"a walk can overshoot", 3, none, 1, 6, {84, 6, 9}},
        {"columns at the minimum take no part", 3, none, 0, 50, {50, 5, 45}},
        {"given back even when every other column sits at the minimum",
         2,
         [](TZVTable& t) { t.Column(1).SetWidth(5); },
         0,
         50,
         {50, 50}},
        {"twenty columns leave five percent each", 20, none, 3, 100, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVTable table(label);
        AddColumns(table, c.columns);
        c.prepare(table);
        Forget();
        table.Column(c.index).SetWidth(c.percent);
        if (!c.widths.empty())
            EXPECT_EQ(Widths(table), c.widths);
        else
            EXPECT_EQ(table.Column(c.index).Width(), 5);
        EXPECT_EQ(editor.refreshes.size(), 1u);
        EXPECT_TRUE(label.Modified());
    }
}

TEST_F(ElementTest, WidthsFromADamagedDesignAreSharedWithoutRunningAway)
{
    TZVTable table(label);
    AddColumns(table, 2);
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = {{"X2", 6000}, {"Y2", 3000}, {"Width", 2000000000}};
    table.VisitFields(reader);
    ASSERT_EQ(Widths(table), (std::vector<int>{2000000000, 2000000000}));
    EXPECT_EQ(table.Column(1).Offset(), 2147483647) << "saturated, not wrapped round";

    // Nearly two billion points go back to the other column in bulk, not one walk at a time.
    table.Column(0).SetWidth(50);
    EXPECT_EQ(Widths(table), (std::vector<int>{50, 2147483647}));
    table.DeleteColumn(0);
    EXPECT_EQ(Widths(table), (std::vector<int>{2147483647}));
}

TEST_F(ElementTest, DeletingAColumnGivesItsShareToTheFirst)
{
    struct Case
    {
        int index;
        std::vector<int> widths;
        bool heard;
    };
    // From [85, 5, 10].
    const Case cases[] = {
        {2, {95, 5}, true}, {0, {90, 10}, true}, {3, {85, 5, 10}, false}, {-1, {85, 5, 10}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        TZVTable table(label);
        AddColumns(table, 3);
        Forget();
        table.DeleteColumn(c.index);
        EXPECT_EQ(Widths(table), c.widths);
        EXPECT_EQ(label.Modified(), c.heard);
    }
    TZVTable table(label);
    table.AddColumn();
    table.DeleteColumn(0);
    EXPECT_EQ(table.ColumnCount(), 0);
}

TEST_F(ElementTest, ExchangingColumnsMovesTheirCells)
{
    TZVTable table(label);
    Feed(table, {{"X1", 0}, {"Y1", 0}, {"X2", 10000}, {"Y2", 5000}});
    AddColumns(table, 3);
    table.Column(0).SetHeaderText("first");
    Forget();
    table.ExchangeColumns(0, 2);
    EXPECT_EQ(Widths(table), (std::vector<int>{10, 5, 85}));
    EXPECT_EQ(table.Column(2).HeaderText(), "first");
    EXPECT_EQ(Offsets(table), (std::vector<int>{0, 1000, 1500}));
    EXPECT_TRUE(label.Modified());

    Forget();
    table.ExchangeColumns(0, 3);
    EXPECT_EQ(Widths(table), (std::vector<int>{10, 5, 85}));
    EXPECT_FALSE(label.Modified());
}

TEST_F(ElementTest, ColumnLayoutSharesTheExtentAcrossTheColumns)
{
    struct Case
    {
        const char* name;
        TRect box;
        int angle;
        std::function<void(TZVTable&)> columns;
        std::vector<int> offsets;
        std::vector<int> cellWidths;
    };
    const auto threeColumns = [](TZVTable& t) { AddColumns(t, 3); }; // 85, 5, 10
    const auto halves = [](TZVTable& t) {
        AddColumns(t, 2);
        t.Column(1).SetWidth(50);
    };
    const Case cases[] = {
        {"rounded shares, the last takes the rest",
         {0, 0, 9999, 5000},
         0,
         threeColumns,
         {0, 8499, 8999},
         {8499, 500, 1000}},
        {"half turn runs across the width too",
         {1000, 0, 10999, 5000},
         180,
         threeColumns,
         {0, 8499, 8999},
         {8499, 500, 1000}},
        {"quarter turn runs across the height",
         {0, 0, 9999, 5000},
         90,
         threeColumns,
         {0, 4250, 4500},
         {4250, 250, 500}},
        {"three quarters likewise",
         {0, 1000, 100, 6000},
         270,
         threeColumns,
         {0, 4250, 4500},
         {4250, 250, 500}},
        {"ties round to the even neighbour", {0, 0, 9997, 5000}, 0, halves, {0, 4998}, {4998, 4999}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVTable table(label);
        Feed(table, {{"X1", c.box.Left},
                     {"Y1", c.box.Top},
                     {"X2", c.box.Right},
                     {"Y2", c.box.Bottom},
                     {"Angle", c.angle}});
        c.columns(table);
        EXPECT_EQ(Offsets(table), c.offsets);
        EXPECT_EQ(CellWidths(table), c.cellWidths);
    }
}

TEST_F(ElementTest, RowsPerTableCountsTheRowsBetweenTheBands)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVTable&)> prepare;
        int rows;
        int headerHeight;
        int footerHeight;
    };
    const auto none = [](TZVTable&) {};
    // A 60 x 50 mm table, 10 mm title, one column with an 8 mm header, 10 mm rows.
    const Case cases[] = {
        {"title, header and three rows", none, 3, 800, 0},
        {"hidden title", [](TZVTable& t) { t.SetTitleVisible(false); }, 4, 800, 0},
        {"hidden header", [](TZVTable& t) { t.Column(0).SetHeaderVisible(false); }, 4, 0, 0},
        {"a footer", [](TZVTable& t) { t.Column(0).SetFooterVisible(true); }, 2, 800, 800},
        {"the tallest visible header counts", [](TZVTable& t) { t.AddColumn().SetHeaderHeight(12); }, 2, 1200,
         0},
        {"a hidden header does not count",
         [](TZVTable& t) {
             TZVColumn& c = t.AddColumn();
             c.SetHeaderHeight(30);
             c.SetHeaderVisible(false);
         },
         3, 800, 0},
        {"smaller rows", [](TZVTable& t) { t.SetRowHeight(7.5f); }, 4, 800, 0},
        {"quarter turn counts along the width", [](TZVTable& t) { t.SetAngle(90); }, 4, 800, 0},
        {"odd angles hold no rows", [](TZVTable& t) { t.SetAngle(45); }, 0, 800, 0},
        {"a zero row height holds no rows", [](TZVTable& t) { t.SetRowHeight(0); }, 0, 800, 0},
        {"a box smaller than its bands holds no rows", [](TZVTable& t) { t.SetY2(15); }, 0, 800, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVTable table(label);
        Feed(table, {{"X1", 0}, {"Y1", 0}, {"X2", 6000}, {"Y2", 5000}});
        table.AddColumn();
        c.prepare(table);
        EXPECT_EQ(table.RowsPerTable(), c.rows);
        EXPECT_EQ(table.HeaderShown(), c.headerHeight > 0);
        EXPECT_EQ(table.HeaderHeight(), c.headerHeight);
        EXPECT_EQ(table.FooterShown(), c.footerHeight > 0);
        EXPECT_EQ(table.FooterHeight(), c.footerHeight);
    }
}

TEST_F(ElementTest, LayoutFollowsEveryWayOfMovingTheBox)
{
    TZVTable table(label);
    table.SetTitleVisible(false);
    AddColumns(table, 2); // 90, 10; 8 mm header, 10 mm rows
    // 10 model units a pixel.
    table.PlaceFromScreenRect({0, 0, 300, 350}, false, false);
    EXPECT_EQ(table.RowsPerTable(), 2);
    EXPECT_EQ(CellWidths(table), (std::vector<int>{2700, 300}));
    table.SetScreenRect({0, 0, 200, 480});
    EXPECT_EQ(table.RowsPerTable(), 2) << "the surface clamps the rectangle to 350 pixels";
    EXPECT_EQ(CellWidths(table), (std::vector<int>{1800, 200}));
    table.SetEndPoint(5000, 1900);
    EXPECT_EQ(table.RowsPerTable(), 1);
    EXPECT_EQ(CellWidths(table), (std::vector<int>{4500, 500}));
    table.SetX2(20);
    EXPECT_EQ(CellWidths(table), (std::vector<int>{1800, 200}));
}

TEST_F(ElementTest, TableSettersFollowTheirNotificationRules)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVTable&)> act;
        const char* refreshed; // null: the editor hears nothing
    };
    const Case cases[] = {
        {"GridColor", [](TZVTable& t) { t.SetGridColor(0); }, "GridColor"},
        {"unchanged GridColor", [](TZVTable& t) { t.SetGridColor(0xC0C0C0); }, nullptr},
        {"GridStyle", [](TZVTable& t) { t.SetGridStyle(gsHorz); }, "GridStyle"},
        {"TitleText", [](TZVTable& t) { t.SetTitleText("Stock"); }, "TitleText"},
        {"unchanged TitleText", [](TZVTable& t) { t.SetTitleText("Table Title"); }, nullptr},
        {"TitleVisible", [](TZVTable& t) { t.SetTitleVisible(false); }, "TitleVisible"},
        {"unchanged RowHeight still notifies", [](TZVTable& t) { t.SetRowHeight(10); }, "RowHeight"},
        {"unchanged TitleHeight still notifies", [](TZVTable& t) { t.SetTitleHeight(10); }, "TitleHeight"},
        {"unchanged TitleFontHeight still notifies", [](TZVTable& t) { t.SetTitleFontHeight(5); },
         "TitleFontHeight"},
        {"RowColor has no name", [](TZVTable& t) { t.SetRowColor(0xFF); }, ""},
        {"DrawMode has no name", [](TZVTable& t) { t.SetDrawMode(1); }, ""},
        {"TitleBold has no name", [](TZVTable& t) { t.SetTitleBold(true); }, ""},
        {"TitleFontName has no name", [](TZVTable& t) { t.SetTitleFontName("Courier New"); }, ""},
        {"TitleAlign has no name", [](TZVTable& t) { t.SetTitleAlign(caLeft); }, ""},
        {"unchanged TitleAlign", [](TZVTable& t) { t.SetTitleAlign(caCenter); }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVTable table(label);
        Forget();
        c.act(table);
        if (c.refreshed) {
            ASSERT_EQ(editor.refreshes.size(), 1u);
            EXPECT_EQ(editor.LastRefreshedName(), c.refreshed);
            EXPECT_TRUE(label.Modified());
        } else {
            EXPECT_TRUE(editor.refreshes.empty());
            EXPECT_FALSE(label.Modified());
        }
    }
}

TEST_F(ElementTest, TableLengthsAreInTheLabelsUnit)
{
    label.SetUnits(unCM);
    TZVTable table(label);
    table.SetRowHeight(1.2f);
    table.SetTitleHeight(0.8f);
    table.SetTitleFontHeight(0.45f);
    EXPECT_EQ(table.RowHeight(), 1200);
    EXPECT_EQ(table.TitleHeight(), 800);
    EXPECT_EQ(table.TitleFontHeight(), 450);
    EXPECT_FLOAT_EQ(table.GetRowHeight(), 1.2f);
    TZVColumn& column = table.AddColumn();
    column.SetHeaderHeight(1.5f);
    column.SetFooterFontHeight(0.3f);
    EXPECT_EQ(column.HeaderHeight(), 1500);
    EXPECT_EQ(column.FooterFontHeight(), 300);
    EXPECT_FLOAT_EQ(column.GetHeaderHeight(), 1.5f);
}

TEST_F(ElementTest, TableBackColorColoursEveryColumn)
{
    TZVTable table(label);
    AddColumns(table, 2);
    table.Column(1).SetColor(0x00FF00);
    table.SetBackColor(0x0000FF);
    EXPECT_EQ(table.BackColor(), 0x0000FFu);
    EXPECT_EQ(table.Column(0).Color(), 0x0000FFu);
    EXPECT_EQ(table.Column(1).Color(), 0x0000FFu);
}

TEST_F(ElementTest, ColumnSettersNotifyWhileTheirCellShows)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVColumn&)> prepare;
        std::function<void(TZVColumn&)> act;
        bool heard;
        bool modified;
    };
    const auto none = [](TZVColumn&) {};
    const auto hideHeader = [](TZVColumn& c) { c.SetHeaderVisible(false); };
    const auto showFooter = [](TZVColumn& c) { c.SetFooterVisible(true); };
    const Case cases[] = {
        {"data font", none, [](TZVColumn& c) { c.SetFontName("Courier New"); }, true, true},
        {"unchanged data font", none, [](TZVColumn& c) { c.SetFontName("Arial"); }, false, false},
        {"format", none, [](TZVColumn& c) { c.SetFormat("0.00"); }, true, true},
        {"header colour while shown", none, [](TZVColumn& c) { c.SetHeaderColor(0xFF); }, true, true},
        {"header colour while hidden", hideHeader, [](TZVColumn& c) { c.SetHeaderColor(0xFF); }, false, true},
        {"header text compares without case", none,
         [](TZVColumn& c) {
             c.SetHeaderText("Price");
             c.SetHeaderText("PRICE");
         },
         true, true},
        {"hiding the header", none, [](TZVColumn& c) { c.SetHeaderVisible(false); }, true, true},
        {"footer calc while hidden", none, [](TZVColumn& c) { c.SetFooterCalc(fcSum); }, false, true},
        {"footer calc while shown", showFooter, [](TZVColumn& c) { c.SetFooterCalc(fcSum); }, true, true},
        {"footer height while hidden", none, [](TZVColumn& c) { c.SetFooterHeight(5); }, false, true},
        {"showing the footer", none, [](TZVColumn& c) { c.SetFooterVisible(true); }, true, true},
        {"unchanged footer calc", showFooter, [](TZVColumn& c) { c.SetFooterCalc(fcCount); }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVTable table(label);
        TZVColumn& column = table.AddColumn();
        c.prepare(column);
        Forget();
        c.act(column);
        EXPECT_EQ(!editor.refreshes.empty(), c.heard);
        EXPECT_EQ(label.Modified(), c.modified);
    }

    TZVTable table(label);
    TZVColumn& column = table.AddColumn();
    column.SetHeaderText("Price");
    column.SetHeaderText("PRICE");
    EXPECT_EQ(column.HeaderText(), "Price") << "a change of case only is no change";
    column.SetHeaderVisible(false);
    column.SetHeaderBold(true);
    EXPECT_TRUE(column.HeaderBold()) << "a hidden header still stores its settings";
}

TEST_F(ElementTest, ColumnFieldSetsTheValueKindFromTheDetailDataSet)
{
    TZVMemoryDataSet detail;
    detail.AddField("AMOUNT", fkCurrency);
    detail.AddField("QTY", fkInteger);
    detail.AddField("BIG", fkLargeInt);
    detail.AddField("SHIPPED", fkDate);
    detail.AddField("NAME", fkString);
    detail.SetDisplayLabel("AMOUNT", "Amount");
    label.SetDataAccessType(daDataSet);
    label.SetDetail(&detail);

    struct Case
    {
        const char* label;
        const char* field;
        std::uint8_t kind;
    };
    // Applied one after the other to the same column: kinds without a value kind keep the last one.
    const Case cases[] = {
        {"qty", "QTY", vkInteger},          {"Name", "NAME", vkInteger}, {"amount", "AMOUNT", vkFloat},
        {"SHIPPED", "SHIPPED", vkDateTime}, {"BIG", "BIG", vkDateTime},  {"QTY", "QTY", vkInteger},
    };
    TZVTable table(label);
    TZVColumn& column = table.AddColumn();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        column.SetFieldName(c.label);
        EXPECT_EQ(column.BoundField(), c.field);
        EXPECT_EQ(column.ValueKind(), c.kind);
        EXPECT_FALSE(detail.Active()) << "a closed detail is closed again";
    }

    detail.Open();
    column.SetFieldName("Amount");
    EXPECT_EQ(column.ValueKind(), vkFloat);
    EXPECT_TRUE(detail.Active()) << "an open detail stays open";
    label.SetDetail(nullptr);
}

TEST(TableRecord, FieldsAreVisitedInStreamOrderWithTheirColumns)
{
    struct Case
    {
        std::int32_t version;
        bool ansi;
    };
    for (const Case& c : {Case{kStreamVersion, false}, Case{19, false}, Case{18, true}}) {
        SCOPED_TRACE(c.version);
        TZVLab label;
        TZVTable table(label);
        AddColumns(table, 2);
        RecordingVisitor reader(c.version, true);
        table.VisitFields(reader);
        EXPECT_EQ(
            reader.names,
            Joined(Joined(Joined(BaseFieldNames(c.version), kTablePartNames), kColumnNames), kColumnNames));
        EXPECT_EQ(reader.ansiNames["TitleText"], c.ansi);
        EXPECT_EQ(reader.ansiNames["TitleFontName"], c.ansi);
        EXPECT_EQ(reader.ansiNames["HeaderText"], c.ansi);
    }
}

TEST(TableRecord, OlderLayoutsScaleLengthsAndWidths)
{
    struct Case
    {
        std::int32_t version;
        int scale;
    };
    for (const Case& c : {Case{kStreamVersion, 1}, Case{20, 1}, Case{19, 10}}) {
        SCOPED_TRACE(c.version);
        TZVLab label;
        TZVTable table(label);
        AddColumns(table, 2);
        RecordingVisitor reader(c.version, true);
        reader.numbers = {
            {"RowHeight", 70},       {"TitleHeight", 90},  {"TitleFontHeight", 40},  {"Width", 50},
            {"FontHeight", 30},      {"HeaderHeight", 60}, {"HeaderFontHeight", 35}, {"FooterHeight", 55},
            {"FooterFontHeight", 25}};
        table.VisitFields(reader);
        EXPECT_EQ(table.RowHeight(), 70 * c.scale);
        EXPECT_EQ(table.TitleHeight(), 90 * c.scale);
        EXPECT_EQ(table.TitleFontHeight(), 40 * c.scale);
        ASSERT_EQ(table.ColumnCount(), 2);
        for (int i = 0; i < 2; ++i) {
            const TZVColumn& column = table.Column(i);
            EXPECT_EQ(column.Table(), &table);
            EXPECT_EQ(column.Width(), 50 * c.scale);
            EXPECT_EQ(column.FontHeight(), 30 * c.scale);
            EXPECT_EQ(column.HeaderHeight(), 60 * c.scale);
            EXPECT_EQ(column.HeaderFontHeight(), 35 * c.scale);
            EXPECT_EQ(column.FooterHeight(), 55 * c.scale);
            EXPECT_EQ(column.FooterFontHeight(), 25 * c.scale);
        }
    }
}

TEST(TableRecord, WhatIsWrittenReadsBackUnchanged)
{
    TZVLab label;
    TZVTable original(label);
    original.SetGridStyle(gsVert);
    original.SetTitleText("Stock");
    original.SetTitleFontName("Courier New");
    original.SetDrawMode(1);
    original.SetTitleItalic(true);
    TZVColumn& column = original.AddColumn();
    column.SetHeaderText("Qty");
    column.SetFieldName("QTY");
    column.SetFooterVisible(true);
    column.SetFooterCalc(fcMaximum);
    column.SetAlign(caRight);
    RecordingVisitor writer(kStreamVersion, false);
    original.VisitFields(writer);

    TZVTable copy(label);
    copy.AddColumn();
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = writer.numbers;
    reader.strings = writer.strings;
    copy.VisitFields(reader);
    EXPECT_EQ(copy.GridStyle(), gsVert);
    EXPECT_EQ(copy.TitleText(), "Stock");
    EXPECT_EQ(copy.TitleFontName(), "Courier New");
    EXPECT_EQ(copy.DrawMode(), 1);
    EXPECT_TRUE(copy.TitleItalic());
    ASSERT_EQ(copy.ColumnCount(), 1);
    const TZVColumn& read = copy.Column(0);
    EXPECT_EQ(read.HeaderText(), "Qty");
    EXPECT_EQ(read.BoundField(), "QTY");
    EXPECT_TRUE(read.FooterVisible());
    EXPECT_EQ(read.FooterCalc(), fcMaximum);
    EXPECT_EQ(read.Align(), caRight);
    EXPECT_EQ(read.Width(), 100);
}

TEST(TableProperties, PublishedInIndexOrder)
{
    EXPECT_EQ(PublishedNames(TZVTable::staticMetaObject),
              (std::vector<std::string>{"X1",           "Y1",          "Color",     "Print",
                                        "BackColor",    "Transparent", "X2",        "Y2",
                                        "ID",           "EditTable",   "TitleText", "TitleFontHeight",
                                        "TitleVisible", "TitleHeight", "GridColor", "GridStyle",
                                        "Angle",        "PenWidth",    "RowColor",  "RowHeight"}));
    const QMetaObject& meta = TZVTable::staticMetaObject;
    EXPECT_FALSE(meta.property(meta.indexOfProperty("EditTable")).isWritable());
    const QMetaProperty style = meta.property(meta.indexOfProperty("GridStyle"));
    ASSERT_TRUE(style.isEnumType());
    EXPECT_STREQ(style.enumerator().name(), "TZVGridStyle");
}
