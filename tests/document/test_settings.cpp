// The label's settings objects: sheet geometry, background, frame and print settings.
#include "document/ZVCustomLab.h"
#include "foundation/ZVError.h"
#include "tests/document/TestEditorLink.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

using namespace zorvel;
using zorvel::test::TestEditorLink;

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    SettingsTest() { label.SetEditor(&editor); }
    ~SettingsTest() override { label.SetEditor(nullptr); }

    // Starts a step with a clean record, an unmodified label and a clean background.
    void reset()
    {
        editor.ResetRecord();
        label.SetModified(false);
        label.BackSurf().SetBackDirty(false);
    }

    TestEditorLink editor;
    TZVLab label;
};

} // namespace

TEST_F(SettingsTest, MeasureSettersApplyTheirLimits)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVMeasure&)> set;
        std::function<int(const TZVMeasure&)> get;
        int expected;
    };
    const Case cases[] = {
        {"rows 0 become 1", [](TZVMeasure& m) { m.SetNuHor(0); }, &TZVMeasure::NuHor, 1},
        {"rows below 0 become 1", [](TZVMeasure& m) { m.SetNuHor(-3); }, &TZVMeasure::NuHor, 1},
        {"columns 0 become 1", [](TZVMeasure& m) { m.SetNuVer(0); }, &TZVMeasure::NuVer, 1},
        {"width 2 mm becomes 5 mm", [](TZVMeasure& m) { m.SetWidth(2); }, &TZVMeasure::Width, 500},
        {"width 70.25 mm", [](TZVMeasure& m) { m.SetWidth(70.25f); }, &TZVMeasure::Width, 7025},
        {"height 1 mm becomes 5 mm", [](TZVMeasure& m) { m.SetHeight(1); }, &TZVMeasure::Height, 500},
        {"paper width 3 mm becomes 5 mm", [](TZVMeasure& m) { m.SetPaperWidth(3); }, &TZVMeasure::PaperWidth,
         500},
        {"paper height 0 becomes 5 mm", [](TZVMeasure& m) { m.SetPaperHeight(0); }, &TZVMeasure::PaperHeight,
         500},
        {"negative left margin becomes 0", [](TZVMeasure& m) { m.SetMarLeft(-1); }, &TZVMeasure::MarLeft, 0},
        {"negative gap becomes 0", [](TZVMeasure& m) { m.SetDiVer(-4); }, &TZVMeasure::DiVer, 0},
        {"inner circle beyond the width", [](TZVMeasure& m) { m.SetInnerCircle(80); },
         &TZVMeasure::InnerCircle, 6000},
        {"negative inner circle", [](TZVMeasure& m) { m.SetInnerCircle(-5); }, &TZVMeasure::InnerCircle, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab fresh;
        fresh.SetModified(false);
        c.set(fresh.Measure());
        EXPECT_EQ(c.get(fresh.Measure()), c.expected);
        EXPECT_TRUE(fresh.Modified());
    }
}

TEST_F(SettingsTest, LengthsFollowTheLabelUnit)
{
    label.SetUnits(unINCH);
    label.Measure().SetWidth(1.0f);
    EXPECT_EQ(label.Measure().Width(), 2540);
    EXPECT_FLOAT_EQ(label.Measure().GetWidth(), 1.0f);
    label.SetUnits(unCM);
    EXPECT_FLOAT_EQ(label.Measure().GetWidth(), 2.54f);
    label.Frame().SetPenWidth(0.05f);
    EXPECT_EQ(label.Frame().PenWidth(), 50);
}

TEST_F(SettingsTest, ACircularLabelKeepsItsSidesEqual)
{
    label.Measure().SetLabelType(ltCircle);
    EXPECT_EQ(label.Measure().Height(), 6000) << "switching makes the height the width";
    label.Measure().SetWidth(40);
    EXPECT_EQ(label.Measure().Height(), 4000);
    label.Measure().SetHeight(30);
    EXPECT_EQ(label.Measure().Width(), 3000);
    label.Measure().SetInnerCircle(10);

    label.Measure().SetLabelType(ltRect);
    EXPECT_EQ(label.Measure().InnerCircle(), 0);
    label.Measure().SetHeight(20);
    EXPECT_EQ(label.Measure().Width(), 3000);
}

TEST_F(SettingsTest, SwitchingTheLabelTypeDropsBackgroundsOfTheOtherShape)
{
    struct Case
    {
        const char* name;
        TZorvelType from;
        TZVBackStyle style;
        TZVBackStyle expected;
    };
    const Case cases[] = {
        {"horizontal gradient on a circle", ltRect, biGradHor, biNone},
        {"vertical gradient on a circle", ltRect, biGradVer, biNone},
        {"circular gradient on a rectangle", ltCircle, biGraCircle, biNone},
        {"half 1 on a rectangle", ltCircle, biHalf1, biNone},
        {"half 2 on a rectangle", ltCircle, biHalf2, biNone},
        {"quarter on a rectangle", ltCircle, biQuarter, biNone},
        {"a plain colour stays", ltCircle, biNone, biNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab fresh;
        fresh.Measure().SetLabelType(c.from);
        fresh.BackSurf().SetStyle(c.style);
        ASSERT_EQ(fresh.BackSurf().Style(), c.style);
        fresh.Measure().SetLabelType(c.from == ltRect ? ltCircle : ltRect);
        EXPECT_EQ(fresh.BackSurf().Style(), c.expected);
    }
}

TEST_F(SettingsTest, MeasureChangesReachTheEditor)
{
    reset();
    label.Measure().SetWidth(50);
    EXPECT_EQ(editor.recalcSizeCount, 1);
    EXPECT_TRUE(label.BackSurf().BackDirty());
    EXPECT_EQ(editor.contentDirtyCount, 1);
    EXPECT_EQ(editor.selectionDirtyCount, 1);
    EXPECT_EQ(editor.LastRefreshedName(), QStringLiteral("Width"));

    reset();
    label.Measure().SetLabelType(ltCircle);
    EXPECT_EQ(editor.recalcSizeCount, 1);
    EXPECT_TRUE(label.BackSurf().BackDirty());
    EXPECT_EQ(editor.contentDirtyCount, 0);
    EXPECT_EQ(editor.LastRefreshedName(), QStringLiteral("LabelType"));

    reset();
    label.Measure().SetLabelType(ltCircle);
    EXPECT_TRUE(editor.refreshes.empty());
    EXPECT_FALSE(label.Modified()) << "an unchanged type is ignored";

    reset();
    label.Measure().SetInnerCircle(10);
    EXPECT_TRUE(label.BackSurf().BackDirty());
    EXPECT_EQ(editor.LastRefreshedName(), QStringLiteral("InnerCircle"));

    reset();
    label.Measure().SetMarLeft(7);
    label.Measure().SetNuHor(4);
    EXPECT_TRUE(editor.refreshes.empty());
    EXPECT_TRUE(label.Modified());
}

TEST_F(SettingsTest, NamesSetModifiedOnlyWhenTheyChange)
{
    reset();
    label.Measure().SetLabelName(QStringLiteral("My Label"));
    label.Measure().SetPaperName(QStringLiteral("A4"));
    EXPECT_FALSE(label.Modified());
    label.Measure().SetPaperName(QStringLiteral("Letter"));
    EXPECT_TRUE(label.Modified());
}

TEST_F(SettingsTest, PaperFromATableEntryHasNoLowerLimit)
{
    label.Measure().SetPaper(3, 297, 8);
    EXPECT_EQ(label.Measure().PaperWidth(), 300);
    EXPECT_EQ(label.Measure().PaperHeight(), 29700);
    EXPECT_EQ(label.PrintInfo().PaperCode, 8);
}

TEST_F(SettingsTest, MarginsGivenWhileLoadingWaitForTheUnit)
{
    label.SetLoading(true);
    label.Measure().SetMarLeft(1.0f);
    label.Measure().SetDiHor(0.5f);
    label.SetUnits(unINCH);
    EXPECT_EQ(label.Measure().MarLeft(), 500) << "kept raw while loading";

    label.Loaded();
    EXPECT_FALSE(label.Loading());
    EXPECT_EQ(label.Measure().MarLeft(), 2540);
    EXPECT_EQ(label.Measure().DiHor(), 1270);
    EXPECT_EQ(label.Measure().MarTop(), 1000);
    EXPECT_FALSE(label.Modified());
}

TEST_F(SettingsTest, BackgroundStylesFallBackWhenTheyDoNotFit)
{
    struct Case
    {
        const char* name;
        TZorvelType type;
        TZVBackStyle style;
        TZVBackStyle expected;
    };
    const Case cases[] = {
        {"image without a file", ltRect, biImage, biNone},
        {"horizontal gradient on a rectangle", ltRect, biGradHor, biGradHor},
        {"circular gradient on a rectangle", ltRect, biGraCircle, biNone},
        {"quarter on a rectangle", ltRect, biQuarter, biNone},
        {"vertical gradient on a circle", ltCircle, biGradVer, biNone},
        {"quarter on a circle", ltCircle, biQuarter, biQuarter},
        {"half 2 on a circle", ltCircle, biHalf2, biHalf2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab fresh;
        fresh.Measure().SetLabelType(c.type);
        fresh.BackSurf().SetStyle(c.style);
        EXPECT_EQ(fresh.BackSurf().Style(), c.expected);
    }

    label.SetLoading(true);
    label.BackSurf().SetStyle(biGraCircle);
    EXPECT_EQ(label.BackSurf().Style(), biGraCircle) << "kept as given while loading";
}

TEST_F(SettingsTest, BackgroundColoursMarkOnlyTheBackground)
{
    reset();
    label.BackSurf().SetColor(0xFFFFFF);
    EXPECT_FALSE(label.Modified());
    EXPECT_TRUE(editor.refreshes.empty());

    label.BackSurf().SetToColor(0x00FF00);
    EXPECT_TRUE(label.Modified());
    EXPECT_TRUE(label.BackSurf().BackDirty());
    EXPECT_EQ(editor.contentDirtyCount, 0);
    EXPECT_EQ(editor.LastRefreshedName(), QStringLiteral("ToColor"));

    reset();
    label.BackSurf().SetAlignColor(0x123456);
    EXPECT_TRUE(editor.refreshes.empty()) << "guides hidden";
    EXPECT_TRUE(label.Modified());
}

TEST_F(SettingsTest, BackgroundPictureLoadsFromItsFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath(QStringLiteral("back.bmp"));
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(good, "BMP"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.bmp"));
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }

    reset();
    label.BackSurf().SetFileImage(good);
    EXPECT_EQ(label.BackSurf().FileImage(), good);
    EXPECT_EQ(label.BackSurf().Picture().size(), QSize(4, 3));
    EXPECT_TRUE(label.BackSurf().BackDirty());
    EXPECT_TRUE(label.Modified());

    label.BackSurf().SetStyle(biImage);
    EXPECT_EQ(label.BackSurf().Style(), biImage);

    QString message;
    try {
        label.BackSurf().SetFileImage(damaged);
    } catch (const EZvError& error) {
        message = error.message();
    }
    EXPECT_EQ(message, QStringLiteral("INVALID IMAGE : ") + damaged);
    EXPECT_TRUE(label.BackSurf().FileImage().isEmpty());
    EXPECT_TRUE(label.BackSurf().Picture().isNull());

    label.BackSurf().SetFileImage(dir.filePath(QStringLiteral("missing.jpg")));
    EXPECT_TRUE(label.BackSurf().FileImage().isEmpty()) << "a missing file is dropped without an error";
}

TEST_F(SettingsTest, GuidesStayOnTheLabelAndMoveTheRulerMarks)
{
    reset();
    label.BackSurf().SetGuideX(100);
    label.BackSurf().SetGuideY(-3);
    label.BackSurf().SetGuideY(12.5f);
    EXPECT_EQ(label.BackSurf().GuideX(), 6000);
    EXPECT_EQ(label.BackSurf().GuideY(), 1250);
    EXPECT_EQ(editor.guideMarkX, 6000);
    EXPECT_EQ(editor.guideMarkY, 1250);
    EXPECT_EQ(editor.selectionDirtyCount, 0);
    EXPECT_TRUE(label.Modified());

    label.BackSurf().SetGuidesDragging(0);
    EXPECT_TRUE(label.BackSurf().GuidesInSelection());
    reset();
    label.BackSurf().SetGuideX(10);
    EXPECT_EQ(editor.selectionDirtyCount, 1);
    EXPECT_EQ(editor.contentDirtyCount, 0);
    EXPECT_EQ(editor.guideMarkX, 6000) << "the ruler mark waits for the drop";
    label.BackSurf().SetGuidesDragging(1);
    EXPECT_FALSE(label.BackSurf().GuidesInSelection());
}

TEST_F(SettingsTest, ShowAlignTellsTheRulers)
{
    reset();
    label.BackSurf().SetShowAlign(true);
    EXPECT_TRUE(editor.guideMarksShown);
    EXPECT_EQ(editor.contentDirtyCount, 1);
    EXPECT_EQ(editor.LastRefreshedName(), QStringLiteral("ShowAlign"));
    EXPECT_TRUE(label.Modified());

    reset();
    label.BackSurf().SetAlignColor(0xFF00FF);
    EXPECT_EQ(editor.LastRefreshedName(), QStringLiteral("AlignColor"));

    reset();
    label.SetLoading(true);
    label.BackSurf().SetShowAlign(false);
    EXPECT_FALSE(label.BackSurf().ShowAlign());
    EXPECT_TRUE(editor.guideMarksShown);
    EXPECT_FALSE(label.Modified());
}

TEST_F(SettingsTest, FrameSettersMarkTheContent)
{
    reset();
    label.Frame().SetStyle(fsNone);
    label.Frame().SetColor(0);
    EXPECT_TRUE(editor.refreshes.empty());
    EXPECT_FALSE(label.Modified());

    label.Frame().SetDist1(-2);
    EXPECT_EQ(label.Frame().Dist1(), -200) << "no limits";
    label.Frame().SetRadio(3);
    label.Frame().SetStyle(fsTwoLine);
    EXPECT_EQ(editor.contentDirtyCount, 3);
    EXPECT_FALSE(label.BackSurf().BackDirty());
    EXPECT_EQ(editor.LastRefreshedName(), QStringLiteral("Style"));
    EXPECT_TRUE(label.Modified());
}

TEST_F(SettingsTest, SettingObjectsAreCopiedNotShared)
{
    TZVLab source;
    source.Measure().SetWidth(80);
    source.Frame().SetStyle(fsOneLine);
    source.BackSurf().SetColor(0x00FF00);
    source.BackSurf().SetGuideX(20);

    reset();
    label.SetMeasure(&source.Measure());
    label.SetFrame(&source.Frame());
    label.SetBackSurf(&source.BackSurf());
    label.SetMeasure(nullptr);

    EXPECT_EQ(label.Measure().Width(), 8000);
    EXPECT_EQ(label.Frame().Style(), fsOneLine);
    EXPECT_EQ(label.BackSurf().Color(), 0x00FF00u);
    EXPECT_EQ(label.BackSurf().GuideX(), 2000);
    EXPECT_EQ(editor.recalcSizeCount, 1);
    EXPECT_TRUE(label.Modified());

    source.Measure().SetWidth(90);
    EXPECT_EQ(label.Measure().Width(), 8000);
}

TEST_F(SettingsTest, PrintSettingsApplyTheirLimits)
{
    TZVPrintInfo& info = label.PrintInfo();
    struct Case
    {
        const char* name;
        std::function<void()> set;
        std::function<int()> get;
        int expected;
    };
    const Case cases[] = {
        {"first row above the rows", [&] { info.SetFirstRow(9); }, [&] { return info.FirstRow(); }, 7},
        {"first row 0", [&] { info.SetFirstRow(0); }, [&] { return info.FirstRow(); }, 1},
        {"first column above the columns", [&] { info.SetFirstCol(4); }, [&] { return info.FirstCol(); }, 3},
        {"first column -1", [&] { info.SetFirstCol(-1); }, [&] { return info.FirstCol(); }, 1},
        {"labels 0", [&] { info.SetNumLabels(0); }, [&] { return info.NumLabels(); }, 1},
        {"repetitions -2", [&] { info.SetRepetitions(-2); }, [&] { return info.Repetitions(); }, 1},
        {"first record 0", [&] { info.SetPrintFrom(0); }, [&] { return info.PrintFrom(); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.set();
        EXPECT_EQ(c.get(), c.expected);
    }

    info.SetPrintTo(4);
    info.SetPrintFrom(6);
    EXPECT_EQ(info.PrintTo(), 6) << "the last record follows the first";
    info.SetPrintTo(0);
    info.SetPrintFrom(8);
    EXPECT_EQ(info.PrintTo(), 0) << "0 means to the end";

    label.SetModified(false);
    info.SetFirstRow(3);
    EXPECT_FALSE(label.Modified());
    info.SetRepetitions(2);
    EXPECT_TRUE(label.Modified());
}

TEST_F(SettingsTest, FewerRowsPullTheFirstRowBackOnTheSheet)
{
    label.PrintInfo().SetFirstRow(7);
    label.PrintInfo().SetFirstCol(3);
    label.Measure().SetNuHor(4);
    label.Measure().SetNuVer(2);
    EXPECT_EQ(label.PrintInfo().FirstRow(), 4);
    EXPECT_EQ(label.PrintInfo().FirstCol(), 2);
}

TEST_F(SettingsTest, PictureFilterFollowsOnlyBitmap)
{
    EXPECT_EQ(label.PictureFilter(), QStringLiteral("All (*.jpg *.jpeg *.bmp *.wmf *.emf);;"
                                                    "JPEG Image File (*.jpg);;JPEG Image File (*.jpeg);;"
                                                    "WMF Metafile (*.wmf);;EMF Enhanced Metafile (*.emf)"));
    label.SetOnlyBitmap(true);
    EXPECT_EQ(label.PictureFilter(), QStringLiteral("Bitmaps (*.bmp)"));
}
