// The system printer through QPrinter: no printer means no settings record; PDF output on the same path.
#include "document/ZVCustomLab.h"
#include "foundation/ZVCanvas.h"
#include "printsupport/ZVQtPrinter.h"
#include "tests/support/PdfInfo.h"
#include "tests/support/TestApplication.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zorvel;
using namespace zorvel::test;

namespace {

class QtPrinter : public testing::Test
{
protected:
    static void SetUpTestSuite() { ensureApplication<QApplication>(); }
};

} // namespace

TEST_F(QtPrinter, WithoutASystemPrinterThereIsNoSettingsRecord)
{
    TZVQtPrinter printer;
    if (!printer.Printers().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    EXPECT_EQ(printer.DevMode(), nullptr);
    try {
        printer.BeginDoc("PRINTING : My Label");
        ADD_FAILURE() << "no error";
    } catch (const EZvPrinterError& e) {
        EXPECT_STREQ(e.what(), "CANT INITIALIZE DEVMODE STRUCT");
    }
    EXPECT_FALSE(printer.Printing());
}

TEST_F(QtPrinter, PrintsToAPdfFileWithTheSettingsRecordsPaper)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("job.pdf");
    TZVQtPrinter printer;
    printer.SetOutputFileName(file);
    TZVDevMode& mode = RequireDevMode(printer);
    mode.PaperWidth = 1480; // A5, turned
    mode.PaperLength = 2100;
    mode.Orientation = TZVDevMode::kLandscape;
    mode.CopiesSet = true;
    mode.Copies = 2;

    printer.BeginDoc("PRINTING : Shelf");
    EXPECT_EQ(printer.HorzSizeMm(), 210);
    EXPECT_EQ(printer.VertSizeMm(), 148);
    EXPECT_EQ(printer.Printer().copyCount(), 2);
    TZVCanvas& canvas = printer.Canvas();
    canvas.FillRect({0, 0, 100, 100});
    printer.NewPage();
    canvas.FillRect({0, 0, 100, 100});
    printer.EndDoc();

    const auto info = readPdfInfo(file);
    if (!info)
        GTEST_SKIP() << "pdfinfo is not installed";
    EXPECT_EQ(info->pages, 2);
    EXPECT_NEAR(info->widthPt, mmToPoints(210), 0.5);
    EXPECT_NEAR(info->heightPt, mmToPoints(148), 0.5);
    EXPECT_EQ(info->title, "PRINTING : Shelf");
}

TEST_F(QtPrinter, ARunNotesThePrintersMarginsInModelUnits)
{
    QTemporaryDir dir;
    TZVQtPrinter printer;
    printer.SetOutputFileName(dir.filePath("job.pdf"));
    printer.Printer().setPageMargins(QMarginsF(10, 5, 20, 15), QPageLayout::Millimeter);
    TZVLab label; // A4, portrait
    ASSERT_TRUE(label.Print(printer));
    const TZVPrintInfo& info = label.PrintInfo();
    // Qt lays a PDF page and its margins out in whole points.
    const double point = 2540.0 / 72;
    EXPECT_NEAR(info.OffsetX, 1000, point);
    EXPECT_NEAR(info.OffsetY, 500, point);
    EXPECT_NEAR(info.PrintableWidth, 21000 - 3000, point);
    EXPECT_NEAR(info.PrintableHeight, 29700 - 2000, point);
    EXPECT_NEAR(info.MarginRight, 2000, 2 * point);
    EXPECT_NEAR(info.MarginBottom, 1500, 2 * point);
}
