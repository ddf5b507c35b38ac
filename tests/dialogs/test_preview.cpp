// Tests of the print preview window: navigation, zoom, fit modes, painting, printing and saving.
#include "../support/ModalWatch.h"
#include "../support/PdfInfo.h"
#include "../support/TestApplication.h"
#include "../support/WaitFor.h"
#include "controls/ZVAlignEdit.h"
#include "dialogs/ZVPreview.h"
#include "document/ZVCustomLab.h"
#include "platform/ZVBmp.h"
#include "platform/ZVJpeg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPicture>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace zorvel::test {
namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PreviewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApplication<QApplication>();
        ASSERT_TRUE(dir.isValid());
    }

    // One label a page, so that the page count is the label count; each label a black box.
    void prepare(int pages)
    {
        label.Measure().SetNuHor(1);
        label.Measure().SetNuVer(1);
        label.BackSurf().SetPrint(true);
        label.BackSurf().SetColor(0x000000);
        label.PrintInfo().SetNumLabels(std::max(pages, 1));
        label.PreparePreview();
        if (pages == 0) {
            label.ClearPages();
            label.PrintInfo().PageCount = 0;
        }
        window = std::make_unique<TZvPrw>();
        window->AskSaveFile = [this](const QStringList&) { return saveChoice; };
        window->AskText = [this](const QString& caption, const QString& prompt, const QString& defaultText) {
            questions.push_back(caption + "|" + prompt + "|" + defaultText);
            return answer;
        };
        window->ExecPrintDialog = [this](QPrinter& printer) {
            ++printDialogs;
            if (!printTo.isEmpty()) printer.setOutputFileName(printTo);
            printer.setCopyCount(copies);
            return confirmPrint || !printTo.isEmpty();
        };
        window->ShowError = [this](const QString& message) { errors.push_back(message); };
        window->resize(900, 640);
        window->SetLabel(label);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Enabled states of first, prior, next, last.
    std::vector<bool> navigation() const
    {
        return {window->TbPageFirst()->isEnabled(), window->TbPagePrior()->isEnabled(),
                window->TbPageNext()->isEnabled(), window->TbPageLast()->isEnabled()};
    }

    QSize area() const { return window->BackScroll()->maximumViewportSize(); }

    TZVLab label;
    std::unique_ptr<TZvPrw> window;
    QTemporaryDir dir;
    std::optional<TZvPrw::TSaveChoice> saveChoice;
    std::optional<QString> answer = QStringLiteral("80");
    QString printTo;
    int printDialogs = 0;
    int copies = 1;
    bool confirmPrint = false;
    QStringList questions;
    QStringList errors;
};

// ---- Navigation ---------------------------------------------------------------------------------

enum class Step { First, Prior, Next, Last };

TEST_F(PreviewTest, NavigationOnFivePages)
{
    struct Case
    {
        const char* name;
        TZvPrw::TViewMode mode;
        std::vector<Step> steps;
        int page;
        std::vector<bool> enabled; // first, prior, next, last
    };
    const std::vector<Case> cases = {
        {"opens on page 1", TZvPrw::vmFitPage, {}, 1, {false, false, true, true}},
        {"one page at a time", TZvPrw::vmFitPage, {Step::Next, Step::Next}, 3, {true, true, true, true}},
        {"last page", TZvPrw::vmFitPage, {Step::Last}, 5, {true, true, false, false}},
        {"next stops at the end", TZvPrw::vmFitPage, {Step::Last, Step::Next}, 5, {true, true, false, false}},
        {"prior stops at the start", TZvPrw::vmFitPage, {Step::Prior, Step::First}, 1, {false, false, true, true}},
        {"prior from the last", TZvPrw::vmFitPage, {Step::Last, Step::Prior}, 4, {true, true, true, true}},
        // Two pages: 1-2, 3-4, then 5 alone, because 3 + 1 < 5.
        {"two pages: next goes by two", TZvPrw::vmTwoPages, {Step::Next}, 3, {true, true, true, true}},
        {"two pages: next from 3 to 5", TZvPrw::vmTwoPages, {Step::Next, Step::Next}, 5, {true, true, false, false}},
        // Pages 4 and 5 shown: next and last have nothing more to show.
        {"two pages: last shows 4 and 5", TZvPrw::vmTwoPages, {Step::Last}, 4, {true, true, false, false}},
        {"two pages: prior by two", TZvPrw::vmTwoPages, {Step::Last, Step::Prior}, 2, {true, true, true, true}},
        {"two pages: prior from 2 by one", TZvPrw::vmTwoPages, {Step::Last, Step::Prior, Step::Prior}, 1,
         {false, false, true, true}},
        {"two pages: first", TZvPrw::vmTwoPages, {Step::Last, Step::First}, 1, {false, false, true, true}},
    };
    prepare(5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->SetViewMode(TZvPrw::vmFitPage);
        window->TbPageFirst()->click();
        window->SetViewMode(c.mode);
        // A click where the button takes one; the action itself, as a key would, where it is disabled.
        for (const Step step : c.steps) {
            const std::pair<QToolButton*, void (TZvPrw::*)()> target =
                step == Step::First   ? std::pair(window->TbPageFirst(), &TZvPrw::PageFirst)
                : step == Step::Prior ? std::pair(window->TbPagePrior(), &TZvPrw::PagePrior)
                : step == Step::Next  ? std::pair(window->TbPageNext(), &TZvPrw::PageNext)
                                      : std::pair(window->TbPageLast(), &TZvPrw::PageLast);
            if (target.first->isEnabled())
                target.first->click();
            else
                (window.get()->*target.second)();
        }
        EXPECT_EQ(window->Page(), c.page);
        EXPECT_EQ(navigation(), c.enabled);
        EXPECT_EQ(window->PageIndicator()->text(), QStringLiteral("%1 - 5").arg(c.page));
    }
}

TEST_F(PreviewTest, OnePageDisablesNavigation)
{
    prepare(1);
    EXPECT_EQ(window->Page(), 1);
    EXPECT_EQ(navigation(), (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(window->TbPrint()->isEnabled());
    EXPECT_TRUE(window->TbSave()->isEnabled());
    EXPECT_EQ(window->PageIndicator()->text(), QStringLiteral("1 - 1"));
}

TEST_F(PreviewTest, NoPagesLeavesOnlyExit)
{
    prepare(0);
    EXPECT_EQ(window->Page(), 0);
    EXPECT_EQ(window->ViewMode(), TZvPrw::vmNothing);
    for (QToolButton* button :
         {window->TbPageFirst(), window->TbPagePrior(), window->TbPageNext(), window->TbPageLast(),
          window->TbShowAll(), window->TbShowWidth(), window->TbShowTwo(), window->TbZoomMinus(),
          window->TbZoomPlus(), window->TbPrint(), window->TbSave()})
        EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(window->TbExit()->isEnabled());
    EXPECT_FALSE(window->SaveCurrentPage());
    EXPECT_FALSE(window->PrintPages());
    EXPECT_EQ(printDialogs, 0);
    // A white area 24 pixels inside the scroll box.
    EXPECT_EQ(window->Paper()->geometry(),
              QRect(24, 24, area().width() - 48, area().height() - 48));
    const QImage shot = window->Paper()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(Qt::white));
}

// ---- Zoom ---------------------------------------------------------------------------------------

TEST_F(PreviewTest, ZoomStepsAndLimits)
{
    prepare(3);
    for (int i = 0; i < 5; ++i) window->TbZoomPlus()->click();
    EXPECT_EQ(window->Zoom(), 200);
    EXPECT_EQ(window->ViewMode(), TZvPrw::vmZoom);

    // Plus stays enabled up to 500 and stops above it.
    while (window->TbZoomPlus()->isEnabled()) window->TbZoomPlus()->click();
    EXPECT_EQ(window->Zoom(), 520);
    window->ZoomPlus();
    EXPECT_EQ(window->Zoom(), 520);
    EXPECT_TRUE(window->TbZoomMinus()->isEnabled());

    while (window->TbZoomMinus()->isEnabled()) window->TbZoomMinus()->click();
    EXPECT_EQ(window->Zoom(), 20);
    window->ZoomMinus();
    EXPECT_EQ(window->Zoom(), 20);
    EXPECT_TRUE(window->TbZoomPlus()->isEnabled());
}

TEST_F(PreviewTest, ZoomScalesTheFittedBoxAndTwoPagesDisablesIt)
{
    prepare(3);
    window->SetViewMode(TZvPrw::vmFitWidth);
    const QSize base = window->Paper()->size();
    EXPECT_EQ(window->BaseSize(), base);
    window->TbZoomPlus()->click();
    window->TbZoomPlus()->click();
    EXPECT_NEAR(window->Paper()->width(), base.width() * 1.4, 1);
    EXPECT_NEAR(window->Paper()->height(), base.height() * 1.4, 1);
    // A fit goes back to 100.
    window->TbShowAll()->click();
    EXPECT_EQ(window->Zoom(), 100);
    window->TbShowTwo()->click();
    EXPECT_FALSE(window->TbZoomPlus()->isEnabled());
    EXPECT_FALSE(window->TbZoomMinus()->isEnabled());
}

TEST_F(PreviewTest, SmallZoomIsCentred)
{
    prepare(1);
    window->TbZoomMinus()->click();
    window->TbZoomMinus()->click();
    const QRect box = window->Paper()->geometry();
    const QSize s = area();
    EXPECT_NEAR(box.left(), (s.width() - box.width() - 2) / 2, 1);
    EXPECT_NEAR(box.top(), (s.height() - box.height() - 2) / 2, 1);
}

// ---- Fit modes ----------------------------------------------------------------------------------

// A4 portrait pictures are 2100 x 2970 tenths of a millimetre.
TEST_F(PreviewTest, FitModes)
{
    prepare(3);
    ASSERT_EQ(label.PreviewPageSize(), QSize(2100, 2970));
    const QSize s = area();
    ASSERT_GT(double(s.width()) / s.height(), 2100.0 / 2970.0) << "the window must be wider than a page";

    SCOPED_TRACE("fit one page: as high as the box, centred across");
    window->TbShowAll()->click();
    QRect box = window->Paper()->geometry();
    EXPECT_EQ(box.height(), s.height() - 2);
    EXPECT_NEAR(box.width(), (s.height() - 2) * 2100.0 / 2970.0, 1);
    EXPECT_EQ(box.top(), 0);
    EXPECT_EQ(box.left(), (s.width() - box.width() - 2) / 2);
    EXPECT_EQ(window->BaseSize(), box.size());
    EXPECT_EQ(window->BackScroll()->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(window->BackScroll()->verticalScrollBar()->maximum(), 0);

    SCOPED_TRACE("fit width: taller than the box, so the scroll bar's width is left free");
    window->TbShowWidth()->click();
    box = window->Paper()->geometry();
    const int bar = window->BackScroll()->verticalScrollBar()->sizeHint().width();
    EXPECT_EQ(box.topLeft(), QPoint(0, 0));
    EXPECT_EQ(box.width(), s.width() - bar - 2);
    EXPECT_NEAR(box.height(), box.width() * 2970.0 / 2100.0, 1);
    EXPECT_EQ(window->BackScroll()->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(window->BackScroll()->verticalScrollBar()->maximum(), 0);

    SCOPED_TRACE("two pages: two widths and a gap");
    window->TbShowTwo()->click();
    box = window->Paper()->geometry();
    EXPECT_EQ(box.height(), s.height() - 2);
    EXPECT_NEAR(box.width(), (s.height() - 2) * (2 * 2100.0 + 24) / 2970.0, 1);
    EXPECT_EQ(window->Zoom(), 100);
}

TEST_F(PreviewTest, FitOnePageInANarrowWindowFillsTheWidth)
{
    label.PrintInfo().Orientation = 1; // landscape: 2970 x 2100
    prepare(1);
    window->resize(500, 700);
    // The scroll area takes the new size once the window's layout has run.
    ASSERT_TRUE(waitFor([&] { return double(area().width()) / area().height() < 2970.0 / 2100.0; }));
    const QSize s = area();
    const QRect box = window->Paper()->geometry();
    EXPECT_EQ(box.left(), 0);
    EXPECT_EQ(box.width(), s.width() - 2);
    EXPECT_NEAR(box.height(), (s.width() - 2) * 2100.0 / 2970.0, 1);
    EXPECT_EQ(box.top(), (s.height() - box.height() - 2) / 2);
}

// ---- Painting -----------------------------------------------------------------------------------

TEST_F(PreviewTest, PaintsShadowPageAndPicture)
{
    prepare(5);
    const QColor grey(0x80, 0x80, 0x80);
    window->TbShowAll()->click();
    QImage shot = window->Paper()->grab().toImage();
    int W = shot.width(), H = shot.height();
    EXPECT_EQ(shot.pixelColor(W - 8, H - 8), grey);
    EXPECT_EQ(shot.pixelColor(W - 8, 8), window->BackScroll()->viewport()->palette().color(QPalette::Window));
    // The black label lies a quarter of the way in from the page's top left corner (5 mm, 10 mm).
    EXPECT_EQ(shot.pixelColor(6 + (W - 18) * 150 / 2100, 6 + (H - 18) * 200 / 2970), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(6 + (W - 18) * 1500 / 2100, 6 + (H - 18) * 2000 / 2970), QColor(Qt::white));

    window->TbShowTwo()->click();
    window->TbPageLast()->click();
    shot = window->Paper()->grab().toImage();
    W = shot.width();
    H = shot.height();
    EXPECT_EQ(shot.pixelColor(W / 2 - 8, H - 8), grey);
    EXPECT_EQ(shot.pixelColor(W - 8, H - 8), grey);
    const int half = W / 2 - 18;
    EXPECT_EQ(shot.pixelColor(6 + half * 150 / 2100, 6 + (H - 18) * 200 / 2970), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(W / 2 + 6 + half * 150 / 2100, 6 + (H - 18) * 200 / 2970), QColor(Qt::black));
}

// ---- Saving -------------------------------------------------------------------------------------

// Where the black label box lies in a saved bitmap: 60 x 35 mm at (5 mm, 10 mm) in tenths of a mm.
QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST_F(PreviewTest, SavesThePageInEachFormat)
{
    prepare(2);
    window->TbPageNext()->click();
    {
        SCOPED_TRACE("svg");
        saveChoice = TZvPrw::TSaveChoice{path("page.svg"), TZvPrw::sfSvg};
        ASSERT_TRUE(window->SaveCurrentPage());
        const QByteArray svg = readFile(path("page.svg"));
        EXPECT_TRUE(svg.contains("<svg"));
        EXPECT_TRUE(svg.contains("210mm")) << "the page keeps its paper size";
        EXPECT_TRUE(svg.contains("</svg>"));
    }
    {
        SCOPED_TRACE("bmp");
        saveChoice = TZvPrw::TSaveChoice{path("page.bmp"), TZvPrw::sfBmp};
        ASSERT_TRUE(window->SaveCurrentPage());
        const QImage image = DecodeBmp(readFile(path("page.bmp")));
        EXPECT_EQ(image.size(), QSize(2100, 2970));
        const QRect ink = inkBounds(image);
        EXPECT_NEAR(ink.left(), 50, 2);
        EXPECT_NEAR(ink.top(), 100, 2);
        EXPECT_NEAR(ink.width(), 600, 3);
        EXPECT_NEAR(ink.height(), 350, 3);
    }
    {
        SCOPED_TRACE("jpeg");
        saveChoice = TZvPrw::TSaveChoice{path("page.jpg"), TZvPrw::sfJpeg};
        ASSERT_TRUE(window->SaveCurrentPage());
        EXPECT_EQ(questions, QStringList{"Compression|Compression Quality (1..100)|80"});
        const QImage image = DecodeJpeg(readFile(path("page.jpg")));
        EXPECT_EQ(image.size(), QSize(2100, 2970));
        EXPECT_NEAR(inkBounds(image).left(), 50, 3);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(PreviewTest, JpegQualityDecidesTheSize)
{
    prepare(1);
    answer = QStringLiteral("5");
    ASSERT_TRUE(window->SavePage(path("low.jpg"), TZvPrw::sfJpeg));
    answer = QStringLiteral(" 100 ");
    ASSERT_TRUE(window->SavePage(path("high.jpg"), TZvPrw::sfJpeg));
    EXPECT_LT(readFile(path("low.jpg")).size(), readFile(path("high.jpg")).size());
}

TEST_F(PreviewTest, FailedSavesWriteNothing)
{
    struct Case
    {
        const char* name;
        std::optional<QString> answer;
        const char* file;
        QString error; // empty: no message
    };
    const QString missingDir = QStringLiteral("no-such-dir/page.jpg");
    const std::vector<Case> cases = {
        {"quality not an integer", QStringLiteral("abc"), "a.jpg", "'abc' is not a valid integer value"},
        {"quality with a fraction", QStringLiteral("80.5"), "b.jpg", "'80.5' is not a valid integer value"},
        {"empty quality", QStringLiteral(""), "c.jpg", "'' is not a valid integer value"},
        {"quality 0", QStringLiteral("0"), "d.jpg", "INVALID JPEG QUALITY : 0"},
        {"quality 101", QStringLiteral("101"), "e.jpg", "INVALID JPEG QUALITY : 101"},
        {"question dismissed", std::nullopt, "f.jpg", {}},
        {"folder missing", QStringLiteral("80"), "no-such-dir/page.jpg",
         "CAN'T WRITE FILE : " + path("no-such-dir/page.jpg")},
    };
    prepare(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        answer = c.answer;
        EXPECT_FALSE(window->SavePage(path(c.file), TZvPrw::sfJpeg));
        EXPECT_EQ(errors, c.error.isEmpty() ? QStringList() : QStringList{c.error});
        EXPECT_FALSE(QFile::exists(path(c.file)));
    }
    // Nothing half-written was left beside the targets either.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(PreviewTest, AHugePaperIsSavedAsVectorsOnly)
{
    // 2001 mm at the pictures' 254 dpi: 20010 x 20010 pixels, far past the bound.
    label.Measure().SetPaperWidth(2001);
    label.Measure().SetPaperHeight(2001);
    prepare(1);
    for (const auto format : {TZvPrw::sfBmp, TZvPrw::sfJpeg}) {
        errors.clear();
        EXPECT_FALSE(window->SavePage(path("huge"), format));
        EXPECT_EQ(errors, QStringList{"IMAGE TOO LARGE : 20010 x 20010 PIXELS"});
        EXPECT_TRUE(questions.isEmpty()) << "asked for a quality first";
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(window->SavePage(path("huge.svg"), TZvPrw::sfSvg));
}

TEST_F(PreviewTest, FailedSaveKeepsAnExistingFile)
{
    prepare(1);
    const QString target = path("keep.jpg");
    {
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old contents");
    }
    answer = QStringLiteral("many");
    EXPECT_FALSE(window->SavePage(target, TZvPrw::sfJpeg));
    EXPECT_EQ(readFile(target), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.jpg"});
}

TEST_F(PreviewTest, DismissedSaveDialogSavesNothing)
{
    prepare(1);
    saveChoice.reset();
    EXPECT_FALSE(window->TbSave()->isEnabled() && window->SaveCurrentPage());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(questions.isEmpty());
}

// ---- Printing -----------------------------------------------------------------------------------

TEST_F(PreviewTest, PrintsThroughThePrintDialog)
{
    prepare(3);
    printTo = path("run.pdf");
    copies = 2;
    EXPECT_TRUE(window->PrintPages());
    // The copies asked for in the dialog survive the label's paper settings.
    EXPECT_EQ(window->Printer().Printer().copyCount(), 2);
    EXPECT_EQ(printDialogs, 1);
    const QByteArray pdf = readFile(printTo);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    if (const auto info = readPdfInfo(printTo)) {
        EXPECT_EQ(info->pages, 3);
        // The label's paper, not the printer's default.
        EXPECT_NEAR(info->widthPt, 595.3, 1);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    // The progress report went back to the label.
    EXPECT_FALSE(label.OnProgress);
}

TEST_F(PreviewTest, DismissedPrintDialogPrintsNothing)
{
    prepare(2);
    printTo.clear();
    EXPECT_FALSE(window->PrintPages());
    EXPECT_EQ(printDialogs, 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(PreviewTest, PrinterFailureIsShown)
{
    prepare(1);
    if (!window->Printer().Printers().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    confirmPrint = true;
    EXPECT_FALSE(window->PrintPages());
    EXPECT_EQ(errors, QStringList{"CANT INITIALIZE DEVMODE STRUCT"});
}

// ---- Texts, Execute ---------------------------------------------------------------

TEST_F(PreviewTest, TextsComeFromTheTranslationFile)
{
    prepare(1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Print Preview"));
    EXPECT_EQ(window->TbShowWidth()->toolTip(), QStringLiteral("Fit Page Width"));
    const QString ini = path("texts.ini");
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Dialogs]\nZvPrintPr=Vista previa\nZvExit=Salir\n");
    }
    label.SetIniTranslate(ini);
    window->SetLabel(label);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vista previa"));
    EXPECT_EQ(window->TbExit()->toolTip(), QStringLiteral("Salir"));
    // A key the file lacks takes its default.
    EXPECT_EQ(window->TbShowTwo()->toolTip(), QStringLiteral("Fit Two Pages"));
}

TEST_F(PreviewTest, ExecuteRendersAndShowsThePages)
{
    label.Measure().SetNuHor(1);
    label.Measure().SetNuVer(1);
    label.PrintInfo().SetNumLabels(4);
    int seenPage = -1;
    int seenCount = -1;
    const test::ModalWatch<TZvPrw> watch([&](TZvPrw* shown) {
        seenPage = shown->Page();
        seenCount = shown->PageCount();
        shown->TbExit()->click();
    });
    TZvPrw::Execute(label, nullptr);
    EXPECT_TRUE(watch.seen());
    EXPECT_EQ(seenPage, 1);
    EXPECT_EQ(seenCount, 4);
    EXPECT_EQ(label.Pages().size(), 4u);
    EXPECT_EQ(label.QuestionAsker(), nullptr) << "the input box asker is the preview's own";
}

} // namespace
} // namespace zorvel::test
