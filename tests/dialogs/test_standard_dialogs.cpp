// The dialogs a label opens for its commands once the widgets library is installed on it, and the
// set every editor opens.
#include "../support/TestApplication.h"
#include "../document/TestEditorLink.h"
#include "dialogs/ZVEditorProps.h"
#include "dialogs/ZVStandardDialogs.h"
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "editor/ZVEditorDialogs.h"
#include "elements/ZVImage.h"

#include <QApplication>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace zorvel::test {
namespace {

class StandardDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApplication<QApplication>();
        label.SetEditor(&editor);
    }
    void TearDown() override
    {
        TZVStandardDialogs::Instance().PictureChooser = saved;
        label.SetEditor(nullptr);
    }

    TestEditorLink editor;
    TZVLab label;
    std::function<QString(const QString&, const QString&)> saved = TZVStandardDialogs::Instance().PictureChooser;
};

TEST_F(StandardDialogs, InstallingKeepsDialogsTheLabelAlreadyHas)
{
    struct Own : TZVElementEditor
    {
        void EditElement(TZVCustomLab&, TZVElement&) override {}
    } own;
    label.SetElementEditor(&own);
    TZVStandardDialogs::InstallOn(label);
    EXPECT_EQ(label.ElementEditor(), &own);
    EXPECT_EQ(label.LabDialogs(), &TZVStandardDialogs::Instance());
    EXPECT_TRUE(label.OnMessage) << "unreadable pictures are reported in a box";
}

TEST_F(StandardDialogs, AnImageTakesTheChosenPictureAndACancelKeepsItsOwn)
{
    QTemporaryDir dir;
    const QString first = dir.filePath("first.bmp"), second = dir.filePath("second.bmp");
    QImage(4, 4, QImage::Format_RGB32).save(first);
    QImage(4, 4, QImage::Format_RGB32).save(second);
    TZVStandardDialogs::InstallOn(label);
    auto* image = new TZVImage(label);
    image->SetFileImage(first);
    label.SetCurrentElement(image);

    QString offered, filter;
    QString answer;
    TZVStandardDialogs::Instance().PictureChooser = [&](const QString& current, const QString& f) {
        offered = current;
        filter = f;
        return answer;
    };

    editor.ResetRecord();
    label.EditElement(); // cancelled
    EXPECT_EQ(offered, first) << "the dialog starts at the current picture";
    EXPECT_EQ(filter, label.PictureFilter());
    EXPECT_EQ(image->FileImage(), first);
    EXPECT_TRUE(editor.refreshes.empty());

    answer = second;
    label.EditElement();
    EXPECT_EQ(image->FileImage(), second);
    EXPECT_FALSE(editor.refreshes.empty()) << "the editor shows the new picture";
}

TEST_F(StandardDialogs, EditorsOpenTheRegisteredSet)
{
    ASSERT_EQ(TZVEditorDialogs::Registered(), &TZVStandardDialogs::Instance()) << "registered as the library loads";
    QWidget form;
    auto* shown = new TZVLab(&form);
    auto* view = new TZVEditor(&form);
    EXPECT_EQ(shown->LabDialogs(), &TZVStandardDialogs::Instance());
    EXPECT_EQ(shown->ElementEditor(), &TZVStandardDialogs::Instance());
    QWidget* opened = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<TFPropEditor*>(QApplication::activeModalWidget())) {
            opened = dialog->parentWidget();
            dialog->reject();
        }
    });
    view->ShowProperties();
    EXPECT_EQ(opened, view) << "the editor properties dialog, modal over the editor";

    struct Own : TZVEditorDialogs
    {
        QList<TZVLab*> labels;
        TZVCustomEditor* editor = nullptr;
        QWidget* parent = nullptr;
        void LabelShown(TZVLab& label) override { labels << &label; }
        void ShowEditorProperties(TZVCustomEditor& e, QWidget* p) override
        {
            editor = &e;
            parent = p;
        }
    } own;
    TZVEditorDialogs::Register(&own);
    const auto restore = qScopeGuard([] { TZVEditorDialogs::Register(&TZVStandardDialogs::Instance()); });
    auto* other = new TZVLab(&form);
    view->SetZorvel(other);
    view->ShowProperties();
    EXPECT_EQ(own.labels, QList<TZVLab*>{other});
    EXPECT_EQ(other->LabDialogs(), nullptr) << "the host's set decides what a label gets";
    EXPECT_EQ(own.editor, view);
    EXPECT_EQ(own.parent, view);
}

} // namespace
} // namespace zorvel::test
