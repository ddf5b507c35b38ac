// Tests of the print run: sheet layout, record walk, printer settings, preview pages and questions.
#include "../support/PaintSupport.h"
#include "../support/PdfInfo.h"
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "foundation/ZVPrinter.h"
#include "foundation/ZVRecordingCanvas.h"
#include "platform/ZVMemoryDataSet.h"
#include "platform/ZVPdfPrinter.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace zorvel::test {
namespace {

// A printer at 254 dpi (ten pixels a millimetre) on A4 whose pages are recording canvases.
class RecordingPrinter final : public TZVPrinter
{
public:
    RecordingPrinter() : m_canvas(nullptr, caps()) {}

    QStringList Printers() const override { return {"Recorder"}; }
    int PrinterIndex() const override { return m_index; }
    void SetPrinterIndex(int index) override { m_index = index; }
    TZVDevMode* DevMode() override { return m_index == 0 ? &devMode : nullptr; }

    int DpiX() const override { return 254; }
    int DpiY() const override { return 254; }
    QSize PageSizePixels() const override { return {2100, 2970}; }
    QSize PhysicalOffset() const override { return physicalOffset; }
    int HorzSizeMm() const override { return 210; }
    int VertSizeMm() const override { return 297; }

    void BeginDoc(const QString& t) override
    {
        title = t;
        events.push_back("BeginDoc");
        m_printing = true;
        m_canvas.Clear();
    }
    void NewPage() override
    {
        closePage();
        events.push_back("NewPage");
    }
    void EndDoc() override
    {
        closePage();
        events.push_back("EndDoc");
        m_printing = false;
    }
    void Abort() override
    {
        events.push_back("Abort");
        m_printing = false;
    }
    bool Printing() const override { return m_printing; }
    TZVCanvas& Canvas() override { return m_canvas; }

    // Top-left corners of the frames drawn on each finished page: one per label.
    std::vector<std::vector<TPoint>> frames() const
    {
        std::vector<std::vector<TPoint>> result;
        for (const auto& page : pages) {
            result.emplace_back();
            for (const TZVCanvasCall& call : page)
                if (call.Op == "RoundRect") result.back().push_back({call.Args[0], call.Args[1]});
        }
        return result;
    }
    std::vector<int> labelsPerPage() const
    {
        std::vector<int> counts;
        for (const auto& page : frames()) counts.push_back(int(page.size()));
        return counts;
    }
    // Texts written on all pages, in order.
    QStringList texts() const
    {
        QStringList result;
        for (const auto& page : pages)
            for (const TZVCanvasCall& call : page)
                if (call.Op == "ExtTextOut") result << call.Text;
        return result;
    }

    TZVDevMode devMode;
    QSize physicalOffset{0, 0};
    QString title;
    std::vector<std::string> events;
    std::vector<std::vector<TZVCanvasCall>> pages;

private:
    static TZVDeviceCaps caps()
    {
        TZVDeviceCaps c;
        c.DpiX = c.DpiY = 254;
        c.Width = 2100;
        c.Height = 2970;
        return c;
    }
    void closePage()
    {
        pages.push_back(m_canvas.Calls());
        m_canvas.Clear();
    }

    int m_index = 0;
    bool m_printing = false;
    TZVRecordingCanvas m_canvas;
};

// Fills `data` with `count` records whose NAME is R1, R2, ... and opens it.
void fillNames(TZVMemoryDataSet& data, int count)
{
    data.AddField("NAME", fkString);
    for (int i = 1; i <= count; ++i) data.AppendRecord({QString("R%1").arg(i)});
    data.Open();
}

// Binds `label` to `data`, with a text showing NAME when `showName`.
void bindLabel(TZVLab& label, TZVMemoryDataSet& data, bool showName)
{
    label.SetDataAccessType(daDataSet);
    label.SetDataSet(&data);
    label.SetDataEnabled(true);
    if (!showName) return;
    auto* name = new TZVText(label);
    name->SetFieldName("NAME");
    name->SetData(true);
}

// The benchmark's sheet: A4, 3 labels of 60 x 35 mm a row, 7 rows, margins 5 and 10 mm, gaps 4 mm.
class PrintRun : public ::testing::Test
{
protected:
    PrintRun()
    {
        ensureGuiApplication();
        TZVMeasure& m = label.Measure();
        m.SetPaperWidth(210);
        m.SetPaperHeight(297);
        m.SetWidth(60);
        m.SetHeight(35);
        m.SetMarLeft(5);
        m.SetMarTop(10);
        m.SetDiHor(4);
        m.SetDiVer(4);
        m.SetNuHor(7);
        m.SetNuVer(3);
        m.SetLabelName("Shelf");
        label.Frame().SetStyle(fsOneLine);
    }
    ~PrintRun() override { label.SetDataSet(nullptr); }

    // Binds the label to `count` records whose NAME is R1, R2, ... and adds a text showing it.
    void bindRecords(int count)
    {
        fillNames(records, count);
        bindLabel(label, records, true);
    }

    // The frame's corner of the label at (row, col) of the recording printer's page.
    TPoint frameAt(int row, int col) const
    {
        const TPoint o = label.LabelOrigin(row, col, 0, 0);
        return {o.X + label.Frame().Dist1(), o.Y + label.Frame().Dist1()};
    }

    TZVLab label;
    TZVMemoryDataSet records;
    RecordingPrinter printer;
};

QStringList names(int from, int to, int repetitions = 1)
{
    QStringList result;
    for (int i = from; i <= to; ++i)
        for (int r = 0; r < repetitions; ++r) result << QString("R%1").arg(i);
    return result;
}

// ---- Layout ----

TEST_F(PrintRun, LabelOriginStepsByLabelAndGapLessTheOffsets)
{
    EXPECT_EQ(label.LabelOrigin(1, 1, 0, 0), (TPoint{500, 1000}));
    EXPECT_EQ(label.LabelOrigin(2, 3, 0, 0), (TPoint{500 + 2 * 6400, 1000 + 3900}));
    EXPECT_EQ(label.LabelOrigin(7, 1, 120, 80), (TPoint{380, 1000 + 6 * 3900 - 80}));
}

TEST_F(PrintRun, LabelsFillRowsFromTheStartThenWholeSheets)
{
    struct Case
    {
        const char* name;
        int firstRow;
        int firstCol;
        int labels;
        std::vector<int> perPage;
    };
    const Case cases[] = {
        {"from row 2 column 3, 20 labels", 2, 3, 20, {16, 4}},
        {"one full sheet", 1, 1, 21, {21}},
        {"one past a full sheet", 1, 1, 22, {21, 1}},
        {"two full sheets after the first", 7, 3, 43, {1, 21, 21}},
        {"fewer than the first sheet holds", 3, 2, 5, {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingPrinter run;
        label.PrintInfo().SetFirstRow(c.firstRow);
        label.PrintInfo().SetFirstCol(c.firstCol);
        label.PrintInfo().SetNumLabels(c.labels);
        ASSERT_TRUE(label.PrintEx(run, 1, false));
        EXPECT_EQ(run.labelsPerPage(), c.perPage);
        EXPECT_EQ(label.PrintInfo().PageCount, int(c.perPage.size()));
        EXPECT_EQ(label.PrintInfo().TotalLabels, c.labels);
        EXPECT_EQ(label.PageNumber(), int(c.perPage.size()));
        const auto frames = run.frames();
        EXPECT_EQ(frames.front().front(), frameAt(c.firstRow, c.firstCol));
        for (std::size_t page = 1; page < frames.size(); ++page) EXPECT_EQ(frames[page].front(), frameAt(1, 1));
    }
}

TEST_F(PrintRun, TheWalkGoesAlongTheRowThenDown)
{
    label.PrintInfo().SetFirstRow(2);
    label.PrintInfo().SetFirstCol(3);
    label.PrintInfo().SetNumLabels(20);
    label.PrintEx(printer, 1, false);
    const auto frames = printer.frames();
    ASSERT_EQ(frames.size(), 2u);
    const std::vector<TPoint> firstFour = {frames[0][0], frames[0][1], frames[0][2], frames[0][3]};
    EXPECT_EQ(firstFour, (std::vector<TPoint>{frameAt(2, 3), frameAt(3, 1), frameAt(3, 2), frameAt(3, 3)}));
    EXPECT_EQ(frames[0].back(), frameAt(7, 3));
    EXPECT_EQ(frames[1].back(), frameAt(2, 1));
}

TEST_F(PrintRun, AStartOutsideAShrunkSheetStartsAtItsLastPlace)
{
    label.PrintInfo().SetFirstRow(7);
    label.PrintInfo().SetFirstCol(3);
    label.Measure().SetNuHor(2);
    label.Measure().SetNuVer(2);
    label.PrintInfo().SetNumLabels(2);
    label.PrintEx(printer, 1, false);
    EXPECT_EQ(printer.labelsPerPage(), (std::vector<int>{1, 1}));
    EXPECT_EQ(printer.frames()[0][0], frameAt(2, 2));
}

TEST_F(PrintRun, ThePhysicalOffsetMovesEveryLabel)
{
    printer.physicalOffset = QSize(30, 20); // 3 mm and 2 mm at 254 dpi
    label.PrintEx(printer, 1, false);
    const TPoint frame = frameAt(1, 1);
    EXPECT_EQ(printer.frames()[0][0], (TPoint{frame.X - 300, frame.Y - 200}));

    // A preview page is the whole paper: the last printer's unprintable edge moves nothing on it.
    ASSERT_EQ(label.PrintInfo().OffsetX, 300);
    label.PreparePreview();
    const QSize size = label.PreviewPageSize(); // tenths of a millimetre
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::white);
    ASSERT_NE(label.GetPreviewPage(1), nullptr);
    QPicture picture = *label.GetPreviewPage(1);
    {
        QPainter painter(&page);
        picture.play(&painter);
    }
    const int y = (frame.Y + 1000) / 10; // 10 mm into the first label
    int firstInk = 0;
    while (firstInk < size.width() && page.pixel(firstInk, y) == qRgb(255, 255, 255)) ++firstInk;
    EXPECT_NEAR(firstInk, frame.X / 10, 1);
}

// ---- Stored values the setters never make ----

// The fixture's sheet as a file stores it, with `measure` and `printInfo` keys added or overriding.
QByteArray storedDesign(const QString& measure, const QString& printInfo)
{
    return QStringLiteral(R"({"Measure": {"Width": 6000, "Height": 3500, "MarLeft": 500, "MarTop": 1000,
        "DiHor": 400, "DiVer": 400, "PaperWidth": 21000, "PaperHeight": 29700, "NuHor": 7, "NuVer": 3%1},
        "Frame": {"Style": 1}, "PrintInfo": {"NumLabels": 10%2}})")
        .arg(measure.isEmpty() ? QString() : ", " + measure, printInfo.isEmpty() ? QString() : ", " + printInfo)
        .toUtf8();
}

TEST_F(PrintRun, StoredCountsOutsideTheSettersLimitsPrintAsTheSettersWouldTakeThem)
{
    struct Case
    {
        const char* name;
        QString measure;
        QString printInfo;
        int records; // 0: without data
        std::vector<int> framesPerPage; // labels wholly off the paper draw nothing
        TPoint first; // row and column of the first frame
    };
    const QString max = QString::number(INT_MAX);
    const Case cases[] = {
        {"no rows: one row of three", "\"NuHor\": 0", "", 0, {3, 3, 3, 1}, {1, 1}},
        {"columns below one: one column", "\"NuVer\": -3", "", 0, {7, 3}, {1, 1}},
        // Rows start 39 mm apart from 10 mm: row 8 (at 283 mm) is the last on 297 mm.
        {"rows without end", "\"NuHor\": " + max, "\"NumLabels\": 30", 0, {24}, {1, 1}},
        // Columns start 64 mm apart from 5 mm: column 4 (at 197 mm) is the last on 210 mm.
        {"columns without end", "\"NuVer\": " + max, "", 0, {4}, {1, 1}},
        {"a start at the far corner of the largest sheet",
         "\"NuHor\": " + max + ", \"NuVer\": " + max,
         "\"NumLabels\": 5, \"FirstRow\": " + max + ", \"FirstCol\": " + max, 0, {0, 4}, {1, 1}},
        {"a start outside the sheet", "", "\"FirstRow\": -5, \"FirstCol\": 99", 0, {10}, {1, 3}},
        {"no repetitions", "", "\"Repetitions\": 0", 4, {4}, {1, 1}},
        {"repetitions below zero", "", "\"Repetitions\": -1", 4, {4}, {1, 1}},
        {"records from the 0th", "", "\"PrintFrom\": 0", 4, {4}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab run;
        DesignFromJson(run, storedDesign(c.measure, c.printInfo));
        TZVMemoryDataSet data;
        if (c.records > 0) {
            fillNames(data, c.records);
            bindLabel(run, data, false);
        }
        RecordingPrinter out;
        ASSERT_TRUE(run.PrintEx(out, 1, false));
        std::vector<int> frames;
        for (const auto& page : out.frames()) frames.push_back(int(page.size()));
        EXPECT_EQ(frames, c.framesPerPage);
        EXPECT_EQ(run.PrintInfo().PageCount, int(c.framesPerPage.size()));
        const auto printed = out.frames();
        const auto firstPage = std::find_if(printed.begin(), printed.end(), [](const auto& p) { return !p.empty(); });
        ASSERT_NE(firstPage, printed.end());
        const TPoint o = run.LabelOrigin(c.first.X, c.first.Y, 0, 0);
        EXPECT_EQ(firstPage->front(), (TPoint{o.X + run.Frame().Dist1(), o.Y + run.Frame().Dist1()}));
        run.PreparePreview();
        for (int n = 1; n <= run.PrintInfo().PageCount; ++n) EXPECT_NE(run.RenderPage(n), nullptr) << n;
        run.SetDataSet(nullptr);
    }
}

TEST_F(PrintRun, ACircularLabelOnASheetWithoutEndClipsToThePlacesOnThePaper)
{
    TZVLab run;
    DesignFromJson(run, storedDesign(QStringLiteral("\"NuHor\": %1, \"LabelType\": 1, \"Height\": 6000").arg(INT_MAX),
                                     QString()));
    ASSERT_TRUE(run.PrintEx(printer, 1, false));
    std::size_t parts = 0;
    for (const TZVCanvasCall& call : printer.pages[0])
        if (call.Op == "SelectClipRgn") parts = call.Args.size() / 5;
    // Rows start 64 mm apart from 10 mm: five reach onto 297 mm, of three labels each.
    EXPECT_EQ(parts, 15u);
}

TEST_F(PrintRun, TheRunNotesItsPrintersAreaInModelUnits)
{
    struct Case
    {
        const char* name;
        float paperWidth; // mm
        float paperHeight;
        std::uint8_t orientation;
        int printableWidth; // model units
        int printableHeight;
    };
    const Case cases[] = {
        {"A4", 210, 297, 0, 21000, 29700},
        {"A4 turned", 210, 297, 1, 29700, 21000},
        {"letter", 215.9f, 279.4f, 0, 21590, 27940},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        label.Measure().SetPaperWidth(c.paperWidth);
        label.Measure().SetPaperHeight(c.paperHeight);
        label.PrintInfo().Orientation = c.orientation;
        TZVPdfPrinter pdf(dir.filePath("area.pdf"));
        ASSERT_TRUE(label.Print(pdf));
        const TZVPrintInfo& info = label.PrintInfo();
        // The page is whole pixels of 2540 / 1200 model units; a PDF page has no unprintable edge.
        EXPECT_NEAR(info.PrintableWidth, c.printableWidth, 2540.0 / 1200);
        EXPECT_NEAR(info.PrintableHeight, c.printableHeight, 2540.0 / 1200);
        EXPECT_EQ((std::vector<int>{info.OffsetX, info.OffsetY, info.MarginRight, info.MarginBottom}),
                  (std::vector<int>{0, 0, 0, 0}));
    }
}

// ---- Records ----

TEST_F(PrintRun, RecordsRangeAndRepetitions)
{
    struct Case
    {
        const char* name;
        int records;
        int repetitions;
        int from;
        int to;
        QStringList printed;
        int printToAfter;
    };
    const Case cases[] = {
        {"5 records twice each", 5, 2, 1, 0, names(1, 5, 2), 0},
        {"from the third of 10 to the end", 10, 1, 3, 0, names(3, 10), 0},
        {"to 50 of 10 records", 10, 1, 1, 50, names(1, 10), 10},
        {"from 12 of 10 starts again at 1", 10, 1, 12, 0, names(1, 10), 0},
        {"records 2 to 4 three times", 6, 3, 2, 4, names(2, 4, 3), 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab run;
        RecordingPrinter out;
        TZVMemoryDataSet data;
        fillNames(data, c.records);
        bindLabel(run, data, true);
        run.PrintInfo().SetRepetitions(c.repetitions);
        run.PrintInfo().SetPrintFrom(c.from);
        run.PrintInfo().SetPrintTo(c.to);
        ASSERT_TRUE(run.PrintEx(out, 1, false));
        EXPECT_EQ(out.texts(), c.printed);
        EXPECT_EQ(run.PrintInfo().TotalLabels, c.printed.size());
        EXPECT_EQ(run.PrintInfo().PrintTo(), c.printToAfter);
        EXPECT_EQ(run.PrintInfo().DataMode, 1);
        run.SetDataSet(nullptr);
    }
}

TEST_F(PrintRun, WithoutDataEveryLabelIsPrintedOnceAndTheDesignStaysUnmodified)
{
    label.PrintInfo().SetRepetitions(3);
    label.PrintInfo().SetNumLabels(4);
    label.SetModified(false);
    label.PrintEx(printer, 1, false);
    EXPECT_EQ(label.PrintInfo().Repetitions(), 1);
    EXPECT_EQ(label.PrintInfo().DataMode, 0);
    EXPECT_EQ(label.PrintInfo().TotalLabels, 4);
    EXPECT_FALSE(label.Modified());
}

TEST_F(PrintRun, AnEmptyDataSetPrintsOneEmptyPage)
{
    bindRecords(0);
    label.PrintEx(printer, 1, false);
    EXPECT_EQ(label.PrintInfo().TotalLabels, 0);
    EXPECT_EQ(printer.labelsPerPage(), (std::vector<int>{0}));
}

TEST_F(PrintRun, AWrongFieldStopsTheRunBeforeThePrinterStarts)
{
    // Named before the data set is bound, as a design read from a file is.
    auto* other = new TZVText(label);
    other->SetFieldName("NOPE");
    other->SetData(true);
    bindRecords(3);
    try {
        label.PrintEx(printer, 1, false);
        FAIL() << "no error";
    } catch (const EZvError& e) {
        EXPECT_EQ(e.message(), "INVALID FIELD NAME :NOPE");
    }
    EXPECT_TRUE(printer.events.empty());
}

TEST_F(PrintRun, NoOutputSetsTheRunUpWithoutAJob)
{
    bindRecords(7);
    EXPECT_TRUE(label.PrintEx(printer, 1, true));
    EXPECT_TRUE(printer.events.empty());
    EXPECT_EQ(label.PrintInfo().TotalLabels, 7);
    EXPECT_TRUE(label.NoPrinterOutput());
}

TEST_F(PrintRun, TheWalkedDataSetHoldsItsControlsBackUntilTheRunEnds)
{
    struct Case
    {
        const char* name;
        bool detail;
        bool table;
        bool detailMode;
    };
    const Case cases[] = {
        {"master only", false, true, false},
        {"a detail but no table", true, false, false},
        {"a detail and a table", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab run;
        RecordingPrinter out;
        TZVMemoryDataSet master;
        TZVMemoryDataSet detail;
        for (TZVMemoryDataSet* data : {&master, &detail}) fillNames(*data, 4);
        run.SetDataAccessType(daDataSet);
        run.SetDataSet(&master);
        if (c.detail) run.SetDetail(&detail);
        run.SetDataEnabled(true);
        if (c.table) new TZVTable(run);
        TZVDataSet& walked = c.detailMode ? static_cast<TZVDataSet&>(detail) : master;
        int changes = 0;
        int changesWhilePrinting = 0;
        QObject::connect(&walked, &TZVDataSet::DataChanged, [&] { ++changes; });
        run.OnProgress = [&](int, int) {
            changesWhilePrinting = changes;
            return true;
        };
        run.PrintEx(out, 1, false);
        EXPECT_EQ(run.PrintInfo().DetailMode, c.detailMode);
        EXPECT_EQ(changesWhilePrinting, 0);
        EXPECT_EQ(changes, 1); // the held-back change, once at the end
        run.SetDataSet(nullptr);
        run.SetDetail(nullptr);
    }
}

// ---- The job and the printer's settings ----

TEST_F(PrintRun, TheJobIsTitledAndEachPageMappedInModelUnits)
{
    label.PrintInfo().SetNumLabels(22);
    label.PrintEx(printer, 3, false);
    EXPECT_EQ(printer.title, "PRINTING : Shelf");
    EXPECT_EQ(printer.events, (std::vector<std::string>{"BeginDoc", "NewPage", "EndDoc"}));
    for (const auto& page : printer.pages) {
        std::vector<std::string> mapping;
        for (const TZVCanvasCall& call : page)
            if (call.Op.starts_with("Set") && call.Op.find("Ext") != std::string::npos) mapping.push_back(call.Line);
        EXPECT_EQ(mapping, (std::vector<std::string>{"SetWindowExtEx(21000, 29700)", "SetViewportExtEx(2100, 2970)"}));
    }
    EXPECT_EQ(printer.devMode.Copies, 3);
    EXPECT_TRUE(printer.devMode.CopiesSet);
}

TEST_F(PrintRun, TheSettingsRecordTakesTheLabelsPaperUnturned)
{
    struct Case
    {
        const char* name;
        std::uint8_t orientation;
        int devOrientation;
        QSize previewPage;
    };
    const Case cases[] = {
        {"portrait", 0, TZVDevMode::kPortrait, QSize(2100, 2970)},
        {"landscape", 1, TZVDevMode::kLandscape, QSize(2970, 2100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        label.Measure().SetPaperWidth(210);
        label.PrintInfo().Orientation = c.orientation;
        label.PrintInfo().PaperCode = 8;
        RecordingPrinter run;
        label.PreparePreview(&run);
        EXPECT_EQ(run.devMode.Orientation, c.devOrientation);
        EXPECT_EQ(run.devMode.PaperSize, TZVDevMode::kUserPaper);
        EXPECT_EQ(run.devMode.PaperWidth, 2100);
        EXPECT_EQ(run.devMode.PaperLength, 2970);
        EXPECT_FALSE(run.devMode.CopiesSet);
        EXPECT_EQ(label.PreviewPageSize(), c.previewPage);
        ASSERT_NE(label.GetPreviewPage(1), nullptr);
        EXPECT_EQ(label.GetPreviewPage(1)->boundingRect(), QRect(QPoint(0, 0), c.previewPage));
    }
}

TEST_F(PrintRun, PaperIsSentInTenthsRoundedHalfUp)
{
    label.Measure().SetPaperWidth(100.05f);
    label.Measure().SetPaperHeight(150.04f);
    label.PrepareDevMode(printer, 0);
    EXPECT_EQ(printer.devMode.PaperWidth, 1001);
    EXPECT_EQ(printer.devMode.PaperLength, 1500);
}

TEST_F(PrintRun, APrinterWithoutSettingsFailsBeforeTheJob)
{
    printer.SetPrinterIndex(5);
    try {
        label.PrintEx(printer, 1, false);
        FAIL() << "no error";
    } catch (const EZvPrinterError& e) {
        EXPECT_STREQ(e.what(), "CANT INITIALIZE DEVMODE STRUCT");
    }
    EXPECT_TRUE(printer.events.empty());
}

TEST_F(PrintRun, TheTitleHandlerNamesEachPageAndAnEmptyTitleIsNotDrawn)
{
    label.Title().PrintTitle = true;
    label.PrintInfo().SetNumLabels(30);
    std::vector<int> pages;
    label.OnPrintTitle = [&](QObject*, int page, QString& text) {
        pages.push_back(page);
        text = page == 1 ? QString("Page %1").arg(page) : QString();
    };
    label.PrintEx(printer, 1, false);
    EXPECT_EQ(pages, (std::vector<int>{1, 2}));
    EXPECT_EQ(printer.texts(), QStringList{"Page 1"});
    EXPECT_EQ(label.Title().Text, "");
}

TEST_F(PrintRun, ACircularLabelClipsEachPageToTheUnionOfItsPlaces)
{
    label.Measure().SetLabelType(ltCircle);
    label.PrintEx(printer, 1, false);
    int clips = 0;
    for (const TZVCanvasCall& call : printer.pages[0]) {
        if (call.Op != "SelectClipRgn") continue;
        ++clips;
        // Shape, left, top, right, bottom per part; one ellipse per place of the sheet.
        ASSERT_EQ(call.Args.size(), 21u * 5u);
        EXPECT_EQ(std::vector<int>(call.Args.begin(), call.Args.begin() + 5),
                  (std::vector<int>{TZVRegionPart::rpEllipse, 50, 100, 650, 700}));
    }
    EXPECT_EQ(clips, 1);
}

// ---- Progress and cancelling ----

TEST_F(PrintRun, ProgressCountsPagesAndCancellingAbortsTheJob)
{
    label.PrintInfo().SetNumLabels(50);
    std::vector<std::pair<int, int>> seen;
    label.OnProgress = [&](int page, int count) {
        seen.emplace_back(page, count);
        return page < 2;
    };
    EXPECT_FALSE(label.PrintEx(printer, 1, false));
    EXPECT_EQ(printer.events, (std::vector<std::string>{"BeginDoc", "NewPage", "Abort"}));
    EXPECT_EQ(seen.size(), 22u);
    EXPECT_EQ(seen.front(), (std::pair{1, 3}));
    EXPECT_EQ(seen.back(), (std::pair{2, 3}));
}

TEST_F(PrintRun, APdfHasAPageForEverySheetAndCancellingLeavesNoFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("labels.pdf");
    bindRecords(50);
    {
        TZVPdfPrinter pdf(file);
        ASSERT_TRUE(label.Print(pdf));
    }
    const auto info = readPdfInfo(file);
    if (!info) GTEST_SKIP() << "pdfinfo is not installed";
    EXPECT_EQ(info->pages, 3);
    EXPECT_EQ(info->title, "PRINTING : Shelf");
    EXPECT_NEAR(info->widthPt, mmToPoints(210), 0.5);
    EXPECT_NEAR(info->heightPt, mmToPoints(297), 0.5);

    const QString cancelled = dir.filePath("cancelled.pdf");
    label.OnProgress = [](int page, int) { return page < 3; };
    TZVPdfPrinter pdf(cancelled);
    EXPECT_FALSE(label.Print(pdf));
    EXPECT_FALSE(QFile::exists(cancelled));
}

// Copies of the master keep its filter; the master ends where one thread leaves it, and a
// cancelled split leaves no file. 49 records pass (R7 does not), 47 from the third: 3 pages.
TEST_F(PrintRun, ASplitRunPrintsTheRecordsOfOneThreadAndCancelsWithoutAFile)
{
    QTemporaryDir dir;
    bindRecords(50);
    records.SetFilter("NAME <> 'R7'");
    records.SetFiltered(true);
    label.PrintInfo().SetPrintFrom(3);
    const struct
    {
        const char* name;
        int jobs;
        bool cancel;
    } cases[] = {{"one thread", 1, false}, {"three threads", 3, false}, {"cancelled", 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QString("%1.pdf").arg(c.name));
        label.SetJobs(c.jobs);
        label.OnProgress = [&](int page, int) { return !c.cancel || page < 2; };
        TZVPdfPrinter pdf(file);
        EXPECT_EQ(label.Print(pdf), !c.cancel);
        EXPECT_EQ(QFile::exists(file), !c.cancel);
        if (c.cancel) continue;
        EXPECT_EQ(records.RecNo(), 49);
        EXPECT_TRUE(records.Eof());
        QStringList names;
        for (const PdfWord& word : readPdfWords(file)) names << QString("%1:%2").arg(word.page).arg(word.text);
        if (names.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
        EXPECT_EQ(names.size(), 47);
        // The 22nd label (R25) opens page 2; R7 is filtered out.
        for (const char* name : {"1:R3", "1:R8", "1:R24", "2:R25", "3:R50"}) EXPECT_TRUE(names.contains(name)) << name;
        EXPECT_FALSE(names.contains("1:R7"));
    }
}

// ---- Preview pages ----

std::vector<int> pageNumbers(const TZVLab& label)
{
    std::vector<int> numbers;
    for (const TZVPagePreview& page : label.Pages()) numbers.push_back(page.PageNumber);
    return numbers;
}

TEST_F(PrintRun, AShortPreviewRendersEveryPage)
{
    label.PrintInfo().SetNumLabels(21 * 9 + 1);
    label.PreparePreview();
    EXPECT_EQ(pageNumbers(label), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_NE(label.GetPreviewPage(10), nullptr);
    EXPECT_EQ(label.GetPreviewPage(0), nullptr);
    EXPECT_EQ(label.GetPreviewPage(11), nullptr);
}

TEST_F(PrintRun, ALongPreviewRendersItsEdgesAndThePagesAroundTheOneShown)
{
    label.PrintInfo().SetNumLabels(21 * 12);
    label.PreparePreview();
    ASSERT_EQ(label.PrintInfo().PageCount, 12);
    EXPECT_EQ(pageNumbers(label), (std::vector<int>{1, 2, 3, 4, 9, 10, 11, 12}));
    EXPECT_NE(label.GetPreviewPage(6), nullptr);
    EXPECT_EQ(label.PrintInfo().CurrentPage, 6);
    // 3, 4 and 9 were there already; the page shown comes first.
    EXPECT_EQ(pageNumbers(label), (std::vector<int>{1, 2, 3, 4, 9, 10, 11, 12, 6, 5, 7, 8}));
    EXPECT_FALSE(label.PageCacheBusy());
    EXPECT_EQ(label.GetPreviewPage(13), nullptr);
}

TEST_F(PrintRun, ThePreviewReportsEachPageItRendersAheadAndCanBeCancelled)
{
    struct Case
    {
        const char* name;
        int labels;
        int cancelAt; // 0: never
        std::vector<int> reported;
        bool prepared;
    };
    const Case cases[] = {
        {"short run", 21 * 3, 0, {1, 2, 3}, true},
        {"long run, its edges", 21 * 12, 0, {1, 2, 3, 4, 9, 10, 11, 12}, true},
        {"cancelled among the last pages", 21 * 12, 10, {1, 2, 3, 4, 9, 10}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> reported;
        label.OnProgress = [&](int page, int pageCount) {
            EXPECT_EQ(pageCount, label.PrintInfo().PageCount);
            reported.push_back(page);
            return page != c.cancelAt;
        };
        label.PrintInfo().SetNumLabels(c.labels);
        EXPECT_EQ(label.PreparePreview(), c.prepared);
        EXPECT_EQ(reported, c.reported);
        EXPECT_EQ(label.Pages().empty(), !c.prepared);
    }
}

TEST_F(PrintRun, TheCacheStaysBoundedAndKeepsTheEdgePages)
{
    label.PrintInfo().SetNumLabels(21 * 80);
    label.PreparePreview();
    for (int page = 5; page <= 76; page += 3) {
        SCOPED_TRACE(page);
        EXPECT_NE(label.GetPreviewPage(page), nullptr);
        EXPECT_LE(label.Pages().size(), 37u);
    }
    const auto numbers = pageNumbers(label);
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.begin() + 8), (std::vector<int>{1, 2, 3, 4, 77, 78, 79, 80}));
}

TEST_F(PrintRun, APageRenderedAloneShowsTheRecordsOfItsPlaceInTheRun)
{
    bindRecords(60);
    label.PrintInfo().SetFirstRow(7);
    label.PrintInfo().SetFirstCol(2); // 2 labels on page 1
    label.PrintInfo().SetPrintFrom(3);
    label.PrintInfo().SetRepetitions(2);
    label.PrepareRun();
    ASSERT_EQ(label.PrintInfo().TotalLabels, 116);
    ASSERT_EQ(label.PrintInfo().PageCount, 7);
    QStringList printed;
    label.OnPrintText = [&](QObject*, const QString&, QString& text) { printed << text; };
    struct Case
    {
        const char* name;
        int page;
        QStringList texts;
    };
    // Page 1 holds 2 labels: record 3 twice. Page n > 1 follows 2 + 21 (n - 2) labels.
    const Case cases[] = {
        {"page 1", 1, names(3, 3, 2)},
        {"page 2, from the fourth record", 2, [] {
             QStringList t = names(4, 13, 2);
             t << "R14";
             return t;
         }()},
        {"page 3, the second copy of record 14 first", 3, [] {
             QStringList t{"R14"};
             t << names(15, 24, 2);
             return t;
         }()},
        {"the last page, 9 labels", 7, [] {
             QStringList t{"R56"};
             t << names(57, 60, 2);
             return t;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printed.clear();
        ASSERT_NE(label.RenderPage(c.page), nullptr);
        EXPECT_EQ(printed, c.texts);
    }
    EXPECT_EQ(label.RenderPage(8), nullptr);
}

// ---- Questions ----

class ScriptedAsker final : public TZVQuestionAsker
{
public:
    std::optional<QString> ask(const QString& caption, const QString& question, const QString& answer) override
    {
        asked << caption + "|" + question + "|" + answer;
        if (question == "Skip?") return std::nullopt;
        return question.toUpper();
    }
    QStringList asked;
};

TEST_F(PrintRun, QuestionsAreAskedFromTheLastElementAndTheHandlerHasTheLastWord)
{
    auto* first = new TZVAskText(label);
    first->SetQuestion("Batch?");
    first->SetAnswer("B1");
    new TZVText(label);
    auto* second = new TZVAskText(label);
    second->SetQuestion("Skip?");
    second->SetAnswer("kept");
    ScriptedAsker asker;
    label.SetQuestionAsker(&asker);
    QStringList events;
    label.OnAskText = [&](QObject*, int pos, const QString& id, QString& text) {
        events << QString("%1 %2 %3").arg(pos).arg(id, text);
        if (pos == 2) text += "!";
    };
    label.PrintEx(printer, 1, true);
    EXPECT_EQ(asker.asked, (QStringList{"WRITE ANSWER TO QUESTION|Skip?|kept", "WRITE ANSWER TO QUESTION|Batch?|B1"}));
    EXPECT_EQ(events, (QStringList{"1 " + second->ID() + " kept", "2 " + first->ID() + " BATCH?"}));
    EXPECT_EQ(first->Answer(), "BATCH?!");
    EXPECT_EQ(second->Answer(), "kept");
    label.SetQuestionAsker(nullptr);
}

TEST_F(PrintRun, TheQuestionCaptionComesFromTheTranslationFile)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("texts.ini");
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Dialogs]\nzvinputtext=Antwort eingeben\n");
    file.close();
    label.SetIniTranslate(ini);
    auto* question = new TZVAskText(label);
    question->SetQuestion("Lot?");
    ScriptedAsker asker;
    label.SetQuestionAsker(&asker);
    label.AskQuestions();
    EXPECT_EQ(asker.asked, QStringList{"Antwort eingeben|Lot?|Answer"});
    label.SetQuestionAsker(nullptr);
}

} // namespace
} // namespace zorvel::test
