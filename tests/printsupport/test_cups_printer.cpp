// TZVQtPrinter and printer calibration against a private CUPS scheduler: what arrives at the queue.
#include "dialogs/ZVCalibrationDialog.h"
#include "dialogs/ZVPreview.h"
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVCsvDataSet.h"
#include "printsupport/ZVPrinterCalibration.h"
#include "printsupport/ZVPrinterLanguage.h"
#include "printsupport/ZVQtPrinter.h"
#include "tests/support/CupsFixture.h"
#include "tests/support/PdfInfo.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestApplication.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace zorvel;
using namespace zorvel::test;

namespace {

// Saved offsets go to a settings folder of this process's own, before anything reads settings.
void isolateSettings()
{
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
}

class CupsPrinter : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CupsServer::shared(); // before Qt's print support asks CUPS anything
        isolateSettings();
        ensureApplication<QApplication>();
    }
    void SetUp() override { ZV_REQUIRE_CUPS(); }

    static TZVQtPrinter& select(TZVQtPrinter& printer, const QString& queue)
    {
        printer.SetPrinterIndex(static_cast<int>(printer.Printers().indexOf(queue)));
        return printer;
    }

    // render_design.json (3 x 7 labels of 60 x 35 mm from 5, 10 mm, 4 mm apart) with records N1..Nn.
    static void loadRun(TZVLab& label, TZVCsvDataSet& csv, QTemporaryDir& dir, int records)
    {
        QFile design(ZORVEL_TEST_DATA_DIR "/render_design.json");
        ASSERT_TRUE(design.open(QIODevice::ReadOnly));
        TZVMemoryStream stream(JsonToStream(design.readAll()));
        label.LoadFromStream(stream);
        QFile data(dir.filePath("records.csv"));
        ASSERT_TRUE(data.open(QIODevice::WriteOnly));
        data.write("NAME\n");
        for (int i = 1; i <= records; ++i) data.write(QByteArray("N") + QByteArray::number(i) + "\n");
        data.close();
        csv.SetFileName(data.fileName());
        csv.Open();
        label.SetDataAccessType(daDataSet);
        label.SetDataSet(&csv);
        label.SetDataEnabled(true);
        label.OnAskText = [](QObject*, int, const QString&, QString& text) { text = "L7"; };
    }

    // The label's preview, printing to `queue` from its print dialog; errors land in `errors`.
    static void previewPrintingTo(TZvPrw& window, TZVLab& label, const QString& queue, QStringList& errors)
    {
        window.ExecPrintDialog = [queue](QPrinter& printer) {
            printer.setPrinterName(queue);
            return true;
        };
        window.ShowError = [&errors](const QString& message) { errors << message; };
        window.SetLabel(label);
    }

    static CupsServer& server() { return CupsServer::shared(); }
};

} // namespace

TEST_F(CupsPrinter, ListsTheQueuesAndSelectsTheDefault)
{
    TZVQtPrinter printer;
    EXPECT_EQ(printer.Printers(), QStringList({"zv_a", "zv_b"}));
    ASSERT_GE(printer.PrinterIndex(), 0);
    EXPECT_EQ(printer.Printers().at(printer.PrinterIndex()), "zv_a");
    ASSERT_EQ(server().run("lpadmin", {"-d", "zv_b"}), 0);
    TZVQtPrinter second;
    ASSERT_GE(second.PrinterIndex(), 0);
    EXPECT_EQ(second.Printers().at(second.PrinterIndex()), "zv_b");
    server().run("lpadmin", {"-d", "zv_a"});
}

TEST_F(CupsPrinter, SendsPaperOrientationCopiesAndTitleWithTheJob)
{
    struct Case
    {
        int width, length, orientation, copies;
        double shortPt, longPt; // the paper's sides
        int rotation;           // a landscape job arrives turned on portrait paper
    };
    const Case cases[] = {
        {2100, 2970, TZVDevMode::kPortrait, 1, 595.3, 841.9, 0},
        {1480, 2100, TZVDevMode::kLandscape, 3, 419.5, 595.3, 270},
        {1050, 1480, TZVDevMode::kPortrait, 2, 297.6, 419.5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.length << " orientation " << c.orientation);
        server().clear("zv_b");
        TZVQtPrinter printer;
        TZVDevMode& mode = RequireDevMode(select(printer, "zv_b"));
        mode.PaperWidth = c.width;
        mode.PaperLength = c.length;
        mode.Orientation = c.orientation;
        mode.CopiesSet = true;
        mode.Copies = c.copies;
        printer.BeginDoc("PRINTING : Shelf");
        printer.Canvas().ExtTextOut(100, 100, "Corner");
        printer.EndDoc();
        EXPECT_GT(printer.LastJobId(), 0);
        const QString pdf = server().receivedPdf("zv_b");
        ASSERT_FALSE(pdf.isEmpty()) << "no job arrived";
        // The queue's driver makes the copies itself.
        const auto info = readPdfInfo(pdf);
        EXPECT_EQ(info->pages, c.copies);
        EXPECT_EQ(info->title, "PRINTING : Shelf");
        EXPECT_NEAR(std::min(info->widthPt, info->heightPt), c.shortPt, 1);
        EXPECT_NEAR(std::max(info->widthPt, info->heightPt), c.longPt, 1);
        QProcess pdfinfo;
        pdfinfo.start("pdfinfo", {pdf});
        pdfinfo.waitForFinished();
        const QString out = QString::fromUtf8(pdfinfo.readAllStandardOutput());
        EXPECT_EQ(QRegularExpression(R"(Page rot:\s+(\d+))").match(out).captured(1).toInt(), c.rotation) << out.toStdString();
    }
}

namespace {

// The page the label printer's driver made of a job: dots across (its print width) and down (the
// rows of its picture), at 203 dpi.
QSizeF zplPage(const QString& zpl)
{
    QFile file(zpl);
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    const auto width = QRegularExpression(R"(\^PW(\d+))").match(text);
    const auto picture = QRegularExpression(R"(~DGR:CUPS\.GRF,(\d+),(\d+),)").match(text);
    return {width.captured(1).toDouble(), picture.captured(1).toDouble() / std::max(1, picture.captured(2).toInt())};
}

} // namespace

TEST_F(CupsPrinter, APageArrivesOnAPaperOfItsSizeOrIsRefused)
{
    QString why;
    ASSERT_TRUE(server().addLabelQueue(why)) << why.toStdString();
    const QString label = CupsServer::kLabelQueue;
    struct Case
    {
        QString queue;
        int width, length, orientation;
        QSizeF arrives; // the label printer's dots, the PDF printer's points
        QString error;
    };
    const Case cases[] = {
        // The driver's w162h90 (57.15 x 31.75 mm), not a custom size of the design's own; it has
        // w90h162 as well, for the same page the other way round.
        {label, 570, 320, TZVDevMode::kPortrait, {457, 254}, ""},
        {label, 320, 570, TZVDevMode::kPortrait, {254, 457}, ""},
        {label, 1016, 572, TZVDevMode::kPortrait, {457, 813}, ""}, // turned onto w162h288
        // No medium near 70 x 40 mm: a custom size, which the label printer takes up to 8 in wide.
        {label, 700, 400, TZVDevMode::kPortrait, {559, 320}, ""},
        {label, 2500, 4000, TZVDevMode::kPortrait, {}, "PAPER SIZE NOT AVAILABLE : 250 x 400 MM ON PRINTER zv_label"},
        {"zv_b", 1045, 1488, TZVDevMode::kPortrait, {297.6, 419.5}, ""}, // within a millimetre of A6
        {"zv_b", 1016, 1524, TZVDevMode::kPortrait, {}, "PAPER SIZE NOT AVAILABLE : 101.6 x 152.4 MM ON PRINTER zv_b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.queue.toStdString() << " " << c.width << " x " << c.length);
        server().clear(c.queue);
        TZVQtPrinter printer;
        TZVDevMode& mode = RequireDevMode(select(printer, c.queue));
        mode.PaperWidth = c.width;
        mode.PaperLength = c.length;
        mode.Orientation = c.orientation;
        try {
            printer.BeginDoc("PRINTING : Paper");
            printer.Canvas().ExtTextOut(10, 10, "Corner");
            printer.EndDoc();
            EXPECT_EQ(c.error, "");
        } catch (const EZvError& e) {
            EXPECT_EQ(e.message(), c.error);
            EXPECT_FALSE(printer.Printing());
            EXPECT_EQ(printer.LastJobId(), 0);
            continue;
        }
        const QString job = server().receivedPdf(c.queue);
        ASSERT_FALSE(job.isEmpty()) << "no job arrived";
        const auto pdf = c.queue == label ? std::nullopt : readPdfInfo(job);
        const QSizeF page = pdf ? QSizeF(pdf->widthPt, pdf->heightPt) : zplPage(job);
        EXPECT_NEAR(page.width(), c.arrives.width(), 1);
        EXPECT_NEAR(page.height(), c.arrives.height(), 1);
    }
    server().removeLabelQueues();
}

TEST_F(CupsPrinter, ARunArrivesWithEveryLabelInItsRectangle)
{
    QTemporaryDir dir;
    TZVLab label;
    TZVCsvDataSet csv;
    loadRun(label, csv, dir, 25);
    server().clear("zv_a");
    TZVQtPrinter printer;
    ASSERT_TRUE(label.Print(select(printer, "zv_a")));
    label.SetDataSet(nullptr);
    const QString pdf = server().receivedPdf("zv_a");
    ASSERT_FALSE(pdf.isEmpty()) << "no job arrived";
    EXPECT_EQ(readPdfInfo(pdf)->pages, 2);
    int names = 0;
    for (const PdfWord& w : readPdfWords(pdf)) {
        if (!w.text.startsWith('N')) continue;
        ++names;
        const int n = w.text.mid(1).toInt(); // record n is the run's n-th label: 21 a page, 3 a row
        const int place = (n - 1) % 21;
        const double left = 5 + (place % 3) * 64, top = 10 + (place / 3) * 39;
        SCOPED_TRACE(w.text.toStdString());
        EXPECT_EQ(w.page, (n - 1) / 21 + 1);
        // The name starts 3 mm into the label and 4 mm down; glyphs keep inside the label.
        EXPECT_NEAR(w.xMin, left + 3, 0.5);
        EXPECT_NEAR(w.yMin, top + 4, 0.5);
        EXPECT_LT(w.xMax, left + 60);
        EXPECT_LT(w.yMax, top + 35);
    }
    EXPECT_EQ(names, 25);
}

TEST_F(CupsPrinter, AStoppedOrRefusingQueueFailsWithTheSchedulersMessage)
{
    struct Case
    {
        const char* tool;
        QStringList args;
        const char* undo;
        QString message;
    };
    const Case cases[] = {
        {"cupsdisable", {"-r", "Out of paper", "zv_b"}, "cupsenable", "PRINTER STOPPED : zv_b (Out of paper)"},
        {"cupsreject", {"zv_b"}, "cupsaccept", "PRINT JOB REFUSED : zv_b (Destination \"zv_b\" is not accepting jobs.)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        ASSERT_EQ(server().run(c.tool, c.args), 0);
        server().clear("zv_b");
        TZVLab label;
        TZVQtPrinter printer;
        try {
            label.Print(select(printer, "zv_b"));
            ADD_FAILURE() << "printed";
        } catch (const EZvError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_FALSE(printer.Printing());
        EXPECT_EQ(printer.LastJobId(), 0);
        QString jobs;
        server().run("lpstat", {"-o", "zv_b"}, &jobs);
        EXPECT_EQ(jobs.trimmed(), "");
        EXPECT_EQ(server().run(c.undo, {"zv_b"}), 0);
    }
}

TEST_F(CupsPrinter, CalibrationOffsetsMoveEveryMarkAndLabel)
{
    const TZVCalibration offsets{2.5, -1.5};
    const auto print = [&](const TZVCalibration& by, bool calibrationPage) {
        server().clear("zv_a");
        TZVQtPrinter printer;
        TZVOffsetPrinter moved(select(printer, "zv_a"), by);
        if (calibrationPage) {
            PrintCalibrationPage(moved, "zv_a", by);
        } else {
            QTemporaryDir dir;
            TZVLab label;
            TZVCsvDataSet csv;
            loadRun(label, csv, dir, 5);
            EXPECT_TRUE(label.Print(moved));
            label.SetDataSet(nullptr);
        }
        const QString pdf = server().receivedPdf("zv_a");
        EXPECT_FALSE(pdf.isEmpty()) << "no job arrived";
        return readPdfWords(pdf);
    };
    for (const bool calibrationPage : {true, false}) {
        SCOPED_TRACE(calibrationPage ? "calibration page" : "labels");
        const auto plain = print({}, calibrationPage);
        const auto shifted = print(offsets, calibrationPage);
        ASSERT_GE(plain.size(), 10u);
        ASSERT_EQ(plain.size(), shifted.size());
        for (std::size_t i = 0; i < plain.size(); ++i) {
            if (plain[i].text.contains("offsets")) break; // the notes name the offsets and differ from there
            SCOPED_TRACE(plain[i].text.toStdString());
            EXPECT_EQ(plain[i].text, shifted[i].text);
            EXPECT_NEAR(shifted[i].xMin - plain[i].xMin, offsets.X, 0.2);
            EXPECT_NEAR(shifted[i].yMin - plain[i].yMin, offsets.Y, 0.2);
        }
    }
}

TEST_F(CupsPrinter, TheCalibrationPageNumbersItsRulersWhereItSays)
{
    server().clear("zv_a");
    TZVQtPrinter printer;
    PrintCalibrationPage(select(printer, "zv_a"), "zv_a", {});
    const QString pdf = server().receivedPdf("zv_a");
    ASSERT_FALSE(pdf.isEmpty());
    int top = 0, left = 0;
    for (const PdfWord& w : readPdfWords(pdf)) {
        bool number = false;
        const int mm = w.text.toInt(&number);
        if (!number) continue;
        // Top ruler numbers start half a millimetre right of their tick, left ones half a millimetre below.
        if (std::abs(w.yMin - 11) < 0.6) {
            ++top;
            EXPECT_NEAR(w.xMin, mm + 0.5, 0.5) << mm;
        } else if (std::abs(w.xMin - 14.5) < 0.6) {
            ++left;
            EXPECT_NEAR(w.yMin, mm + 0.5, 0.6) << mm;
        }
    }
    EXPECT_EQ(top, 20);  // 10 .. 200
    EXPECT_EQ(left, 27); // 20 .. 280
}

TEST_F(CupsPrinter, ThePreviewPrintsWithTheQueuesSavedOffsets)
{
    TZVPrinterCalibration::Save("zv_b", {2, 1});
    QTemporaryDir dir;
    TZVLab label;
    TZVCsvDataSet csv;
    loadRun(label, csv, dir, 2);
    label.PreparePreview();
    TZvPrw window;
    QStringList errors;
    previewPrintingTo(window, label, "zv_b", errors);
    server().clear("zv_b");
    EXPECT_TRUE(window.PrintPages()) << errors.join("; ").toStdString();
    label.SetDataSet(nullptr);
    TZVPrinterCalibration::Save("zv_b", {});
    const QString pdf = server().receivedPdf("zv_b");
    ASSERT_FALSE(pdf.isEmpty()) << "no job arrived";
    const auto words = readPdfWords(pdf);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words.front().text, "N1");
    EXPECT_NEAR(words.front().xMin, 5 + 3 + 2, 0.5);
    EXPECT_NEAR(words.front().yMin, 10 + 4 + 1, 0.5);
}

TEST_F(CupsPrinter, ThePreviewRefusesAPaperTheQueueLacks)
{
    TZVLab label;
    label.Measure().SetPaperWidth(101.6f);
    label.Measure().SetPaperHeight(152.4f);
    label.PreparePreview();
    TZvPrw window;
    QStringList errors;
    previewPrintingTo(window, label, "zv_b", errors);
    EXPECT_FALSE(window.PrintPages());
    EXPECT_EQ(errors, QStringList{"PAPER SIZE NOT AVAILABLE : 101.6 x 152.4 MM ON PRINTER zv_b"});
}

TEST_F(CupsPrinter, TheCalibrationDialogKeepsOffsetsPerPrinterAndPrintsThePage)
{
    TZVPrinterCalibration::Save("zv_a", {});
    TZVPrinterCalibration::Save("zv_b", {1.5, -2});
    TZVCalibrationDialog dialog;
    QStringList errors;
    dialog.ShowError = [&](const QString& message) { errors << message; };
    EXPECT_EQ(dialog.CbPrinter()->currentText(), "zv_a");
    EXPECT_EQ(dialog.Offsets()->Offsets(), TZVCalibration{});
    dialog.CbPrinter()->setCurrentText("zv_b");
    EXPECT_EQ(dialog.Offsets()->Offsets(), (TZVCalibration{1.5, -2}));
    dialog.Offsets()->EdX()->setValue(12); // held at the range's end
    server().clear("zv_b");
    dialog.BtPrint()->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    const QString pdf = server().receivedPdf("zv_b");
    ASSERT_FALSE(pdf.isEmpty()) << "no calibration page arrived";
    EXPECT_EQ(readPdfInfo(pdf)->pages, 1);
    dialog.accept();
    EXPECT_EQ(TZVPrinterCalibration::Load("zv_b"), (TZVCalibration{10, -2}));
    EXPECT_EQ(TZVPrinterCalibration::Load("zv_a"), TZVCalibration{});
    TZVPrinterCalibration::Save("zv_b", {});

    ASSERT_EQ(server().run("cupsdisable", {"zv_b"}), 0);
    EXPECT_FALSE(dialog.PrintCalibrationPage());
    EXPECT_EQ(errors, QStringList{"PRINTER STOPPED : zv_b (Paused)"});
    server().run("cupsenable", {"zv_b"});
}

TEST(PrinterCalibration, KeepsOffsetsByPrinterWithinTenMillimetres)
{
    isolateSettings();
    ensureApplication<QApplication>();
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Zorvel", "printers");
    settings.remove("PrinterCalibration");
    struct Case
    {
        TZVCalibration offsets;
        QString error; // empty: kept
    };
    const Case cases[] = {
        {{10, -10}, ""},
        {{-0.4, 3.25}, ""},
        {{10.01, 0}, "HORIZONTAL OFFSET OUT OF RANGE : 10.01 MM (-10 TO 10 MM)"},
        {{0, -12}, "VERTICAL OFFSET OUT OF RANGE : -12 MM (-10 TO 10 MM)"},
        {{std::nan(""), 0}, "HORIZONTAL OFFSET OUT OF RANGE : nan MM (-10 TO 10 MM)"},
    };
    for (const Case& c : cases) {
        TZVPrinterCalibration::Save("office/laser", {1, 1});
        try {
            TZVPrinterCalibration::Save("office/laser", c.offsets);
            EXPECT_EQ(c.error, "");
            EXPECT_EQ(TZVPrinterCalibration::Load("office/laser"), c.offsets);
        } catch (const EZvError& e) {
            EXPECT_EQ(e.message(), c.error);
            EXPECT_EQ(TZVPrinterCalibration::Load("office/laser"), (TZVCalibration{1, 1}));
        }
    }
    EXPECT_EQ(TZVPrinterCalibration::Load("office"), TZVCalibration{});
    TZVPrinterCalibration::Save("office/laser", {});
    settings.sync();
    EXPECT_FALSE(settings.contains("PrinterCalibration/office%2Flaser/OffsetX"));
}

TEST(PrinterCalibration, ADamagedEntryDropsBothOffsetsAndSaysSo)
{
    isolateSettings();
    ensureApplication<QApplication>();
    struct Case
    {
        const char* x;
        const char* y;
        QString damage; // empty: in order
    };
    const Case cases[] = {
        {"0.5", "-2", ""},
        {"abc", "2", "DAMAGED CALIBRATION : office/laser (OffsetX=abc), NO OFFSETS USED"},
        {"1.5", "", "DAMAGED CALIBRATION : office/laser (OffsetY=), NO OFFSETS USED"},
        {"3", "nan", "DAMAGED CALIBRATION : office/laser (OffsetY=nan), NO OFFSETS USED"},
        {"12", "1", "DAMAGED CALIBRATION : office/laser (OffsetX=12), NO OFFSETS USED"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x + std::string(" ") + c.y);
        {
            QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Zorvel", "printers");
            settings.setValue("PrinterCalibration/office%2Flaser/OffsetX", c.x);
            settings.setValue("PrinterCalibration/office%2Flaser/OffsetY", c.y);
        }
        QString damage = "before";
        const TZVCalibration loaded = TZVPrinterCalibration::Load("office/laser", &damage);
        EXPECT_EQ(damage, c.damage);
        EXPECT_EQ(TZVPrinterCalibration::Load("office/laser"), loaded);
        EXPECT_EQ(loaded, (c.damage.isEmpty() ? TZVCalibration{std::atof(c.x), std::atof(c.y)} : TZVCalibration{}));
        TZVCalibrationEdit edit;
        edit.LoadFor("office/laser");
        EXPECT_EQ(edit.Offsets(), loaded);
        EXPECT_EQ(edit.LbDamage()->isHidden(), c.damage.isEmpty());
        EXPECT_EQ(edit.LbDamage()->text(), c.damage);
    }
    TZVPrinterCalibration::Save("office/laser", {});
}

TEST_F(CupsPrinter, ThePreviewPrintsToAZplQueueInZorvelsOwnZpl)
{
    QString why;
    ASSERT_TRUE(server().addLabelQueue(why)) << why.toStdString();
    TZVPrinterLanguages::Save(CupsServer::kRawQueue, {TZVPrinterLanguage::Zpl, 203});
    QFile design(ZORVEL_TEST_DATA_DIR "/roll_design.json");
    ASSERT_TRUE(design.open(QIODevice::ReadOnly));
    // Without data: the QR Code's template becomes fixed content.
    TZVMemoryStream stream(JsonToStream(design.readAll().replace(R"("Template": "https://assets.example/{TAG}")",
                                                                  R"("BarCode": "https://assets.example/A-1")")));
    TZVLab label;
    label.LoadFromStream(stream);
    label.SetDataEnabled(false);
    label.PrintInfo().SetNumLabels(2);
    label.PreparePreview();
    TZvPrw window;
    QStringList errors;
    previewPrintingTo(window, label, CupsServer::kRawQueue, errors);
    EXPECT_TRUE(window.PrintPages());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('|').toStdString();
    const QString job = server().receivedPdf(CupsServer::kRawQueue);
    ASSERT_FALSE(job.isEmpty()) << "no job arrived";
    QFile zpl(job);
    ASSERT_TRUE(zpl.open(QIODevice::ReadOnly));
    const QByteArray code = zpl.readAll();
    // Two labels alike: one label format printed twice; the paper (57.2 x 31.8 mm as the settings
    // record keeps it in tenths) at 8 dots a millimetre.
    EXPECT_EQ(code.count("^XA"), 1) << code.left(300).toStdString();
    EXPECT_TRUE(code.contains("^PQ2")) << code.left(300).toStdString();
    EXPECT_TRUE(code.contains("^PW458")) << code.left(300).toStdString();
    TZVPrinterLanguages::Save(CupsServer::kRawQueue, {});
    server().removeLabelQueues();
}
