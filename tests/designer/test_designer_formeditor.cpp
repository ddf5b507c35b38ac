// The widgets inside Designer's own form editor: its property sheet, undoable deletion, preview,
// and the .ui text it saves read back by QUiLoader.
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "inspector/ZVInspector.h"
#include "tests/designer/DesignerTestSupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QPointer>
#include <QTemporaryDir>
#include <QUiLoader>
#include <QUndoStack>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QDesignerWidgetBoxInterface>
#include <QtDesigner/QDesignerWidgetDataBaseInterface>
#include <QtDesigner/QExtensionManager>

#include <gtest/gtest.h>
#include <memory>

namespace zorvel::test {
namespace {

const char kEmptyForm[] = R"(<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>700</width><height>400</height></rect></property>
  <widget class="zorvel::TZVEditor" name="editor">
   <property name="geometry"><rect><x>10</x><y>10</y><width>400</width><height>300</height></rect></property>
  </widget>
  <widget class="zorvel::TZVInspector" name="inspector">
   <property name="geometry"><rect><x>420</x><y>10</y><width>225</width><height>300</height></rect></property>
  </widget>
 </widget>
</ui>)";

// One form editor for the process, with its settings kept out of the user's home.
class DesignerFormEditorTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        ensureApplication<QApplication>();
        QDir pluginRoot = QFileInfo(QStringLiteral(ZORVEL_DESIGNER_PLUGIN)).absoluteDir();
        pluginRoot.cdUp();
        QCoreApplication::addLibraryPath(pluginRoot.absolutePath());
        QDesignerComponents::initializeResources();
        // Set up as the Designer application does it.
        s_core = QDesignerComponents::createFormEditor(nullptr);
        static QWidget topLevel;
        s_core->setTopLevel(&topLevel);
        QDesignerComponents::initializePlugins(s_core);
        s_core->setWidgetBox(QDesignerComponents::createWidgetBox(s_core, nullptr));
        s_core->setPropertyEditor(QDesignerComponents::createPropertyEditor(s_core, nullptr));
        s_core->setObjectInspector(QDesignerComponents::createObjectInspector(s_core, nullptr));
        s_core->setActionEditor(QDesignerComponents::createActionEditor(s_core, nullptr));
        new QDesignerIntegration(s_core, s_core);
        s_core->widgetBox()->setFileName(QStringLiteral(":/qt-project.org/widgetbox/widgetbox.xml"));
        s_core->widgetBox()->load();
    }

    void SetUp() override
    {
        ASSERT_NE(s_core, nullptr);
        m_form = s_core->formWindowManager()->createFormWindow();
        ASSERT_NE(m_form, nullptr);
        m_form->setContents(QString::fromLatin1(kEmptyForm));
        ASSERT_NE(m_form->mainContainer(), nullptr);
        // Not shown: activating a window needs Designer's main window (its application-wide
        // filters crash without it).
        s_core->formWindowManager()->setActiveFormWindow(m_form);
    }

    void TearDown() override { delete m_form.data(); }

    QWidget* container() const { return m_form->mainContainer(); }

    QDesignerPropertySheetExtension* sheetOf(QObject* object) const
    {
        return qt_extension<QDesignerPropertySheetExtension*>(s_core->extensionManager(), object);
    }

    static inline QDesignerFormEditorInterface* s_core = nullptr;
    QPointer<QDesignerFormWindowInterface> m_form;
};

TEST_F(DesignerFormEditorTest, WidgetDatabaseKnowsBothWidgetsFromThePlugin)
{
    QDesignerWidgetDataBaseInterface* database = s_core->widgetDataBase();
    for (const char* name : {"zorvel::TZVEditor", "zorvel::TZVInspector"}) {
        SCOPED_TRACE(name);
        const int index = database->indexOfClassName(QString::fromLatin1(name));
        ASSERT_GE(index, 0);
        QDesignerWidgetDataBaseItemInterface* item = database->item(index);
        EXPECT_TRUE(item->isCustom());
        EXPECT_FALSE(item->isPromoted());
        EXPECT_EQ(item->group(), "Zorvel");
        EXPECT_FALSE(item->isContainer());
        EXPECT_FALSE(item->icon().isNull());
    }
    EXPECT_EQ(database->item(database->indexOfClassName("zorvel::TZVEditor"))->includeFile(),
              "editor/ZVEditor.h");

    // The widget box shows them in their own group, ready to be dropped.
    QDesignerWidgetBoxInterface* box = s_core->widgetBox();
    QStringList inGroup;
    for (int c = 0; c < box->categoryCount(); ++c) {
        const QDesignerWidgetBoxInterface::Category category = box->category(c);
        if (category.name() != QLatin1String("Zorvel")) continue;
        for (int w = 0; w < category.widgetCount(); ++w) {
            const QDesignerWidgetBoxInterface::Widget widget = category.widget(w);
            inGroup.append(widget.name());
            EXPECT_TRUE(widget.domXml().contains(QLatin1String("class=\"zorvel::")))
                << widget.domXml().toStdString();
        }
    }
    EXPECT_EQ(inGroup, (QStringList{"TZVEditor", "TZVInspector"}));
}

TEST_F(DesignerFormEditorTest, FormHoldsTheRealWidgetsAndOneLabel)
{
    auto* editor = container()->findChild<TZVEditor*>(QStringLiteral("editor"));
    auto* inspector = container()->findChild<TZVInspector*>(QStringLiteral("inspector"));
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(inspector, nullptr);
    EXPECT_TRUE(m_form->isManaged(editor));
    EXPECT_TRUE(m_form->isManaged(inspector));
    const QList<TZVLab*> labels = container()->findChildren<TZVLab*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(editor->Zorvel(), labels.first());
    // The label is no widget of the form: Designer neither manages nor saves it.
    EXPECT_FALSE(m_form->contents().contains("ZVLab"));
}

// Every property Designer lists for the widgets can be read through its sheet, and every
// Zorvel property it shows takes a new value through the form's cursor (the property editor's
// path, with undo).
TEST_F(DesignerFormEditorTest, PropertySheetEditsThePublishedProperties)
{
    struct Case
    {
        const char* Widget;
        const char* Property;
        QVariant Value;
        QVariant Expected;
    };
    const Case cases[] = {
        {"editor", "Zoom", int(zm200), int(zm200)},
        {"editor", "DrawTool", int(dwText), int(dwText)},
        {"editor", "Snap", int(snGrid), int(snGrid)},
        {"editor", "LineMove", int(lmOrto), int(lmOrto)},
        {"editor", "AllowEdit", false, false},
        {"editor", "Color", 0x00ffffu, 0x00ffffu},
        {"editor", "SelColor", 0xff0000u, 0xff0000u},
        {"editor", "SelMultiColor", 0x00ff00u, 0x00ff00u},
        {"editor", "BarCodeType", int(DATAMATRIX), int(DATAMATRIX)},
        {"inspector", "Language", int(zvDutch), int(zvDutch)},
        {"inspector", "NamesColor", QColor(200, 0, 0), QColor(200, 0, 0)},
        {"inspector", "ValuesColor", QColor(0, 0, 200), QColor(0, 0, 200)},
        {"inspector", "Color", QColor(250, 250, 210), QColor(250, 250, 210)},
        // Below the limit of a viewport not laid out yet (see test_designer_forms).
        {"inspector", "SplitPos", 60, 60},
        {"inspector", "NameAlign", int(TZVInspector::naCenter), int(TZVInspector::naCenter)},
        {"inspector", "BorderStyle", int(TZVCustomInspector::bsNone), int(TZVCustomInspector::bsNone)},
        {"inspector", "IniTranslate", QStringLiteral("captions.ini"), QStringLiteral("captions.ini")},
        {"inspector", "DropDownOnSelect", true, true},
        {"inspector", "TimeRefresh", 5000, 2000}, // the setter's limit
        {"inspector", "InspectMode", int(imClick), int(imClick)},
        {"inspector", "ShowUnicodeEditor", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Widget) + "." + c.Property);
        QWidget* widget = container()->findChild<QWidget*>(QString::fromLatin1(c.Widget));
        ASSERT_NE(widget, nullptr);
        QDesignerPropertySheetExtension* sheet = sheetOf(widget);
        ASSERT_NE(sheet, nullptr);
        const int index = sheet->indexOf(QString::fromLatin1(c.Property));
        ASSERT_GE(index, 0);
        EXPECT_TRUE(sheet->isVisible(index));
        EXPECT_FALSE(sheet->isChanged(index));
        EXPECT_TRUE(sheet->property(index).isValid());
        // Enumerations get Designer's list of names, not a number box.
        const QMetaObject* meta = widget->metaObject();
        if (meta->property(meta->indexOfProperty(c.Property)).isEnumType()) {
            EXPECT_STREQ(sheet->property(index).typeName(), "qdesigner_internal::PropertySheetEnumValue");
        }

        m_form->cursor()->setWidgetProperty(widget, QString::fromLatin1(c.Property), c.Value);
        EXPECT_TRUE(sheet->isChanged(index));
        const QVariant now = widget->property(c.Property);
        if (c.Expected.metaType().id() == QMetaType::Int)
            EXPECT_EQ(now.toInt(), c.Expected.toInt());
        else
            EXPECT_EQ(now, c.Expected);
    }
    // Settings objects held by reference have no editor in the sheet; they are not saved.
    QDesignerPropertySheetExtension* editorSheet = sheetOf(container()->findChild<QWidget*>("editor"));
    for (const char* name : {"Zorvel", "Grid", "Rulers"}) {
        const int index = editorSheet->indexOf(QString::fromLatin1(name));
        ASSERT_GE(index, 0) << name;
        EXPECT_FALSE(editorSheet->isChanged(index)) << name;
        // Designer lists a property exactly when the class marks it designable.
        const QMetaProperty property =
            TZVEditor::staticMetaObject.property(TZVEditor::staticMetaObject.indexOfProperty(name));
        EXPECT_EQ(editorSheet->isVisible(index), property.isDesignable()) << name;
    }
    EXPECT_FALSE(m_form->contents().contains(QLatin1String("\"Grid\"")));

    // Undo restores what the widget had.
    m_form->commandHistory()->undo();
    EXPECT_EQ(container()->findChild<TZVInspector*>("inspector")->ShowUnicodeEditor(), true);
}

TEST_F(DesignerFormEditorTest, SavedFormLoadsWithItsValues)
{
    auto* editor = container()->findChild<TZVEditor*>(QStringLiteral("editor"));
    auto* inspector = container()->findChild<TZVInspector*>(QStringLiteral("inspector"));
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(inspector, nullptr);
    QDesignerFormWindowCursorInterface* cursor = m_form->cursor();
    cursor->setWidgetProperty(editor, QStringLiteral("Zoom"), int(zm150));
    cursor->setWidgetProperty(editor, QStringLiteral("DrawTool"), int(dwBarCode));
    cursor->setWidgetProperty(editor, QStringLiteral("SelColor"), 0x00ff00u);
    cursor->setWidgetProperty(inspector, QStringLiteral("Language"), int(zvSpanish));
    cursor->setWidgetProperty(inspector, QStringLiteral("NamesColor"), QColor(0, 128, 0));
    cursor->setWidgetProperty(inspector, QStringLiteral("SplitPos"), 60);
    cursor->setWidgetProperty(inspector, QStringLiteral("NameAlign"), int(TZVInspector::naRight));
    cursor->setWidgetProperty(inspector, QStringLiteral("IniTranslate"), QStringLiteral("captions-es.ini"));

    const QString saved = m_form->contents();
    // The header as an application includes it from the installed package.
    EXPECT_TRUE(saved.contains("<header>editor/ZVEditor.h</header>")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("<header>inspector/ZVInspector.h</header>"));
    // uic calls setters named setZoom() unless told the property has none.
    EXPECT_TRUE(saved.contains(R"(<property name="Zoom" stdset="0">)")) << saved.toStdString();
    EXPECT_TRUE(saved.contains(R"(<property name="SplitPos" stdset="0">)"));
    EXPECT_TRUE(saved.contains("<number>60</number>"));

    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(QStringLiteral(ZORVEL_DESIGNER_PLUGIN)).absolutePath());
    QByteArray bytes = saved.toUtf8();
    QBuffer buffer(&bytes);
    std::unique_ptr<QWidget> form(loader.load(&buffer));
    ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
    auto* loadedEditor = form->findChild<TZVEditor*>(QStringLiteral("editor"));
    auto* loadedInspector = form->findChild<TZVInspector*>(QStringLiteral("inspector"));
    ASSERT_NE(loadedEditor, nullptr);
    ASSERT_NE(loadedInspector, nullptr);
    EXPECT_EQ(loadedEditor->Zoom(), zm150);
    EXPECT_EQ(loadedEditor->DrawTool(), dwBarCode);
    EXPECT_EQ(loadedEditor->SelColor(), 0x00ff00u);
    EXPECT_EQ(loadedEditor->Snap(), snNone);
    EXPECT_EQ(loadedInspector->Language(), zvSpanish);
    EXPECT_EQ(loadedInspector->NamesColor(), QColor(0, 128, 0));
    EXPECT_EQ(loadedInspector->SplitPos(), 60);
    EXPECT_EQ(loadedInspector->NameAlign(), TZVInspector::naRight);
    EXPECT_EQ(loadedInspector->IniTranslate(), "captions-es.ini");
    ASSERT_NE(loadedEditor->Zorvel(), nullptr);
    EXPECT_EQ(loadedEditor->Zorvel()->parent(), form.get());
}

// Dropping more editors, deleting them (Designer keeps them for undo), undoing, redoing,
// previewing and closing the form.
TEST_F(DesignerFormEditorTest, EditorsSurviveDeletionUndoAndPreview)
{
    auto* editor = container()->findChild<TZVEditor*>(QStringLiteral("editor"));
    ASSERT_NE(editor, nullptr);
    TZVLab* label = container()->findChild<TZVLab*>();
    ASSERT_NE(label, nullptr);

    const char kPaste[] = R"(<ui version="4.0"><widget class="QWidget" name="Form">
  <widget class="zorvel::TZVEditor" name="secondEditor">
   <property name="geometry"><rect><x>0</x><y>320</y><width>300</width><height>200</height></rect></property>
  </widget></widget></ui>)";
    // Pasting goes through the same widget factory as dropping from the widget box.
    QDesignerFormWindowInterface* scratch = s_core->formWindowManager()->createFormWindow();
    scratch->setContents(QString::fromLatin1(kPaste));
    auto* second = scratch->mainContainer()->findChild<TZVEditor*>(QStringLiteral("secondEditor"));
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second->Zorvel(), nullptr);
    delete scratch;

    QUndoStack* history = m_form->commandHistory();
    m_form->clearSelection(false);
    m_form->selectWidget(editor, true);
    // What the Delete action runs (the action itself waits for an activated window).
    ASSERT_TRUE(QMetaObject::invokeMethod(m_form, "deleteWidgets"));
    EXPECT_FALSE(m_form->isManaged(editor));
    EXPECT_EQ(editor->Zorvel(), label);
    history->undo();
    EXPECT_TRUE(m_form->isManaged(editor));
    EXPECT_EQ(editor->Zorvel(), label);
    editor->Refresh(false);
    history->redo();
    EXPECT_FALSE(m_form->contents().contains("zorvel::TZVEditor\" name=\"editor\""));
    history->undo();

    const QPixmap preview = s_core->formWindowManager()->createPreviewPixmap();
    EXPECT_FALSE(preview.isNull());

    QPointer<TZVEditor> watch(editor);
    delete m_form.data();
    EXPECT_TRUE(watch.isNull());
}

} // namespace
} // namespace zorvel::test
