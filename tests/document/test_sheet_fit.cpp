// The sheet against its paper: which last rows and columns fall off, in either orientation.
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "document/ZVSheetFit.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace zorvel;

namespace {

struct FitCase
{
    const char* name;
    const char* measure; // JSON members of "Measure", model units (1/100 mm), A4 = 21000 x 29700
    int orientation;
    int rows, columns, rowsOff, columnsOff;
    int lastColumnOnPaper; // the last column any part of which is on the paper; 0 for none
};

// Right edge of column c: MarLeft + c * Width + (c - 1) * DiHor; bottom edge of row r likewise.
const FitCase kCases[] = {
    // 5 + 3*60 + 2*4 = 193 mm across, 10 + 7*35 + 6*4 = 279 mm down.
    {"DefaultSheetFits", R"("NuHor":7,"NuVer":3)", 0, 7, 3, 0, 0, 3},
    // Columns of 95 mm from 10 mm end at 105, 200, 295, 390: two pass 210 mm, the one from 200 mm
    // still reaches onto it.
    {"WideLabelsPassTheRightEdge", R"("NuHor":3,"NuVer":4,"Width":9500,"MarLeft":1000,"DiHor":0)", 0, 3, 4, 0, 2, 3},
    // Turned, the page is 297 mm wide: only the fourth column passes it; rows end at 49, 88, 127 of 210.
    {"LandscapeTurnsThePage", R"("NuHor":3,"NuVer":4,"Width":9500,"MarLeft":1000,"DiHor":0)", 1, 3, 4, 0, 1, 4},
    // Eight rows end at 318 mm, seven at 279.
    {"TallSheetPassesTheBottom", R"("NuHor":8,"NuVer":3)", 0, 8, 3, 1, 0, 3},
    // Two labels of 100 mm from 10 mm end exactly on the edge.
    {"LabelOnTheEdgeFits", R"("NuHor":1,"NuVer":2,"Width":10000,"MarLeft":1000,"DiHor":0)", 0, 1, 2, 0, 0, 2},
    {"StoredZeroCountsLayOutOne", R"("NuHor":0,"NuVer":-4)", 0, 1, 1, 0, 0, 1},
    // 193 mm hold three columns; the fourth starts at 197 mm; the rest of 2^31 - 1 fall off without overflow.
    {"HugeCountsDoNotOverflow", R"("NuHor":7,"NuVer":2147483647)", 0, 7, 2147483647, 0, 2147483644, 4},
    // A margin past the paper puts every label off it.
    {"MarginPastThePaper", R"("NuHor":2,"NuVer":2,"MarLeft":30000)", 0, 2, 2, 0, 2, 0},
};

void PrintTo(const FitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SheetFitTest : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(SheetFitTest, CountsTheRowsAndColumnsOffThePaper)
{
    const FitCase& c = GetParam();
    TZVLab label;
    const QString json = QStringLiteral(R"({"Measure":{"Width":6000,"Height":3500,"MarLeft":500,"MarTop":1000,)"
                                        R"("DiHor":400,"DiVer":400,"PaperWidth":21000,"PaperHeight":29700,%1},)"
                                        R"("PrintInfo":{"Orientation":%2}})")
                             .arg(QString::fromUtf8(c.measure))
                             .arg(c.orientation);
    DesignFromJson(label, json.toUtf8());
    const TZVSheetFit fit = SheetFit(label);
    EXPECT_EQ(fit.Rows, c.rows);
    EXPECT_EQ(fit.Columns, c.columns);
    EXPECT_EQ(fit.RowsOff, c.rowsOff);
    EXPECT_EQ(fit.ColumnsOff, c.columnsOff);
    EXPECT_EQ(fit.Fits(), c.rowsOff == 0 && c.columnsOff == 0);
    EXPECT_EQ(fit.ColumnsOnPaper.Empty(), c.lastColumnOnPaper == 0);
    if (c.lastColumnOnPaper > 0) {
        EXPECT_EQ(fit.ColumnsOnPaper.First, 1);
        EXPECT_EQ(fit.ColumnsOnPaper.Last, c.lastColumnOnPaper);
    }
    // The last label is on the paper exactly when nothing falls off.
    EXPECT_EQ(fit.LabelFits(fit.Rows, fit.Columns), fit.Fits());
}

INSTANTIATE_TEST_SUITE_P(Sheets, SheetFitTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SheetFitWarning, NamesWhatFallsOff)
{
    const struct
    {
        int rowsOff, columnsOff;
        const char* text;
    } cases[] = {
        {0, 0, ""},
        {0, 2, "LABELS OFF THE PAPER : 2 COLUMNS"},
        {1, 0, "LABELS OFF THE PAPER : 1 ROW"},
        {3, 1, "LABELS OFF THE PAPER : 1 COLUMN, 3 ROWS"},
    };
    for (const auto& c : cases) {
        TZVSheetFit fit;
        fit.Rows = fit.Columns = 5;
        fit.RowsOff = c.rowsOff;
        fit.ColumnsOff = c.columnsOff;
        EXPECT_EQ(SheetFitWarning(fit), QString::fromUtf8(c.text));
    }
}

} // namespace
