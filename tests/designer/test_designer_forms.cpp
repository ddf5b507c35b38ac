// Forms holding an editor and an inspector, built by QUiLoader through the plugin and by the
// code uic generates.
#include "tests/designer/DesignerTestSupport.h"
#include "tests/designer/FormExpectations.h"
#include "ui_ZorvelForm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUiLoader>

#include <gtest/gtest.h>
#include <memory>

namespace zorvel::test {
namespace {

const QString kFormFile = QStringLiteral(ZORVEL_DESIGNER_FORMS "/ZorvelForm.ui");

std::unique_ptr<QWidget> loadForm(QUiLoader& loader)
{
    QFile file(kFormFile);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    std::unique_ptr<QWidget> form(loader.load(&file));
    if (!form) ADD_FAILURE() << loader.errorString().toStdString();
    return form;
}

TEST(DesignerForms, UiLoaderBuildsTheFormThroughThePlugin)
{
    ensureApplication<QApplication>();
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(QStringLiteral(ZORVEL_DESIGNER_PLUGIN)).absolutePath());
    const QStringList available = loader.availableWidgets();
    EXPECT_TRUE(available.contains("zorvel::TZVEditor"));
    EXPECT_TRUE(available.contains("zorvel::TZVInspector"));

    std::unique_ptr<QWidget> form = loadForm(loader);
    expectZorvelFormValues(form.get());
}

// An application that sets QT_PLUGIN_PATH (or adds a library path) to the plugins folder finds
// the plugin in its designer/ subfolder without naming it.
TEST(DesignerForms, UiLoaderFindsThePluginUnderALibraryPath)
{
    ensureApplication<QApplication>();
    const QDir designerDir = QFileInfo(QStringLiteral(ZORVEL_DESIGNER_PLUGIN)).absoluteDir();
    ASSERT_EQ(designerDir.dirName(), "designer");
    QDir pluginRoot = designerDir;
    ASSERT_TRUE(pluginRoot.cdUp());
    QCoreApplication::addLibraryPath(pluginRoot.absolutePath());
    QUiLoader loader;
    EXPECT_TRUE(loader.pluginPaths().contains(designerDir.absolutePath()));
    EXPECT_TRUE(loader.availableWidgets().contains("zorvel::TZVEditor"));
    std::unique_ptr<QWidget> form = loadForm(loader);
    expectZorvelFormValues(form.get());
}

TEST(DesignerForms, UicCodeBuildsTheSameForm)
{
    ensureApplication<QApplication>();
    QWidget form;
    Ui::ZorvelForm ui;
    ui.setupUi(&form);
    EXPECT_EQ(ui.editor->parentWidget(), &form);
    expectZorvelFormValues(&form);

    // A second form gets its own label.
    QWidget other;
    Ui::ZorvelForm otherUi;
    otherUi.setupUi(&other);
    ASSERT_NE(otherUi.editor->Zorvel(), nullptr);
    EXPECT_NE(otherUi.editor->Zorvel(), ui.editor->Zorvel());
    EXPECT_EQ(otherUi.editor->Zorvel()->parent(), &other);
}

TEST(DesignerForms, SplitPosOfTheFormSurvivesBuildingIt)
{
    ensureApplication<QApplication>();
    {
        SCOPED_TRACE("QUiLoader");
        QUiLoader loader;
        loader.clearPluginPaths();
        loader.addPluginPath(QFileInfo(QStringLiteral(ZORVEL_DESIGNER_PLUGIN)).absolutePath());
        std::unique_ptr<QWidget> form = loadForm(loader);
        expectZorvelFormSplitPos(form.get());
    }
    {
        SCOPED_TRACE("uic");
        QWidget form;
        Ui::ZorvelForm ui;
        ui.setupUi(&form);
        expectZorvelFormSplitPos(&form);
    }
}

} // namespace
} // namespace zorvel::test
