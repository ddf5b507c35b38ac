// Tests of the editor properties dialog: immediate effect of each control, Cancel, OK and texts.
#include "../support/ModalWatch.h"
#include "../support/TestApplication.h"
#include "controls/ZVColorSwatch.h"
#include "controls/ZVSpinEditFloat.h"
#include "tests/support/ColorPickerStub.h"
#include "dialogs/ZVEditorProps.h"
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "foundation/ZVCanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>
#include <vector>

namespace zorvel::test {
namespace {

// Every setting the dialog touches, for comparing before and after.
struct Settings
{
    int guideX, guideY;
    bool showAlign;
    TZVColor alignColor, gridColor, selColor;
    int stepX, stepY;
    bool gridShow;
    TZVGridDraw style;
    bool adjustAligns;
    TZVSnap snap;
    bool modified;

    auto tie() const
    {
        return std::tie(guideX, guideY, showAlign, alignColor, gridColor, selColor, stepX, stepY, gridShow, style,
                        adjustAligns, snap, modified);
    }
    bool operator==(const Settings& other) const { return tie() == other.tie(); }
};

class EditorPropsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApplication<QApplication>();
        form = std::make_unique<QWidget>();
        form->resize(700, 500);
        label = new TZVLab(form.get());
        editor = new TZVEditor(form.get());
        editor->setGeometry(0, 0, 700, 500);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        label->BackSurf().SetGuideX(10);
        label->BackSurf().SetGuideY(8);
        label->SetModified(false);
        dialog = std::make_unique<TFPropEditor>();
    }

    void TearDown() override
    {
        dialog.reset();
        form.reset();
    }

    Settings settings() const
    {
        const TZVGrid& grid = *editor->Grid();
        const TZVBackSurf& back = label->BackSurf();
        return {back.GuideX(),  back.GuideY(), back.ShowAlign(), back.AlignColor(), grid.Color(),
                editor->SelColor(), grid.StepX(), grid.StepY(), grid.Show(), grid.Style(),
                editor->Rulers()->AdjustAligns(), editor->Snap(), label->Modified()};
    }

    std::unique_ptr<QWidget> form;
    TZVLab* label = nullptr;
    TZVEditor* editor = nullptr;
    std::unique_ptr<TFPropEditor> dialog;
    ColorPickerStub picker{0x563412};
};

TEST_F(EditorPropsTest, FillShowsTheEditorAndChangesNothing)
{
    editor->SetSnap(snPoint);
    editor->Grid()->SetIncX(2.5f);
    editor->Grid()->SetStyle(gdLines);
    label->BackSurf().SetShowAlign(true);
    label->SetModified(false);
    const Settings before = settings();
    dialog->Fill(*editor);
    EXPECT_EQ(settings(), before);
    // Snapping to points is not snapping to the grid.
    EXPECT_FALSE(dialog->CheckSnap()->isChecked());
    EXPECT_DOUBLE_EQ(dialog->SpEdFloatGX()->Value(), 2.5);
    EXPECT_DOUBLE_EQ(dialog->SpEdFloatAlLeft()->Value(), 10);
    EXPECT_DOUBLE_EQ(dialog->SpEdFloatAlTop()->Value(), 8);
    EXPECT_TRUE(dialog->DrawGridLines()->isChecked());
    EXPECT_TRUE(dialog->CheckShowAlign()->isChecked());
    EXPECT_EQ(dialog->ShCoSelect()->Color(), editor->SelColor());
}

TEST_F(EditorPropsTest, CancelRestoresSnapping)
{
    struct Case
    {
        const char* name;
        TZVSnap initial;
        int clicks;
        TZVSnap whileOpen;
    };
    const std::vector<Case> cases = {
        {"switched on", snNone, 1, snGrid},
        {"switched off", snGrid, 1, snNone},
        {"on then off again", snNone, 2, snNone},
        // The box shows points as unchecked; Cancel must not lose them.
        {"points, switched on", snPoint, 1, snGrid},
        {"points, on and off", snPoint, 2, snNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->SetSnap(c.initial);
        TFPropEditor cancelled;
        cancelled.Fill(*editor);
        for (int i = 0; i < c.clicks; ++i) cancelled.CheckSnap()->click();
        EXPECT_EQ(editor->Snap(), c.whileOpen);
        cancelled.ButCancel()->click();
        EXPECT_EQ(editor->Snap(), c.initial);
        EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    }
}

TEST_F(EditorPropsTest, GridSteps)
{
    struct Case
    {
        const char* name;
        TZVUnits units;
        double increment;
        std::function<void(TFPropEditor&)> edit;
        int stepX, stepY;
    };
    const std::vector<Case> cases = {
        {"typed millimetres", unMM, 0.5, [](TFPropEditor& d) { d.SpEdFloatGX()->SetValue(2.5); }, 250, 1000},
        {"spin up in millimetres", unMM, 0.5, [](TFPropEditor& d) { d.SpEdFloatGY()->UpClick(); }, 1000, 1050},
        // 10 mm is 0.39 inch; a click adds 0.05 inch.
        {"spin up in inches", unINCH, 0.05, [](TFPropEditor& d) { d.SpEdFloatGX()->UpClick(); }, 1118, 1000},
        {"spin down in centimetres", unCM, 0.05, [](TFPropEditor& d) { d.SpEdFloatGY()->DownClick(); }, 1000, 950},
        // The grid keeps its own limits: at least 1 mm.
        {"below the smallest step", unMM, 0.5, [](TFPropEditor& d) { d.SpEdFloatGX()->SetValue(0.2); }, 100, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        label->SetUnits(c.units);
        editor->Grid()->SetSteps(1000, 1000);
        const Settings before = settings();
        TFPropEditor props;
        props.Fill(*editor);
        EXPECT_DOUBLE_EQ(props.SpEdFloatGX()->Increment(), c.increment);
        EXPECT_DOUBLE_EQ(props.SpEdFloatAlTop()->Increment(), c.increment);
        EXPECT_EQ(props.SpEdFloatGX()->Digits(), 2);
        c.edit(props);
        EXPECT_EQ(editor->Grid()->StepX(), c.stepX);
        EXPECT_EQ(editor->Grid()->StepY(), c.stepY);
        props.ButCancel()->click();
        EXPECT_EQ(settings(), before);
    }
}

TEST_F(EditorPropsTest, GridChangeRedrawsAtOnce)
{
    editor->Grid()->SetShow(true);
    editor->Refresh(false);
    dialog->Fill(*editor);
    const int recorded = editor->LayerRecordCount(lyContent);
    dialog->SpEdFloatGX()->SetValue(3);
    EXPECT_GT(editor->LayerRecordCount(lyContent), recorded);
    EXPECT_EQ(editor->Grid()->StepX(), 300);
}

TEST_F(EditorPropsTest, GuidesFollowTheControls)
{
    dialog->Fill(*editor);
    dialog->SpEdFloatAlLeft()->SetValue(12.5);
    dialog->SpEdFloatAlTop()->SetValue(20);
    EXPECT_EQ(label->BackSurf().GuideX(), 1250);
    EXPECT_EQ(label->BackSurf().GuideY(), 2000);
    dialog->CheckShowAlign()->click();
    EXPECT_TRUE(label->BackSurf().ShowAlign());
    dialog->CheckAdjustAlign()->click();
    EXPECT_TRUE(editor->Rulers()->AdjustAligns());
    // A guide stays on the label: 500 mm is beyond the 35 mm height.
    dialog->SpEdFloatAlTop()->SetValue(500);
    EXPECT_EQ(label->BackSurf().GuideY(), label->Measure().Height());
}

TEST_F(EditorPropsTest, ColourSwatches)
{
    struct Case
    {
        const char* name;
        std::function<ColorSwatch*(TFPropEditor&)> swatch;
        std::function<TZVColor()> setting;
    };
    const std::vector<Case> cases = {
        {"grid", [](TFPropEditor& d) { return d.ShCoGrid(); }, [this] { return editor->Grid()->Color(); }},
        {"guides", [](TFPropEditor& d) { return d.ShCoAlign(); }, [this] { return label->BackSurf().AlignColor(); }},
        {"selection", [](TFPropEditor& d) { return d.ShCoSelect(); }, [this] { return editor->SelColor(); }},
    };
    dialog->Fill(*editor);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ColorSwatch* swatch = c.swatch(*dialog);
        const TZVColor before = c.setting();
        picker.answer.reset();
        QTest::mouseClick(swatch, Qt::LeftButton);
        EXPECT_EQ(picker.offered, before) << "the chooser starts from the swatch's colour";
        EXPECT_EQ(c.setting(), before) << "a dismissed chooser changes nothing";
        picker.answer = 0x563412;
        QTest::mouseClick(swatch, Qt::LeftButton);
        EXPECT_EQ(c.setting(), 0x563412u);
        EXPECT_EQ(swatch->Color(), 0x563412u);
    }
    const int asked = picker.asked;
    QTest::mouseClick(dialog->ShCoSize(), Qt::LeftButton);
    EXPECT_EQ(picker.asked, asked) << "the size box's swatch picks nothing";
}

TEST_F(EditorPropsTest, CancelRestoresEverySettingAndOkKeepsThem)
{
    const auto changeAll = [this](TFPropEditor& d) {
        d.SpEdFloatGX()->SetValue(4);
        d.SpEdFloatGY()->SetValue(3);
        d.SpEdFloatAlLeft()->SetValue(30);
        d.SpEdFloatAlTop()->SetValue(15);
        d.CheckShowAlign()->click();
        d.CheckAdjustAlign()->click();
        d.CheckGrid()->click();
        d.CheckSnap()->click();
        d.DrawGridLines()->click();
        QTest::mouseClick(d.ShCoGrid(), Qt::LeftButton);
        QTest::mouseClick(d.ShCoAlign(), Qt::LeftButton);
        QTest::mouseClick(d.ShCoSelect(), Qt::LeftButton);
        // The size group has no effect.
        d.CheckShowSize()->click();
        QTest::mouseClick(d.ShCoSize(), Qt::LeftButton);
    };
    const Settings before = settings();

    dialog->Fill(*editor);
    changeAll(*dialog);
    const Settings changed = settings();
    EXPECT_EQ(changed.stepX, 400);
    EXPECT_EQ(changed.guideX, 3000);
    EXPECT_TRUE(changed.showAlign && changed.adjustAligns && changed.gridShow && changed.modified);
    EXPECT_EQ(changed.style, gdLines);
    EXPECT_EQ(changed.snap, snGrid);
    dialog->ButCancel()->click();
    EXPECT_EQ(settings(), before);

    TFPropEditor kept;
    kept.Fill(*editor);
    changeAll(kept);
    kept.ButOK()->click();
    EXPECT_EQ(kept.result(), QDialog::Accepted);
    EXPECT_EQ(settings(), changed);
}

TEST_F(EditorPropsTest, EscapeCancelsAndTheCloseBoxKeeps)
{
    dialog->Fill(*editor);
    dialog->show();
    dialog->CheckGrid()->click();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(editor->Grid()->Show());

    TFPropEditor closed;
    closed.Fill(*editor);
    closed.show();
    closed.CheckGrid()->click();
    closed.close();
    EXPECT_TRUE(editor->Grid()->Show());
}

TEST_F(EditorPropsTest, CaptionsFromTheTranslationFile)
{
    dialog->Fill(*editor);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Editor Properties"));
    EXPECT_EQ(dialog->CheckSnap()->text(), QStringLiteral("Snap to Grid"));
    EXPECT_EQ(dialog->ButCancel()->text(), QStringLiteral("Cancel"));

    QTemporaryDir dir;
    const QString ini = dir.filePath("texts.ini");
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[dialogs]\nZvEditorPro=Propiedades del editor\nZvSnapGrid=Ajustar a la rejilla\n");
    }
    label->SetIniTranslate(ini);
    TFPropEditor translated;
    translated.Fill(*editor);
    EXPECT_EQ(translated.windowTitle(), QStringLiteral("Propiedades del editor"));
    EXPECT_EQ(translated.CheckSnap()->text(), QStringLiteral("Ajustar a la rejilla"));
}

TEST_F(EditorPropsTest, ExecuteShowsTheDialogModally)
{
    const ModalWatch<TFPropEditor> watch([](TFPropEditor* shown) {
        shown->CheckGrid()->click();
        shown->ButOK()->click();
    });
    TFPropEditor::Execute(*editor, form.get());
    EXPECT_TRUE(watch.seen());
    EXPECT_TRUE(editor->Grid()->Show());
}

} // namespace
} // namespace zorvel::test
