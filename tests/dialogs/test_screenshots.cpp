// Pictures of the designer window and the dialogs not pictured by their own suites, for review.
// Written only when ZORVEL_SCREENSHOT_DIR names a folder (scripts/screenshots.sh sets it).
#include "../support/TestApplication.h"
#include "dialogs/ZVAlignPopup.h"
#include "dialogs/ZVJustifyPopup.h"
#include "dialogs/ZVLabelDefsDialog.h"
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "elements/ZVBarCode.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVTextElements.h"
#include "inspector/ZVInspector.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QTest>

#include <gtest/gtest.h>

namespace zorvel::test {
namespace {

QString screenshotDir()
{
    return qEnvironmentVariable("ZORVEL_SCREENSHOT_DIR");
}

void save(QWidget& widget, const char* name)
{
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QDir().mkpath(screenshotDir());
    EXPECT_TRUE(widget.grab().save(QDir(screenshotDir()).filePath(QString::fromLatin1(name) + ".png")));
}

class Screenshots : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (screenshotDir().isEmpty()) GTEST_SKIP() << "ZORVEL_SCREENSHOT_DIR is not set";
        ensureApplication<QApplication>();
    }
};

TEST_F(Screenshots, DesignerWithInspector)
{
    QWidget form;
    form.resize(1000, 600);
    auto* layout = new QHBoxLayout(&form);
    auto* label = new TZVLab(&form);
    label->Measure().SetWidth(90);
    label->Measure().SetHeight(50);
    auto* editor = new TZVEditor(&form);
    auto* inspector = new TZVInspector(&form);
    layout->addWidget(editor, 3);
    layout->addWidget(inspector, 1);
    editor->SetInspector(inspector);
    editor->Grid()->SetShow(true);

    auto* title = new TZVText(*label);
    title->SetText(QStringLiteral("ACME Hardware"));
    title->SetX1(5);
    title->SetY1(5);
    auto* price = new TZVText(*label);
    price->SetText(QStringLiteral("12.50"));
    price->SetX1(60);
    price->SetY1(20);
    auto* code = new TZVBarCode(*label);
    code->SetX1(5);
    code->SetY1(20);
    auto* frame = new TZVRect(*label);
    frame->SetX1(2);
    frame->SetY1(2);
    frame->SetX2(88);
    frame->SetY2(48);
    editor->AddToSelection(title);
    editor->Refresh(true);
    save(form, "designer");
}

TEST_F(Screenshots, CatalogueAndPopups)
{
    TZVLab label;
    TFLabelDefs catalogue;
    catalogue.SetLabel(label);
    save(catalogue, "label_definitions");
    TFAlignEle align;
    save(align, "align_popup");
    TFJustText justify;
    save(justify, "justify_popup");
}

} // namespace
} // namespace zorvel::test
