// The label properties dialog driven offscreen: preview sizes and clicks, steps, limits, the
// controls writing into the label, captions, and the data page with its quick filter.
#include "controls/ZVSpinEditFloat.h"
#include "dialogs/ZVCountersPage.h"
#include "dialogs/ZVLabelProps.h"
#include "dialogs/ZVLabelPropsData.h"
#include "dialogs/ZVLabelPropsPreview.h"
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "document/ZVUndoHistory.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVStrings.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVConnections.h"
#include "platform/ZVMemoryDataSet.h"
#include "tests/support/ColorPickerStub.h"
#include "tests/support/TestApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QTableWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <climits>
#include <functional>
#include <memory>

namespace zorvel {
namespace {

class LabelPropsTest : public ::testing::Test
{
protected:
    void SetUp() override { test::ensureApplication<QApplication>(); }
    void TearDown() override { EXPECT_EQ(unaskedColors.asked, 0) << "colour dialog opened"; }

    // A dialog prepared on `label`, its sub-dialogs failing the test if they open.
    std::unique_ptr<TFPropLab> open(TZVCustomLab& label, int page = 0)
    {
        auto dialog = std::make_unique<TFPropLab>();
        dialog->PickPicture = [](const QString&) {
            ADD_FAILURE() << "file dialog opened";
            return QString();
        };
        dialog->ShowError = [this](const QString& message) { errors << message; };
        dialog->Prepare(label, page);
        return dialog;
    }

    // Any colour pick outside the swatch test fails it.
    test::ColorPickerStub unaskedColors;

    template <typename T = TZvSpinEditFloat> static T* control(const TFPropLab& dialog, const char* name)
    {
        T* found = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Replaces the box's text as a user typing it would.
    static void type(TZvSpinEditFloat* box, const QString& text)
    {
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    static int paperIndex(const QString& name)
    {
        const auto papers = PaperTypes();
        for (int i = 0; i < kPaperTypeCount; ++i)
            if (papers[i].Name == name) return i;
        return -1;
    }

    QStringList errors;
};

// ---- Sizes page -------------------------------------------------------------------------------

TEST_F(LabelPropsTest, ChoosingAPaperSizesThePreviewAndKeepsTheExactPaper)
{
    // Sizes from the proportions: 210/297 >= 0.7 fills the width, 215.9/355.6 < 0.7 the height.
    struct Case
    {
        const char* name;
        const char* paper;
        bool landscape;
        QSize preview;
        int paperWidth;
        int paperHeight;
    };
    const Case cases[] = {
        {"A4 portrait", "A4", false, {192, 272}, 21000, 29700},
        {"LEGAL portrait", "LEGAL", false, {168, 276}, 21590, 35560},
        {"A4 landscape", "A4", true, {192, 136}, 21000, 29700},
        {"LEDGER wider than high", "LEDGER", false, {192, 124}, 43180, 27940},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        // Inches show 8.27 for A4's 210 mm: the shown value must not be written back.
        label.SetUnits(unINCH);
        label.Measure().SetPaperName(QStringLiteral("User"));
        auto dialog = open(label);
        if (c.landscape) control<QRadioButton>(*dialog, "Landscape")->setChecked(true);
        control<QComboBox>(*dialog, "PaperList")->setCurrentIndex(paperIndex(QString::fromLatin1(c.paper)));
        EXPECT_EQ(dialog->Preview()->size(), c.preview);
        EXPECT_EQ(dialog->Preview()->Bitmap().size(), c.preview);
        EXPECT_EQ(label.Measure().PaperWidth(), c.paperWidth);
        EXPECT_EQ(label.Measure().PaperHeight(), c.paperHeight);
        EXPECT_EQ(label.Measure().PaperName(), QString::fromLatin1(c.paper));
        EXPECT_EQ(label.PrintInfo().PaperCode, PaperType(paperIndex(QString::fromLatin1(c.paper))).PaperCode);
        EXPECT_EQ(label.PrintInfo().Orientation, c.landscape ? 1 : 0);
        EXPECT_FALSE(control(*dialog, "PaperWidth")->isEnabled());
    }
}

TEST_F(LabelPropsTest, OnlyTheUserPaperTakesATypedSize)
{
    TZVLab label;
    auto dialog = open(label);
    auto* list = control<QComboBox>(*dialog, "PaperList");
    EXPECT_EQ(list->count(), kPaperTypeCount);
    EXPECT_EQ(list->currentText(), QStringLiteral("A4"));
    list->setCurrentIndex(paperIndex(QStringLiteral("User")));
    auto* width = control(*dialog, "PaperWidth");
    ASSERT_TRUE(width->isEnabled());
    type(width, QStringLiteral("100"));
    EXPECT_EQ(label.Measure().PaperWidth(), 10000);
    EXPECT_EQ(dialog->Preview()->width(), 138); // 276 x 100 / 200
}

TEST_F(LabelPropsTest, AnUnknownPaperNameSelectsNoEntry)
{
    TZVLab label;
    label.Measure().SetPaperName(QStringLiteral("Roll 62"));
    auto dialog = open(label);
    EXPECT_EQ(control<QComboBox>(*dialog, "PaperList")->currentIndex(), -1);
    EXPECT_FALSE(control(*dialog, "PaperWidth")->isEnabled());
}

TEST_F(LabelPropsTest, SpinBoxesStepByTheLabelsUnit)
{
    struct Case
    {
        const char* name;
        TZVUnits units;
        double step;
    };
    const Case cases[] = {{"millimetres", unMM, 0.01}, {"inches", unINCH, 0.05}, {"centimetres", unCM, 0.05}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        label.SetUnits(c.units);
        label.Measure().SetWidth(20.0f);
        auto dialog = open(label);
        for (const char* name :
             {"Width", "Height", "DiHor", "MarTop", "InnerCircle", "PaperWidth", "Radius"}) {
            SCOPED_TRACE(name);
            EXPECT_DOUBLE_EQ(control(*dialog, name)->Increment(), c.step);
            EXPECT_EQ(control(*dialog, name)->Digits(), 2);
        }
        for (const char* name : {"Rows", "Columns", "NumLabels", "FirstCol", "Repetitions", "PrintTo"}) {
            SCOPED_TRACE(name);
            EXPECT_DOUBLE_EQ(control(*dialog, name)->Increment(), 1);
            EXPECT_EQ(control(*dialog, name)->Digits(), 0);
        }
        EXPECT_DOUBLE_EQ(control(*dialog, "PenWidth")->Increment(), 0.1);

        control(*dialog, "Width")->UpClick();
        EXPECT_EQ(label.Measure().Width(), ToModel(20.0 + c.step, c.units));
    }
}

TEST_F(LabelPropsTest, GeometryBoxesWriteAtOnceAndRepaintThePreview)
{
    TZVLab label;
    auto dialog = open(label);
    const QImage before = dialog->Preview()->Bitmap();
    type(control(*dialog, "Width"), QStringLiteral("50"));
    EXPECT_EQ(label.Measure().Width(), 5000);
    type(control(*dialog, "DiHor"), QStringLiteral("80")); // above its maximum of 50
    EXPECT_EQ(label.Measure().DiHor(), 5000);
    type(control(*dialog, "Columns"), QStringLiteral("2"));
    EXPECT_EQ(label.Measure().NuVer(), 2);
    EXPECT_NE(dialog->Preview()->Bitmap(), before);

    // An emptied integer box writes nothing until a number is typed.
    auto* rows = control(*dialog, "Rows");
    rows->clear();
    EXPECT_EQ(label.Measure().NuHor(), 7);
}

TEST_F(LabelPropsTest, ACircleEnablesItsRadiusAndKeepsItsSidesEqual)
{
    TZVLab label;
    auto dialog = open(label);
    auto* inner = control(*dialog, "InnerCircle");
    EXPECT_FALSE(inner->isEnabled());
    control<QRadioButton>(*dialog, "Circle")->setChecked(true);
    EXPECT_EQ(label.Measure().LabelType(), ltCircle);
    EXPECT_TRUE(inner->isEnabled());
    EXPECT_EQ(control(*dialog, "Height")->text(), QStringLiteral("60.00"));
    type(control(*dialog, "Width"), QStringLiteral("40"));
    EXPECT_EQ(label.Measure().Height(), 4000);
    EXPECT_EQ(control(*dialog, "Height")->text(), QStringLiteral("40.00"));
    control<QRadioButton>(*dialog, "Rectangle")->setChecked(true);
    EXPECT_FALSE(inner->isEnabled());
}

TEST_F(LabelPropsTest, AutoLengthIsOfferedToRollsOnlyAndIsOneUndoStepWithTheVisit)
{
    TZVLab label;
    auto dialog = open(label);
    QCheckBox* autoLength = dialog->AutoLength();
    const struct
    {
        const char* rows;
        const char* columns;
        bool enabled;
    } cases[] = {{"7", "3", false}, {"1", "3", false}, {"1", "1", true}, {"2", "1", false}, {"1", "1", true}};
    for (const auto& c : cases) {
        type(control(*dialog, "Rows"), QString::fromLatin1(c.rows));
        type(control(*dialog, "Columns"), QString::fromLatin1(c.columns));
        EXPECT_EQ(autoLength->isEnabled(), c.enabled) << c.rows << " x " << c.columns;
    }
    {
        const TZVChangeScope visit(label, "Label Properties");
        autoLength->setChecked(true);
        EXPECT_TRUE(label.Measure().AutoLength());
    }
    label.UndoStack().undo();
    EXPECT_FALSE(label.Measure().AutoLength());
    EXPECT_EQ(label.Measure().NuHor(), 1) << "the rows typed before the visit stay";
    EXPECT_FALSE(open(label)->AutoLength()->isChecked());
}

TEST_F(LabelPropsTest, FromCatalogueGivesTheStockAsOneStepAndShowsItsSheet)
{
    TZVLab label;
    auto dialog = open(label);
    // Two CDs on A4, as a maker's data sheet gives them.
    TZVStock disc;
    disc.Brand = QStringLiteral("Test");
    disc.Part = QStringLiteral("CD2");
    disc.Shape = TZVStockShape::Disc;
    disc.PaperName = QStringLiteral("A4");
    disc.PaperWidth = 210;
    disc.PaperHeight = 297;
    disc.LabelWidth = disc.LabelHeight = 117;
    disc.MarginLeft = 46.5;
    disc.MarginTop = 21.5;
    disc.GapY = 21;
    disc.Hole = 20.5;
    disc.Rows = 2;
    TZVStock staggered = disc;
    staggered.Layouts = 2;
    std::optional<TZVStock> offered;
    dialog->ChooseStock = [&offered] { return offered; };
    const struct
    {
        const char* name;
        std::optional<TZVStock> stock;
        bool assigned;
        int errors;
    } cases[] = {{"cancelled", std::nullopt, false, 0}, {"staggered", staggered, false, 1}, {"disc", disc, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        offered = c.stock;
        EXPECT_EQ(dialog->AssignFromCatalogue(), c.assigned);
        EXPECT_EQ(label.UndoStack().count(), c.assigned ? 1 : 0);
        EXPECT_EQ(errors.size(), c.errors);
    }
    EXPECT_EQ(label.Measure().LabelType(), ltCircle);
    EXPECT_DOUBLE_EQ(control(*dialog, "Width")->Value(), 117);
    EXPECT_EQ(control(*dialog, "Rows")->AsInteger(), 2);
    EXPECT_EQ(control(*dialog, "Columns")->AsInteger(), 1);
    EXPECT_TRUE(control(*dialog, "InnerCircle")->isEnabled());
    EXPECT_DOUBLE_EQ(control(*dialog, "InnerCircle")->Value(), 20.5);
    label.UndoStack().undo();
    EXPECT_EQ(label.Measure().LabelType(), ltRect);
    EXPECT_EQ(label.Measure().Width(), 6000) << "the label's own 60 x 35 mm again";
    EXPECT_EQ(label.Measure().NuHor(), 7);
}

TEST_F(LabelPropsTest, ClickingALabelStartsTheRunThere)
{
    TZVLab label; // A4, 3 columns of 60 mm, 7 rows of 35 mm, margins 5 and 10, gaps 4
    label.Measure().SetPaperName(QStringLiteral("A4"));
    auto dialog = open(label);
    SheetPreview* preview = dialog->Preview();
    ASSERT_EQ(preview->size(), QSize(192, 272));
    // Third label of the second row: 5 + 2 x 64 + 30 mm across, 10 + 39 + 17 mm down.
    const QPoint inside(163 * 192 / 210, 66 * 272 / 297);
    QTest::mouseClick(preview, Qt::LeftButton, {}, inside);
    EXPECT_EQ(label.PrintInfo().FirstCol(), 3);
    EXPECT_EQ(label.PrintInfo().FirstRow(), 2);
    const QImage& bitmap = preview->Bitmap();
    EXPECT_EQ(bitmap.pixelColor(inside), toQColor(0xFFFF00));
    EXPECT_EQ(bitmap.pixelColor(QPoint(35 * 192 / 210, 27 * 272 / 297)), QColor(Qt::white)); // first label
    EXPECT_EQ(bitmap.pixelColor(QPoint(2, 2)), toQColor(0x96FFFF));

    // Beyond the last column and row the start stays on the sheet.
    preview->ClickAt(QPoint(191, 271));
    EXPECT_EQ(label.PrintInfo().FirstCol(), 3);
    EXPECT_EQ(label.PrintInfo().FirstRow(), 7);

    // The printing page shows the clicked start when it comes up.
    dialog->Pages()->setCurrentIndex(TFPropLab::pgPrinting);
    EXPECT_EQ(control(*dialog, "FirstCol")->text(), QStringLiteral("3"));
    EXPECT_EQ(control(*dialog, "FirstRow")->text(), QStringLiteral("7"));
}

TEST_F(LabelPropsTest, ShownMarginsAreDrawnDotted)
{
    TZVLab label;
    label.SetShowMargins(false);
    label.PrintInfo().OffsetX = 1000; // 10 mm: 9 pixels on A4
    label.PrintInfo().OffsetY = 500;
    auto dialog = open(label);
    const QImage plain = dialog->Preview()->Bitmap();
    control<QCheckBox>(*dialog, "ShowMargins")->setChecked(true);
    EXPECT_TRUE(label.ShowMargins());
    const QImage marked = dialog->Preview()->Bitmap();
    int changed = 0;
    for (int y = 0; y < marked.height(); ++y)
        changed += marked.pixel(9, y) != plain.pixel(9, y);
    EXPECT_GT(changed, 20);
}

TEST_F(LabelPropsTest, LabelsOffThePaperAreNamedAndDrawnInTheWarningColour)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVLab&, TFPropLab&)> change;
        QString warning;
        QPoint offPaper; // a pixel of a label that passes the paper's edge
    };
    // The default sheet on A4: 3 columns of 60 mm from 5 mm, 7 rows of 35 mm from 10 mm, gaps 4 mm.
    const Case cases[] = {
        {"a fourth column ends at 257 mm", [](TZVLab&, TFPropLab& d) { type(control(d, "Columns"), QStringLiteral("4")); },
         "LABELS OFF THE PAPER : 1 COLUMN", {203 * 192 / 210, 27 * 272 / 297}},
        {"turned, rows 6 and 7 pass 210 mm",
         [](TZVLab&, TFPropLab& d) { control<QRadioButton>(d, "Landscape")->setChecked(true); },
         "LABELS OFF THE PAPER : 2 ROWS", {35 * 192 / 297, 207 * 136 / 210}},
        {"a stored sheet of rows without end",
         [](TZVLab& l, TFPropLab& d) {
             DesignFromJson(l, QStringLiteral(R"({"Measure": {"NuHor": %1}})").arg(INT_MAX).toUtf8());
             d.Preview()->Repaint();
         },
         QStringLiteral("LABELS OFF THE PAPER : %1 ROWS").arg(INT_MAX - 7), {35 * 192 / 210, 290 * 272 / 297}},
        {"the sheet as it comes", [](TZVLab&, TFPropLab&) {}, QString(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        auto dialog = open(label);
        c.change(label, *dialog);
        QLabel* warning = dialog->FitWarning();
        EXPECT_EQ(warning->text(), c.warning);
        EXPECT_EQ(warning->isHidden(), c.warning.isEmpty());
        if (c.warning.isEmpty()) continue;
        const QImage& bitmap = dialog->Preview()->Bitmap();
        EXPECT_EQ(bitmap.pixelColor(c.offPaper), toQColor(SheetPreview::kOffPaperColor));
        // The second label of the first row, 69 to 129 mm across, lies on the paper.
        const int across = label.PrintInfo().Orientation == 1 ? 297 : 210;
        const QPoint onPaper(99 * bitmap.width() / across, 27 * bitmap.height() / (507 - across));
        EXPECT_EQ(bitmap.pixelColor(onPaper), QColor(Qt::white));
    }
}

// ---- Printing page ----------------------------------------------------------------------------

TEST_F(LabelPropsTest, TheStartIsLoweredToTheSheetInTheBox)
{
    struct Case
    {
        const char* box;
        const char* typed;
        const char* shown;
        int FirstCol;
        int FirstRow;
    };
    // The default sheet has 3 columns and 7 rows.
    const Case cases[] = {
        {"FirstCol", "60", "3", 3, 1},
        {"FirstCol", "2", "2", 2, 1},
        {"FirstRow", "9", "7", 1, 7},
        {"FirstRow", "5", "5", 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.typed);
        TZVLab label;
        auto dialog = open(label, TFPropLab::pgPrinting);
        type(control(*dialog, c.box), QString::fromLatin1(c.typed));
        EXPECT_EQ(control(*dialog, c.box)->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(label.PrintInfo().FirstCol(), c.FirstCol);
        EXPECT_EQ(label.PrintInfo().FirstRow(), c.FirstRow);
    }
}

TEST_F(LabelPropsTest, PrintingBoxesWriteThePrintSettings)
{
    TZVLab label;
    auto dialog = open(label, TFPropLab::pgPrinting);
    EXPECT_EQ(dialog->Pages()->currentIndex(), TFPropLab::pgPrinting);
    type(control(*dialog, "NumLabels"), QStringLiteral("24"));
    EXPECT_EQ(label.PrintInfo().NumLabels(), 24);
    type(control(*dialog, "Repetitions"), QStringLiteral("4000")); // limit 3000
    EXPECT_EQ(label.PrintInfo().Repetitions(), 3000);
    // Without data the label count is typed and the record range is off.
    EXPECT_TRUE(control(*dialog, "NumLabels")->isEnabled());
    EXPECT_FALSE(control(*dialog, "PrintFrom")->isEnabled());
}

// ---- Background page --------------------------------------------------------------------------

TEST_F(LabelPropsTest, SwatchesWriteTheChosenColourAndKeepItWhenCancelled)
{
    TZVLab label;
    auto dialog = open(label, TFPropLab::pgBackground);
    test::ColorPickerStub picker(0x332211);
    control<ColorSwatch>(*dialog, "GradientFrom")->click();
    EXPECT_EQ(picker.offered, 0xFFFFFFu);
    EXPECT_EQ(label.BackSurf().Color(), 0x332211u);
    control<ColorSwatch>(*dialog, "FrameColor")->click();
    EXPECT_EQ(label.Frame().Color(), 0x332211u);

    picker.answer = std::nullopt;
    control<ColorSwatch>(*dialog, "GradientTo")->click();
    EXPECT_EQ(label.BackSurf().ToColor(), 0xFFFFFFu);
    // The next opening starts from the colour the swatch shows.
    control<ColorSwatch>(*dialog, "GradientFrom")->click();
    EXPECT_EQ(picker.offered, 0x332211u);
}

TEST_F(LabelPropsTest, BackgroundAndFrameControlsWriteAtOnce)
{
    TZVLab label;
    auto dialog = open(label, TFPropLab::pgBackground);
    auto* style = control<QComboBox>(*dialog, "BackStyle");
    ASSERT_EQ(style->count(), 8);
    style->setCurrentIndex(biGradVer);
    EXPECT_EQ(label.BackSurf().Style(), biGradVer);
    // An image style without a file is refused by the label, and the list follows it.
    style->setCurrentIndex(biImage);
    EXPECT_EQ(label.BackSurf().Style(), biNone);
    EXPECT_EQ(style->currentIndex(), int(biNone));

    control<QCheckBox>(*dialog, "PrintBack")->setChecked(true);
    EXPECT_TRUE(label.BackSurf().Print());
    auto* frame = control<QComboBox>(*dialog, "FrameStyle");
    ASSERT_EQ(frame->count(), 3);
    frame->setCurrentIndex(fsTwoLine);
    EXPECT_EQ(label.Frame().Style(), fsTwoLine);
    type(control(*dialog, "FrameDist2"), QStringLiteral("3"));
    EXPECT_EQ(label.Frame().Dist2(), 300);

    // The radius writes the pen width box along with it.
    auto* pen = control(*dialog, "PenWidth");
    {
        QSignalBlocker quiet(pen);
        pen->setText(QStringLiteral("0.50"));
    }
    type(control(*dialog, "Radius"), QStringLiteral("2"));
    EXPECT_EQ(label.Frame().Radio(), 200);
    EXPECT_EQ(label.Frame().PenWidth(), 50);
}

TEST_F(LabelPropsTest, BrowsingAndTypingWriteThePictureFile)
{
    QTemporaryDir dir;
    const QString logo = dir.filePath(QStringLiteral("logo.bmp"));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(logo, "BMP"));
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();

    TZVLab label;
    auto dialog = open(label, TFPropLab::pgBackground);
    QString filter;
    dialog->PickPicture = [&](const QString& offered) {
        filter = offered;
        return logo;
    };
    control<QPushButton>(*dialog, "Browse")->click();
    EXPECT_EQ(label.BackSurf().FileImage(), logo);
    EXPECT_EQ(label.BackSurf().Picture().size(), QSize(4, 4));
    auto* box = control<QLineEdit>(*dialog, "ImageFile");
    EXPECT_EQ(box->text(), logo);
    EXPECT_TRUE(filter.startsWith(QStringLiteral("All (*.jpg *.jpeg *.bmp *.emf *.wmf)")));

    dialog->PickPicture = [](const QString&) { return QString(); };
    control<QPushButton>(*dialog, "Browse")->click();
    EXPECT_EQ(label.BackSurf().FileImage(), logo);

    // Typing passes through folders and ends on a file that is no picture: one message, no throw.
    box->clear();
    QTest::keyClicks(box, dir.path() + QStringLiteral("/broken.bmp"));
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.value(0).endsWith(broken)) << errors.value(0).toStdString();
    EXPECT_TRUE(label.BackSurf().FileImage().isEmpty());
    box->setText(logo);
    EXPECT_EQ(label.BackSurf().FileImage(), logo);
}

// ---- Preparing, captions, closing -------------------------------------------------------------

TEST_F(LabelPropsTest, PreparingWritesNothingAndPicksTheStartPage)
{
    struct Case
    {
        int asked;
        int shown;
    };
    const Case cases[] = {{-1, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 0}, {99, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        TZVLab label;
        label.SetUnits(unINCH);
        label.PrintInfo().SetPrintTo(0);
        label.SetModified(false);
        auto dialog = open(label, c.asked);
        EXPECT_EQ(dialog->Pages()->currentIndex(), c.shown);
        EXPECT_FALSE(label.Modified());
        EXPECT_EQ(label.Measure().PaperWidth(), 21000);
        EXPECT_EQ(label.PrintInfo().PrintTo(), 0);
    }
}

TEST_F(LabelPropsTest, WithoutDataAccessTheDataPageIsHidden)
{
    TZVLab label;
    label.SetDataAccessType(daNone);
    auto dialog = open(label, TFPropLab::pgData);
    EXPECT_FALSE(dialog->Pages()->isTabVisible(TFPropLab::pgData));
    EXPECT_EQ(dialog->Pages()->currentIndex(), TFPropLab::pgSizes);
}

TEST_F(LabelPropsTest, CaptionsComeFromTheTranslationFileOrTheMessageTexts)
{
    TZVLab label;
    auto plain = open(label);
    EXPECT_EQ(plain->windowTitle(), QStringLiteral("Label Properties"));
    EXPECT_EQ(plain->Pages()->tabText(3), QStringLiteral("DataBase"));
    EXPECT_EQ(control<QComboBox>(*plain, "FrameStyle")->itemText(2), QStringLiteral("Two lines"));

    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("lang.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[dialogs]\nZvLabPro=Propiedades\nZvPrint=Imprimir\nZvBackStyle02=Degradado\n");
    file.close();
    label.SetIniTranslate(ini);
    auto translated = open(label);
    EXPECT_EQ(translated->windowTitle(), QStringLiteral("Propiedades"));
    EXPECT_EQ(translated->Pages()->tabText(1), QStringLiteral("Imprimir"));
    auto* styles = control<QComboBox>(*translated, "BackStyle");
    EXPECT_EQ(styles->count(), 8);
    EXPECT_EQ(styles->itemText(2), QStringLiteral("Degradado"));
    EXPECT_EQ(styles->itemText(3), QStringLiteral("Vertical gradient")); // absent key: its default
}

TEST_F(LabelPropsTest, TheNameIsWrittenWhenTheDialogGoes)
{
    TZVLab label;
    auto dialog = open(label);
    control<QLineEdit>(*dialog, "LabelName")->setText(QStringLiteral("Shelf"));
    EXPECT_EQ(label.Measure().LabelName(), QStringLiteral("My Label"));
    dialog.reset();
    EXPECT_EQ(label.Measure().LabelName(), QStringLiteral("Shelf"));
}

TEST_F(LabelPropsTest, AnEnteredBoxTurnsPaleBlue)
{
    TZVLab label;
    auto dialog = open(label);
    const QColor window = QApplication::palette().color(QPalette::Base);
    for (QWidget* box : {static_cast<QWidget*>(control(*dialog, "Width")),
                         static_cast<QWidget*>(control<QLineEdit>(*dialog, "LabelName"))}) {
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(box, &in);
        EXPECT_EQ(box->palette().color(QPalette::Base), QColor(0xBB, 0xE9, 0xFF));
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
        EXPECT_EQ(box->palette().color(QPalette::Base), window);
    }
}

// ---- Data page --------------------------------------------------------------------------------

class LabelPropsDataTest : public LabelPropsTest
{
protected:
    void SetUp() override
    {
        LabelPropsTest::SetUp();
        people.SetName(QStringLiteral("People"));
        people.AddField(QStringLiteral("NAME"), fkString);
        people.AddField(QStringLiteral("CITY"), fkString);
        people.AddField(QStringLiteral("QTY"), fkFloat);
        people.AppendRecord({QStringLiteral("Ann"), QStringLiteral("Paris"), 1.5});
        people.AppendRecord({QStringLiteral("Bob"), QStringLiteral("Rome"), 2.5});
        people.AppendRecord({QStringLiteral("Ann"), QStringLiteral("Rome"), 3.5});
        people.AppendRecord({QStringLiteral("Cid"), QStringLiteral("Paris"), 4.5});
        people.AppendRecord({QStringLiteral("Ann"), QStringLiteral("Oslo"), 5.5});
        people.Open();
        label.SetDataAccessType(daDataSet);
        label.SetDataSet(&people);
    }

    // Selects the grid cell and runs a quick filter on it.
    static void filterOn(TFPropLab& dialog, int row, int column, const QString& op)
    {
        QTableView* grid = dialog.Grid();
        grid->setCurrentIndex(grid->model()->index(row, column));
        dialog.QuickFilter(op);
    }

    TZVMemoryDataSet people;
    TZVLab label;
};

TEST_F(LabelPropsDataTest, TheGridShowsTheBoundRecords)
{
    auto dialog = open(label, TFPropLab::pgData);
    QAbstractItemModel* model = dialog->Grid()->model();
    ASSERT_EQ(model->rowCount(), 5);
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("CITY"));
    EXPECT_EQ(model->data(model->index(3, 0)).toString(), QStringLiteral("Cid"));
    EXPECT_EQ(model->data(model->index(1, 2)).toString(), QStringLiteral("2.5"));
    EXPECT_FALSE(control<QComboBox>(*dialog, "AliasList")->isVisibleTo(dialog.get()));
    EXPECT_EQ(control<QComboBox>(*dialog, "TableList")->currentText(), QStringLiteral("People"));

    // Selecting a row moves the data set; the navigator moves the selection.
    dialog->Grid()->setCurrentIndex(model->index(2, 1));
    EXPECT_EQ(people.RecNo(), 3);
    control<QAbstractButton>(*dialog, "NavLast")->click();
    EXPECT_EQ(people.RecNo(), 5);
    EXPECT_EQ(dialog->Grid()->currentIndex().row(), 4);
}

TEST_F(LabelPropsDataTest, TheLabelCountFollowsTheRecordsWhileBound)
{
    label.PrintInfo().SetNumLabels(40);
    label.PrintInfo().SetPrintTo(30);
    label.SetDataEnabled(true);
    auto dialog = open(label, TFPropLab::pgPrinting);
    EXPECT_EQ(label.PrintInfo().NumLabels(), 5);
    EXPECT_EQ(control(*dialog, "NumLabels")->text(), QStringLiteral("5"));
    EXPECT_FALSE(control(*dialog, "NumLabels")->isEnabled());
    EXPECT_TRUE(control(*dialog, "PrintFrom")->isEnabled());
    EXPECT_TRUE(control(*dialog, "PrintTo")->isEnabled());
    EXPECT_EQ(label.PrintInfo().PrintTo(), 5);
    EXPECT_EQ(control<QLabel>(*dialog, "RecordCount")->text(), QStringLiteral("5"));

    filterOn(*dialog, 0, 0, QStringLiteral("="));
    EXPECT_EQ(label.PrintInfo().NumLabels(), 3);
    EXPECT_EQ(control(*dialog, "NumLabels")->text(), QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(control(*dialog, "PrintTo")->MaxValue(), 3);

    control<QCheckBox>(*dialog, "DataEnabled")->setChecked(false);
    EXPECT_FALSE(label.DataEnabled());
    EXPECT_TRUE(control(*dialog, "NumLabels")->isEnabled());
    EXPECT_FALSE(control(*dialog, "PrintFrom")->isEnabled());
}

TEST_F(LabelPropsDataTest, TwoQuickFiltersAreJoinedWithAnd)
{
    label.SetDataEnabled(true);
    auto dialog = open(label, TFPropLab::pgData);
    filterOn(*dialog, 2, 0, QStringLiteral("="));
    EXPECT_EQ(people.Filter(), QStringLiteral("([NAME] = 'Ann')"));
    EXPECT_TRUE(people.Filtered());
    ASSERT_EQ(dialog->Grid()->model()->rowCount(), 3);

    // Second row of the filtered grid: Ann in Rome.
    filterOn(*dialog, 1, 1, QStringLiteral("="));
    EXPECT_EQ(people.Filter(), QStringLiteral("([NAME] = 'Ann') AND ([CITY] = 'Rome')"));
    EXPECT_EQ(people.RecordCount(), 1);
    EXPECT_EQ(control<QLabel>(*dialog, "FilterText")->text(), people.Filter());
    EXPECT_EQ(control<QLabel>(*dialog, "RecordCount")->text(), QStringLiteral("1"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(LabelPropsDataTest, TheTableListOffersEveryDataSetTheLabelFindsByName)
{
    TZVMemoryDataSet pets;
    pets.SetName(QStringLiteral("Pets"));
    pets.AddField(QStringLiteral("KIND"), fkString);
    pets.AppendRecord({QStringLiteral("Cat")});
    TZVDataSetRegistry registry;
    registry.Add(&pets, QStringLiteral("DM"));
    label.SetDataSetRegistry(&registry);
    label.SetOpenCloseData(true);
    auto dialog = open(label, TFPropLab::pgData);
    auto* tables = control<QComboBox>(*dialog, "TableList");
    ASSERT_EQ(tables->count(), 2) << "the current master, unregistered, and the registry's";
    EXPECT_EQ(tables->itemText(1), QStringLiteral("Pets"));
    label.SetModified(false);

    tables->setCurrentIndex(1);
    EXPECT_EQ(label.DataSet(), &pets);
    EXPECT_EQ(label.DataSetName(), QStringLiteral("Pets"));
    EXPECT_TRUE(label.Modified());
    EXPECT_EQ(dialog->Grid()->model()->data(dialog->Grid()->model()->index(0, 0)).toString(), QStringLiteral("Cat"));
    label.SetDataSetRegistry(nullptr);
}

TEST_F(LabelPropsDataTest, TheMenuExecutesAndDeletesTheFilter)
{
    label.SetDataEnabled(true);
    auto dialog = open(label, TFPropLab::pgData);
    QMenu* menu = dialog->GridMenu();
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(texts, (QStringList{QStringLiteral("    ="), QStringLiteral("   <>"), QStringLiteral("    <"),
                                  QStringLiteral("    >"), QStringLiteral("-"), QStringLiteral("Execute"),
                                  QStringLiteral("Delete")}));
    QAction* execute = menu->actions().at(5);
    QAction* remove = menu->actions().at(6);
    emit menu->aboutToShow();
    EXPECT_FALSE(execute->isEnabled());
    EXPECT_FALSE(remove->isEnabled());

    // "    >" means at least: Bob's 2.5 and the three after it.
    dialog->Grid()->setCurrentIndex(dialog->Grid()->model()->index(1, 2));
    menu->actions().at(3)->trigger();
    EXPECT_EQ(people.Filter(), QStringLiteral("([QTY] >= 2.5)"));
    EXPECT_EQ(people.RecordCount(), 4);
    emit menu->aboutToShow();
    EXPECT_TRUE(execute->isChecked());
    EXPECT_TRUE(remove->isEnabled());

    people.SetFiltered(false);
    execute->trigger();
    EXPECT_TRUE(people.Filtered());
    EXPECT_EQ(label.PrintInfo().NumLabels(), 4);

    remove->trigger();
    EXPECT_TRUE(people.Filter().isEmpty());
    EXPECT_FALSE(people.Filtered());
    EXPECT_EQ(label.PrintInfo().NumLabels(), 5);
    EXPECT_EQ(dialog->Grid()->model()->rowCount(), 5);
}

TEST(QuickFilterCondition, QuotesByKind)
{
    TZVMemoryDataSet ds;
    const std::pair<const char*, TZVFieldKind> fields[] = {{"S", fkString}, {"I", fkInteger}, {"F", fkFloat},
                                                           {"D", fkDate},   {"B", fkBoolean}, {"N", fkString},
                                                           {"G", fkBlob}};
    for (const auto& [name, kind] : fields)
        ds.AddField(QString::fromLatin1(name), kind);
    ds.AppendRecord({QStringLiteral("O'Brien"), 42, 2.25, QStringLiteral("2024-03-01"), true, QVariant(),
                     QByteArray("xy")});
    ds.Open();
    struct Case
    {
        const char* field;
        const char* op;
        const char* condition;
    };
    const Case cases[] = {
        {"S", "=", "([S] = 'O''Brien')"},
        {"I", "<>", "([I] <> 42)"},
        {"F", "<=", "([F] <= 2.25)"},
        {"D", ">=", "([D] >= '2024-03-01')"},
        {"B", "=", "([B] = True)"},
        {"N", "=", "([N] = NULL)"},
        {"N", ">=", ""}, // null has no order
        {"G", "=", ""},  // pictures are not compared
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + c.op);
        const QString condition =
            QuickFilterCondition(ds.FieldByName(QString::fromLatin1(c.field)), QString::fromLatin1(c.op));
        EXPECT_EQ(condition, QString::fromLatin1(c.condition));
        if (condition.isEmpty()) continue;
        // Every condition made is one the data set's evaluator accepts and the record passes.
        ds.Close();
        ds.SetFilter(condition);
        ds.SetFiltered(true);
        ds.Open();
        EXPECT_EQ(ds.RecordCount(), c.op == std::string("<>") ? 0 : 1);
        ds.SetFiltered(false);
    }
}

class LabelPropsAliasTest : public LabelPropsTest
{
protected:
    void SetUp() override
    {
        LabelPropsTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("shop.db"));
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("props_setup"));
            db.setDatabaseName(path);
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE ITEMS (CODE INTEGER PRIMARY KEY, TITLE TEXT)")));
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO ITEMS VALUES (1,'Nut'),(2,'Bolt'),(3,'Nut')")));
            ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE SHOPS (ID INTEGER PRIMARY KEY, TOWN TEXT)")));
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO SHOPS VALUES (1,'Gent')")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("props_setup"));
        TZVConnections::Default().Add(QStringLiteral("shop"), QStringLiteral("sqlite:") + path);
    }
    void TearDown() override { TZVConnections::Default().Remove(QStringLiteral("shop")); }

    QTemporaryDir dir;
};

TEST_F(LabelPropsAliasTest, AliasesAndTablesComeFromTheNamedConnections)
{
    TZVLab label;
    label.SetDataEnabled(true);
    label.AliasTable().DatabaseName = QStringLiteral("SHOP");
    label.AliasTable().TableName = QStringLiteral("SHOPS");
    auto dialog = open(label, TFPropLab::pgData);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    auto* aliases = control<QComboBox>(*dialog, "AliasList");
    auto* tables = control<QComboBox>(*dialog, "TableList");
    EXPECT_EQ(aliases->currentText(), QStringLiteral("shop"));
    EXPECT_EQ(tables->count(), 2);
    EXPECT_EQ(tables->currentText(), QStringLiteral("SHOPS"));
    ASSERT_NE(label.DataSet(), nullptr);
    EXPECT_EQ(label.DataSet(), label.AliasDataSet());
    EXPECT_EQ(dialog->Grid()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("TOWN"));
    EXPECT_EQ(label.PrintInfo().NumLabels(), 1);

    tables->setCurrentIndex(tables->findText(QStringLiteral("ITEMS")));
    EXPECT_EQ(label.AliasTable().TableName, QStringLiteral("ITEMS"));
    EXPECT_EQ(dialog->Grid()->model()->rowCount(), 3);
    EXPECT_EQ(label.PrintInfo().NumLabels(), 3);

    // The filter goes with the stored table, so reopening the label's data keeps it.
    dialog->Grid()->setCurrentIndex(dialog->Grid()->model()->index(0, 1));
    dialog->QuickFilter(QStringLiteral("="));
    EXPECT_EQ(label.AliasTable().Filter, QStringLiteral("([TITLE] = 'Nut')"));
    dialog->CloseData();
    label.DataSet()->Open();
    EXPECT_EQ(label.DataSet()->RecordCount(), 2);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(LabelPropsAliasTest, TheLabelsAliasItemsNameWhatIsOffered)
{
    TZVLab label;
    TZVAliasItem shop{QStringLiteral("shop"), QStringLiteral("Shop floor"), {}};
    TZVTableItem shops;
    shops.SetTableName(QStringLiteral("SHOPS"));
    shop.Tables.push_back(shops);
    TZVAliasItem unknown{QStringLiteral("gone"), QStringLiteral("Old"), {}};
    label.SetBDEAlias({unknown, shop});
    auto dialog = open(label, TFPropLab::pgData);
    auto* aliases = control<QComboBox>(*dialog, "AliasList");
    ASSERT_EQ(aliases->count(), 1);
    EXPECT_EQ(aliases->itemText(0), QStringLiteral("Shop floor"));
    auto* tables = control<QComboBox>(*dialog, "TableList");
    ASSERT_EQ(tables->count(), 1);
    EXPECT_EQ(tables->itemText(0), QStringLiteral("SHOPS"));
    EXPECT_EQ(label.AliasTable().DatabaseName, QStringLiteral("shop"));
    EXPECT_EQ(label.AliasTable().TableName, QStringLiteral("SHOPS"));
}

// ---- Counters page ----------------------------------------------------------------------------

TEST_F(LabelPropsTest, CountersPageAppliesSoundCountersAndShowsWhyOthersAreRefused)
{
    TZVLab label;
    auto dialog = open(label);
    TZVCountersPage& page = *dialog->Counters();
    page.AddCounter();
    page.AddCounter();
    ASSERT_EQ(label.Counters().size(), 2);
    EXPECT_EQ(label.Counters()[1].Name, "SERIAL2");
    page.Grid()->item(0, 1)->setText("1000");
    EXPECT_EQ(label.Counters()[0].Start, 1000);
    // A repeated character is refused: the label keeps what it had and the page says why.
    static_cast<QComboBox*>(page.Grid()->cellWidget(0, 4))->setCurrentText("0120");
    EXPECT_EQ(label.Counters()[0].Alphabet, "0123456789");
    EXPECT_EQ(page.Refusal(), "INVALID COUNTER ALPHABET : SERIAL");
    page.Grid()->setCurrentCell(0, 0);
    page.RemoveCounter();
    ASSERT_EQ(label.Counters().size(), 1);
    EXPECT_EQ(label.Counters()[0].Name, "SERIAL2");
}

} // namespace
} // namespace zorvel
