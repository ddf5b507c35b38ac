// PDF printer: page geometry, the pages pdfinfo sees, atomic output, and the settings-record rule.
#include "foundation/ZVCanvas.h"
#include "foundation/ZVError.h"
#include "platform/ZVPdfPrinter.h"
#include "tests/support/PdfInfo.h"
#include "tests/support/TestApplication.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>


using namespace zorvel;
using namespace zorvel::test;

namespace {

class PdfPrinter : public testing::Test
{
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }

    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
};

void drawSomething(TZVCanvas& canvas)
{
    canvas.SetMapMode(mmAnisotropic);
    canvas.SetWindowExtEx(1000, 1000);
    canvas.SetViewportExtEx(472, 472); // 10 mm at 1200 dpi
    canvas.SelectBrush(TZVBrush{});
    canvas.Rectangle(100, 100, 900, 900);
}

} // namespace

TEST_F(PdfPrinter, PagesAndPaperAsThePdfReaderSeesThem)
{
    struct Case
    {
        const char* name;
        int paperWidth;  // tenths of a millimetre
        int paperLength;
        int orientation;
        double widthMm;
        double heightMm;
    };
    const Case cases[] = {
        {"A4 portrait", 2100, 2970, TZVDevMode::kPortrait, 210, 297},
        {"A4 landscape", 2100, 2970, TZVDevMode::kLandscape, 297, 210},
        {"label roll 100 x 50", 1000, 500, TZVDevMode::kPortrait, 100, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path("out.pdf");
        TZVPdfPrinter printer(file);
        TZVDevMode& mode = RequireDevMode(printer);
        mode.PaperWidth = c.paperWidth;
        mode.PaperLength = c.paperLength;
        mode.Orientation = c.orientation;
        EXPECT_EQ(printer.HorzSizeMm(), c.widthMm);
        EXPECT_EQ(printer.VertSizeMm(), c.heightMm);
        EXPECT_NEAR(printer.PageSizePixels().width(), c.widthMm / 25.4 * 1200, 1.0);

        printer.BeginDoc("PRINTING : My Label");
        drawSomething(printer.Canvas());
        printer.NewPage();
        drawSomething(printer.Canvas());
        printer.EndDoc();
        EXPECT_FALSE(printer.Printing());

        const auto info = readPdfInfo(file);
        if (!info)
            GTEST_SKIP() << "pdfinfo is not installed";
        EXPECT_EQ(info->pages, 2);
        EXPECT_NEAR(info->widthPt, mmToPoints(c.widthMm), 0.5); // whole points in the file
        EXPECT_NEAR(info->heightPt, mmToPoints(c.heightMm), 0.5);
        EXPECT_EQ(info->title, "PRINTING : My Label");
    }
}

TEST_F(PdfPrinter, AnAbortedJobLeavesTheOldFileAlone)
{
    const QString file = path("kept.pdf");
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous");
    }
    TZVPdfPrinter printer(file);
    printer.BeginDoc("job");
    drawSomething(printer.Canvas());
    printer.Abort();
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "previous");

    const QString fresh = path("never.pdf");
    {
        TZVPdfPrinter dropped(fresh);
        dropped.BeginDoc("job");
    } // destroyed while printing
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"kept.pdf"});
}

// Parts offered to the join as they end and those given only at the end make one file in page
// order; a damaged part fails the join and leaves the older file alone.
TEST_F(PdfPrinter, PartsJoinInPageOrderAndADamagedPartLeavesTheOldFile)
{
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged ? "damaged" : "whole");
        const QString file = path(damaged ? "damaged.pdf" : "joined.pdf");
        {
            QFile old(file);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("previous");
        }
        TZVPdfPrinter master(file);
        std::vector<std::unique_ptr<TZVPrinter>> parts;
        int page = 1;
        for (const int pages : {2, 1, 3}) {
            parts.push_back(master.NewPart(page));
            TZVPrinter& part = *parts.back();
            part.BeginDoc("job");
            for (int i = 0; i < pages; ++i, ++page) {
                if (i > 0) part.NewPage();
                part.Canvas().ExtTextOut(100, 100, QString("P%1").arg(page));
            }
            part.EndDoc();
        }
        if (damaged) {
            QFile part(static_cast<TZVPdfPrinter&>(*parts[1]).FileName());
            ASSERT_TRUE(part.open(QIODevice::WriteOnly | QIODevice::Truncate));
            part.write("%PDF-1.4 no more");
        }
        const auto join = [&] {
            master.PrepareJoin(*parts[0]);
            master.JoinParts(std::move(parts));
        };
        if (damaged) {
            EXPECT_THROW(join(), EZvError);
            QFile kept(file);
            ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
            EXPECT_EQ(kept.readAll(), "previous");
            continue;
        }
        join();
        QStringList words;
        for (const PdfWord& word : readPdfWords(file))
            words << QString("%1:%2").arg(word.page).arg(word.text);
        if (words.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
        EXPECT_EQ(words, QStringList({"1:P1", "2:P2", "3:P3", "4:P4", "5:P5", "6:P6"}));
    }
}

TEST_F(PdfPrinter, FailuresAreReported)
{
    TZVPdfPrinter printer(path("missing-folder/out.pdf"));
    try {
        printer.BeginDoc("job");
        ADD_FAILURE() << "no error";
    } catch (const EZvError& e) {
        EXPECT_TRUE(e.message().startsWith("CAN'T WRITE FILE : "));
    }
    EXPECT_FALSE(printer.Printing());
    EXPECT_THROW(printer.Canvas(), EZvError);
}

namespace {

// A printer whose settings record appears only once its index is selected again.
class LatePrinter final : public TZVPrinter
{
public:
    int reselections = 0;
    bool recoverOnReselect = true;
    TZVDevMode mode;
    bool ready = false;

    QStringList Printers() const override { return {"late"}; }
    int PrinterIndex() const override { return 0; }
    void SetPrinterIndex(int) override
    {
        ++reselections;
        ready = recoverOnReselect;
    }
    TZVDevMode* DevMode() override { return ready ? &mode : nullptr; }
    int DpiX() const override { return 300; }
    int DpiY() const override { return 300; }
    QSize PageSizePixels() const override { return {}; }
    QSize PhysicalOffset() const override { return {}; }
    int HorzSizeMm() const override { return 0; }
    int VertSizeMm() const override { return 0; }
    void BeginDoc(const QString&) override {}
    void NewPage() override {}
    void EndDoc() override {}
    void Abort() override {}
    bool Printing() const override { return false; }
    TZVCanvas& Canvas() override { throw EZvError("NO CANVAS"); }
};

} // namespace

TEST(PrinterSettings, RequireDevModeSelectsThePrinterAgainOnce)
{
    LatePrinter recovering;
    EXPECT_EQ(&RequireDevMode(recovering), &recovering.mode);
    EXPECT_EQ(recovering.reselections, 1);

    LatePrinter broken;
    broken.recoverOnReselect = false;
    try {
        RequireDevMode(broken);
        ADD_FAILURE() << "no error";
    } catch (const EZvPrinterError& e) {
        EXPECT_STREQ(e.what(), "CANT INITIALIZE DEVMODE STRUCT");
    }
    EXPECT_EQ(broken.reselections, 1);

    TZVPdfPrinter pdf("unused.pdf");
    pdf.SetPrinterIndex(3);
    EXPECT_THROW(RequireDevMode(pdf), EZvPrinterError);
}
