// The demo's main window end to end, offscreen, on a temporary database.
#include "../support/ModalWatch.h"
#include "../support/WaitFor.h"
#include "controls/ZVColorSwatch.h"
#include "controls/ZVSpinEditFloat.h"
#include "demo/ZVDemoData.h"
#include "demo/ZVDemoWindow.h"
#include "demo/ZVDemoWindowRecordBar.h"
#include "demo/ZVEdLabel.h"
#include "dialogs/ZVPreview.h"
#include "dialogs/ZVProgressDialog.h"
#include "dialogs/ZVStockPicker.h"
#include "dialogs/ZVStockPickerDialog.h"
#include "document/ZVCustomLab.h"
#include "document/ZVSheetFit.h"
#include "editor/ZVCursors.h"
#include "editor/ZVEditor.h"
#include "editor/ZVRulers.h"
#include "document/ZVElement.h"
#include "editor/ZVBackLab.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "inspector/ZVInspector.h"
#include "platform/ZVSqlDataSet.h"
#include "tests/support/ColorPickerStub.h"
#include "tests/support/TestApplication.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>
#include <memory>
#include <optional>

using namespace zorvel;

namespace {

std::vector<std::uint8_t> kindsOf(const TZVCustomLab& label)
{
    std::vector<std::uint8_t> kinds;
    for (const TZVElement* e : label.Elements())
        kinds.push_back(e->ElementKind());
    return kinds;
}

QStringList actionTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* a : menu.actions())
        if (!a->isSeparator()) texts << a->text();
    return texts;
}

QAction* findAction(const QMenu& menu, const QString& text)
{
    for (QAction* a : menu.findChildren<QAction*>())
        if (a->text() == text) return a;
    return nullptr;
}

class DemoWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureApplication<QApplication>();
        ASSERT_TRUE(m_dir.isValid());
        TDM::SetDataFolder(m_dir.path());
        m_dm = std::make_unique<TDM>(QStringLiteral("sqlite:") + m_dir.filePath(QStringLiteral("demo.db")) +
                                     QStringLiteral("?mode=rwc"));
        ASSERT_TRUE(m_dm->Connected()) << m_dm->ConnectError().toStdString();
        openWindow();
    }

    void TearDown() override
    {
        m_window.reset();
        m_dm.reset();
    }

    void openWindow()
    {
        m_window = std::make_unique<TFMain>(*m_dm, settingsFile());
        TFMain& w = *m_window;
        w.AskYesNo = [this](const QString& q) {
            m_questions << q;
            return m_answer;
        };
        w.ShowMessage = [this](const QString& m) { m_messages << m; };
        m_defaultAskSave = w.AskSaveChanges;
        w.AskSaveChanges = [this](const QString& q) {
            m_questions << q;
            return m_saveAnswer;
        };
        w.ExecEdLabel = [this](TFEdLabel& dialog) {
            ++m_dialogs;
            if (!m_dialogName.isEmpty()) dialog.NameEdit()->setText(m_dialogName);
            if (m_dialogAccepts) {
                dialog.accept();
                return int(QDialog::Accepted);
            }
            dialog.reject();
            return int(QDialog::Rejected);
        };
        w.ShowPreview = [this](TZVLab& label) {
            label.PreparePreview();
            m_previewPages = static_cast<int>(label.Pages().size());
            m_previewRendered = label.GetPreviewPage(1) != nullptr;
        };
        w.show();
        activate();
    }

    void activate()
    {
        QEvent e(QEvent::WindowActivate);
        QCoreApplication::sendEvent(m_window.get(), &e);
    }

    QString settingsFile() const { return m_dir.filePath(QStringLiteral("demo_zorvel.ini")); }
    TFMain& w() { return *m_window; }
    TZVSqlDataSet& labels() { return m_dm->TbLabels(); }
    QString currentName() { return labels().FieldByName(QStringLiteral("NAME")).AsWideString(); }
    int rowCount() { return labels().RecordCount(); }

    // The design stored in the current row, read into a fresh label.
    std::vector<std::uint8_t> storedKinds()
    {
        TZVLab fresh;
        m_dm->LoadDesign(fresh);
        return kindsOf(fresh);
    }

    // The shown design emptied but for one 30 x 10 mm rectangle at (10, 5) mm, painted.
    TZVRect* onlyRectangle()
    {
        w().Label().ClearElements();
        auto* rect = new TZVRect(w().Label());
        rect->SetX1(10);
        rect->SetY1(5);
        rect->SetX2(40);
        rect->SetY2(15);
        w().Label().AddElement(rect, true);
        w().Editor().grab(); // the painted bounds
        return rect;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TFMain> m_window;
    QStringList m_questions;
    QStringList m_messages;
    bool m_answer = true;
    QMessageBox::StandardButton m_saveAnswer = QMessageBox::Discard;
    std::function<QMessageBox::StandardButton(const QString&)> m_defaultAskSave;
    int m_dialogs = 0;
    bool m_dialogAccepts = true;
    QString m_dialogName;
    int m_previewPages = 0;
    bool m_previewRendered = false;
};

} // namespace

TEST_F(DemoWindowTest, EndToEndCreateSaveMoveDeleteAddPreview)
{
    EXPECT_EQ(w().windowTitle(), currentName() + QStringLiteral("[*] - ZORVEL_DEMO"));
    EXPECT_TRUE(m_dm->LoadOnScroll()) << "activation enables loading on scroll";
    const int startRows = rowCount();
    ASSERT_GE(startRows, 1) << "a new SQLite database gets the sample designs";
    EXPECT_EQ(w().DesignsModel().rowCount(), startRows);

    // Create by code: a new row named after it, holding exactly the five elements built.
    w().Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    const std::vector<std::uint8_t> byCode{ekImage, ekText, ekLine, ekSymbol, ekRect};
    ASSERT_EQ(rowCount(), startRows + 1);
    EXPECT_EQ(currentName(), QStringLiteral("Label by code"));
    EXPECT_EQ(kindsOf(w().Label()), byCode);
    EXPECT_EQ(storedKinds(), byCode);
    EXPECT_TRUE(m_dm->LoadOnScroll());
    const auto* image = qobject_cast<const TZVImage*>(w().Label().Elements().first());
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->HasPicture()) << "the sample picture resolves: " << image->FileImage().toStdString();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
    EXPECT_EQ(w().DesignsModel().Rows().back().Name, QStringLiteral("Label by code"));
    EXPECT_EQ(w().DesignsGrid()->currentIndex().row(), rowCount() - 1);
    const int byCodeRow = labels().RecNo() - 1;

    // Save a change, move away and back: each move loads that row's design.
    auto* extra = new TZVText(w().Label());
    extra->SetText(QStringLiteral("saved"));
    w().Label().AddElement(extra, true);
    w().Action(QStringLiteral("TBSave"))->trigger();
    std::vector<std::uint8_t> saved = byCode;
    saved.push_back(ekText);
    EXPECT_EQ(storedKinds(), saved);
    w().SelectRow(0);
    EXPECT_EQ(labels().RecNo(), 1);
    EXPECT_EQ(kindsOf(w().Label()), storedKinds());
    EXPECT_NE(kindsOf(w().Label()), saved);
    w().DesignsGrid()->setCurrentIndex(w().DesignsModel().index(byCodeRow, 0));
    EXPECT_EQ(labels().RecNo(), byCodeRow + 1);
    EXPECT_EQ(kindsOf(w().Label()), saved);

    // Delete with nothing selected: no question, nothing gone.
    w().Editor().setFocus();
    QTest::keyClick(&w().Editor(), Qt::Key_Delete);
    EXPECT_TRUE(m_questions.isEmpty());
    EXPECT_EQ(w().Label().Elements().size(), 6);

    // Delete key with a selection: "no" keeps it, "yes" deletes it.
    w().Editor().AddToSelection(w().Label().Elements().at(1));
    w().Editor().AddToSelection(w().Label().Elements().at(2));
    m_answer = false;
    QTest::keyClick(&w().Editor(), Qt::Key_Delete);
    ASSERT_EQ(m_questions, QStringList{QStringLiteral("\u00BFDELETE SELECTED ELEMENTS?")});
    EXPECT_EQ(w().Label().Elements().size(), 6);
    m_answer = true;
    QTest::keyClick(&w().Editor(), Qt::Key_Delete);
    EXPECT_EQ(m_questions.size(), 2);
    EXPECT_EQ(kindsOf(w().Label()), (std::vector<std::uint8_t>{ekImage, ekSymbol, ekRect, ekText}));
    EXPECT_EQ(w().Editor().SelCount(), 0);

    // Delete in a text field edits the text, never the design.
    w().Editor().AddToSelection(w().Label().Elements().at(0));
    w().Memo()->setFocus();
    QTest::keyClick(w().Memo(), Qt::Key_Delete);
    EXPECT_EQ(m_questions.size(), 2);
    EXPECT_EQ(w().Label().Elements().size(), 4);
    w().Editor().ClearSelection();

    // ADD then CANCEL: the table and the design on screen stay as they were.
    const int rowsBefore = rowCount();
    const int recBefore = labels().RecNo();
    const auto screenBefore = kindsOf(w().Label());
    m_dialogAccepts = false;
    m_dialogName = QStringLiteral("never stored");
    w().Button(QStringLiteral("ADD"))->click();
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_EQ(rowCount(), rowsBefore);
    EXPECT_EQ(labels().RecNo(), recBefore);
    EXPECT_EQ(labels().State(), dsBrowse);
    EXPECT_EQ(kindsOf(w().Label()), screenBefore);
    EXPECT_EQ(storedKinds(), saved) << "the unsaved deletion was not written into the row";
    EXPECT_EQ(w().DesignsModel().rowCount(), rowsBefore);
    EXPECT_TRUE(m_dm->LoadOnScroll());

    // ADD then OK: a new row holding a copy of the design on screen.
    m_dialogAccepts = true;
    m_dialogName = QStringLiteral("copy");
    w().Button(QStringLiteral("ADD"))->click();
    ASSERT_EQ(rowCount(), rowsBefore + 1);
    EXPECT_EQ(currentName(), QStringLiteral("copy"));
    EXPECT_EQ(storedKinds(), screenBefore);
    EXPECT_EQ(kindsOf(w().Label()), screenBefore);
    EXPECT_TRUE(labels().FieldByName(QStringLiteral("UPDATED")).AsDateTime().isValid());

    // EDIT then OK renames the row; its design stays.
    m_dialogName = QStringLiteral("renamed");
    w().Button(QStringLiteral("EDIT"))->click();
    EXPECT_EQ(currentName(), QStringLiteral("renamed"));
    EXPECT_EQ(w().DesignsModel().Rows().at(static_cast<size_t>(labels().RecNo() - 1)).Name,
              QStringLiteral("renamed"));
    m_dialogAccepts = false;
    m_dialogName = QStringLiteral("dropped");
    w().Button(QStringLiteral("EDIT"))->click();
    EXPECT_EQ(currentName(), QStringLiteral("renamed"));
    EXPECT_EQ(labels().State(), dsBrowse);

    // Preview renders the pages of the run.
    w().Action(QStringLiteral("TBPreview"))->trigger();
    EXPECT_GE(m_previewPages, 1);
    EXPECT_TRUE(m_previewRendered);

    // DELETE asks, then removes the current row.
    m_answer = false;
    w().Button(QStringLiteral("DELETE"))->click();
    EXPECT_EQ(rowCount(), rowsBefore + 1);
    m_answer = true;
    w().Button(QStringLiteral("DELETE"))->click();
    EXPECT_EQ(m_questions.last(), QStringLiteral("\u00BFDELETE SELECTED LABEL?"));
    EXPECT_EQ(rowCount(), rowsBefore);
    EXPECT_EQ(w().DesignsModel().rowCount(), rowsBefore);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
}

TEST_F(DemoWindowTest, MemoWritesTheNoteOfItsRow)
{
    ASSERT_GE(rowCount(), 2);
    w().SelectRow(0);
    const QString otherNote = [&] {
        w().SelectRow(1);
        return labels().FieldByName(QStringLiteral("NOTE")).AsWideString();
    }();
    w().SelectRow(0);
    w().Memo()->setPlainText(QStringLiteral("new note"));
    w().Memo()->document()->setModified(true);
    // Leaving the row keeps what was typed for it, and only for it.
    w().SelectRow(1);
    EXPECT_EQ(w().Memo()->toPlainText(), otherNote);
    w().SelectRow(0);
    EXPECT_EQ(labels().FieldByName(QStringLiteral("NOTE")).AsWideString(), QStringLiteral("new note"));
    EXPECT_EQ(w().Memo()->toPlainText(), QStringLiteral("new note"));
}

TEST_F(DemoWindowTest, DamagedDesignShowsTheLoadErrorAndEmptiesTheLabel)
{
    ASSERT_GE(rowCount(), 2);
    w().SelectRow(1);
    labels().Edit();
    labels().FieldByName(QStringLiteral("FILE")).SetValue(QByteArray("not a design"));
    labels().Post();
    w().SelectRow(0);
    ASSERT_FALSE(w().Label().Elements().isEmpty());
    m_messages.clear();
    w().SelectRow(1);
    EXPECT_EQ(m_messages.size(), 1) << m_messages.join('|').toStdString();
    EXPECT_TRUE(w().Label().Elements().isEmpty());
    w().SelectRow(0);
    EXPECT_FALSE(w().Label().Elements().isEmpty()) << "the next good row loads again";
}

TEST_F(DemoWindowTest, LaterActivationsKeepTheDesignOnScreen)
{
    w().Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    const int count = static_cast<int>(w().Label().Elements().size());
    w().Label().AddElement(new TZVText(w().Label()), true);
    // A dialog closing makes the window active again; the edit must survive it.
    activate();
    EXPECT_EQ(static_cast<int>(w().Label().Elements().size()), count + 1);
}

TEST_F(DemoWindowTest, ToolBarActions)
{
    struct Case
    {
        const char* Name;
        const char* Hint;
        TZVDrawTool Tool;
    };
    const Case cases[] = {
        {"TBDrawText", "DRAW TEXT", dwText},
        {"TBDrawBarcode", "DRAW BARCODE", dwBarCode},
        {"TBDrawLine", "DRAW LINE", dwLine},
        {"TBRectangle", "DRAW RECTANGLE", dwRect},
        {"TBSymbol", "DRAW SYMBOL", dwSymbol},
        {"TBAddText", "COMPOUND TEXT", dwAddText},
        {"TBParagraph", "DRAW PARAGRAPH", dwParagraph},
        {"TBAsktext", "INSERT QUESTION-ANSWER TEXT", dwAskText},
        {"TBTable", "DRAW TABLE FROM DETAIL DATA", dwTable},
        {"TBImage", "", dwImage},
        {"TBDrawSelection", "", dwSelection},
    };
    EXPECT_TRUE(w().Action(QStringLiteral("TBDrawSelection"))->isChecked()) << "shown pressed at start";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QAction* a = w().Action(QString::fromLatin1(c.Name));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->toolTip(),
                  QString::fromLatin1(c.Hint).isEmpty() ? a->text() : QString::fromLatin1(c.Hint));
        EXPECT_EQ(a->icon().pixmap(QSize(18, 18)).toImage(), ZvToolIcon(c.Tool).pixmap(QSize(18, 18)).toImage());
        a->trigger();
        EXPECT_EQ(w().Editor().DrawTool(), c.Tool);
        EXPECT_TRUE(a->isChecked());
    }
    // The editor going back to selection by itself presses the selection button.
    w().Action(QStringLiteral("TBDrawLine"))->trigger();
    w().Editor().SetDrawTool(dwSelection);
    EXPECT_TRUE(w().Action(QStringLiteral("TBDrawSelection"))->isChecked());

    const struct
    {
        const char* Name;
        const char* Hint;
    } hints[] = {{"TBSave", "SAVE LABEL"},         {"TBPrint", "PRINT LABEL"},
                 {"TBPreview", "SHOW PREVIEW"},    {"TBDelete", "DELETE SELECTED ELEMENTS"},
                 {"TBSettings", "LABEL SETTINGS"}, {"TBList", "LABEL'S LIST"}};
    for (const auto& h : hints)
        EXPECT_EQ(w().Action(QString::fromLatin1(h.Name))->toolTip(), QString::fromLatin1(h.Hint));

    // Zoom box: item index is the editor's zoom.
    QComboBox* zoom = w().ZoomBox();
    ASSERT_EQ(zoom->count(), 15);
    EXPECT_EQ(zoom->currentIndex(), static_cast<int>(w().Editor().Zoom()));
    EXPECT_EQ(zoom->itemText(0), QStringLiteral("  50 %"));
    EXPECT_EQ(zoom->itemText(14), QStringLiteral("FIT"));
    zoom->setCurrentIndex(zm200);
    EXPECT_EQ(w().Editor().Zoom(), zm200);
    zoom->setCurrentIndex(zmWidth);
    EXPECT_EQ(w().Editor().Zoom(), zmWidth);

    // TBDelete as the Delete key.
    w().Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    w().Editor().AddToSelection(w().Label().Elements().at(0));
    w().Action(QStringLiteral("TBDelete"))->trigger();
    EXPECT_EQ(w().Label().Elements().size(), 4);

    // Print to the PDF entry of the printer box.
    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    w().AskPdfFile = [&] { return pdf; };
    w().PrinterBox()->setCurrentIndex(w().PrinterBox()->count() - 2);
    EXPECT_EQ(w().PrinterBox()->currentText(), QStringLiteral("PDF FILE"));
    w().Action(QStringLiteral("TBPrint"))->trigger();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    // And to the ZPL entry after it: printer code, one label a page.
    const QString zpl = m_dir.filePath(QStringLiteral("out.zpl"));
    w().AskZplFile = [&] { return zpl; };
    w().PrinterBox()->setCurrentIndex(w().PrinterBox()->count() - 1);
    w().Action(QStringLiteral("TBPrint"))->trigger();
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
    QFile zplFile(zpl);
    ASSERT_TRUE(zplFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(zplFile.readAll().trimmed().startsWith("^XA"));

    // Settings and list open their modal dialogs on the window; close them as they come up.
    for (const char* name : {"TBSettings", "TBList"}) {
        SCOPED_TRACE(name);
        const test::ModalWatch<QWidget> watch([](QWidget* modal) { modal->close(); });
        w().Action(QString::fromLatin1(name))->trigger();
        EXPECT_TRUE(watch.seen());
    }
}

TEST_F(DemoWindowTest, EditorBoxDrivesTheEditor)
{
    TZVEditor& ed = w().Editor();
    // Start-up settings show in the box.
    EXPECT_TRUE(w().OrtoLinesBox()->isChecked());
    EXPECT_EQ(w().GridColorShape()->Color(), ed.Grid()->Color());
    EXPECT_EQ(w().GridStepEdit()->MinValue(), 2);
    EXPECT_EQ(w().GridStepEdit()->MaxValue(), 20);

    w().ShowGridBox()->setChecked(!ed.Grid()->Show());
    EXPECT_EQ(ed.Grid()->Show(), w().ShowGridBox()->isChecked());
    w().SnapGridBox()->setChecked(true);
    EXPECT_EQ(ed.Snap(), snGrid);
    w().SnapGridBox()->setChecked(false);
    EXPECT_EQ(ed.Snap(), snNone);
    w().OrtoLinesBox()->setChecked(false);
    EXPECT_EQ(ed.LineMove(), lmNone);
    w().ShowAlignsBox()->setChecked(true);
    EXPECT_TRUE(w().Label().BackSurf().ShowAlign());
    EXPECT_TRUE(ed.Rulers()->Data().ShowAlign());
    w().ShowAlignsBox()->setChecked(false);
    EXPECT_FALSE(w().Label().BackSurf().ShowAlign());
    EXPECT_FALSE(ed.Rulers()->Data().ShowAlign());

    w().GridStepEdit()->SetValue(8);
    EXPECT_FLOAT_EQ(ed.Grid()->GetIncX(), 8);
    EXPECT_FLOAT_EQ(ed.Grid()->GetIncY(), 8);

    test::ColorPickerStub picker(0x00FF00);
    QTest::mouseClick(w().GridColorShape(), Qt::LeftButton);
    EXPECT_EQ(ed.Grid()->Color(), 0x00FF00u);
    EXPECT_EQ(w().GridColorShape()->Color(), 0x00FF00u);
    picker.answer.reset();
    QTest::mouseClick(w().GridColorShape(), Qt::LeftButton);
    EXPECT_EQ(ed.Grid()->Color(), 0x00FF00u) << "a cancelled colour dialog changes nothing";

    // Double click: the editor properties dialog, then the box follows the editor.
    w().ShowEditorProperties = [&] { ed.SetSnap(snGrid); };
    QTest::mouseDClick(w().EditorBox(), Qt::LeftButton);
    EXPECT_TRUE(w().SnapGridBox()->isChecked());
}

TEST_F(DemoWindowTest, ZoomBoxAndViewMenuFollowTheEditorsZoom)
{
    w().Editor().SetZoom(zm200);
    EXPECT_EQ(w().findChild<QComboBox*>(QStringLiteral("CBZoom"))->currentIndex(), static_cast<int>(zm200));
    const QAction* level = w().findChild<QAction*>(QStringLiteral("actZoom%1").arg(static_cast<int>(zm200)));
    ASSERT_NE(level, nullptr);
    EXPECT_TRUE(level->isChecked());
}

TEST_F(DemoWindowTest, PopupMenus)
{
    w().Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    TZVEditor& ed = w().Editor();
    EXPECT_EQ(w().BuildPopup(false, 0, 0), nullptr) << "nothing to paste, no menu";

    std::unique_ptr<QMenu> sel = w().BuildPopup(true, 0, 0);
    ASSERT_NE(sel, nullptr);
    EXPECT_EQ(actionTexts(*sel), (QStringList{"BRING TO FRONT", "SEND TO BACK", "CUT", "COPY", "EMPTY COPY",
                                              "ALIGN SELECTION"}));
    EXPECT_FALSE(findAction(*sel, "COPY")->isEnabled());
    EXPECT_FALSE(findAction(*sel, "EMPTY COPY")->isEnabled());

    ed.AddToSelection(w().Label().Elements().at(4));
    sel = w().BuildPopup(true, 0, 0);
    ASSERT_TRUE(findAction(*sel, "COPY")->isEnabled());
    findAction(*sel, "COPY")->trigger();
    EXPECT_TRUE(ed.HasClipboard());
    sel = w().BuildPopup(true, 0, 0);
    // The front element is the first of the list.
    findAction(*sel, "BRING TO FRONT")->trigger();
    EXPECT_EQ(w().Label().Elements().first()->ElementKind(), ekRect);
    findAction(*sel, "SEND TO BACK")->trigger();
    EXPECT_EQ(w().Label().Elements().last()->ElementKind(), ekRect);
    findAction(*sel, "ALIGN LEFT")->trigger();
    EXPECT_TRUE(findAction(*sel, "EMPTY COPY")->isEnabled());

    ed.ClearSelection();
    std::unique_ptr<QMenu> other = w().BuildPopup(false, 10, 10);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(actionTexts(*other), (QStringList{"PASTE", "EMPTY COPY"}));
    findAction(*other, "PASTE")->trigger();
    EXPECT_EQ(w().Label().Elements().size(), 6);
    findAction(*other, "EMPTY COPY")->trigger();
    EXPECT_FALSE(ed.HasClipboard());

    // The right-click event shows the menu the click calls for.
    QStringList shown;
    w().ExecPopup = [&](QMenu& menu, QPoint) { shown = actionTexts(menu); };
    ed.OnRightMouse(&ed, true, 1, 1, 100, 100);
    EXPECT_EQ(shown.first(), QStringLiteral("BRING TO FRONT"));
}

TEST_F(DemoWindowTest, InspectorSpinLimits)
{
    struct Case
    {
        const char* Property;
        double Step, Min, Max;
    };
    const Case cases[] = {{"PenWidth", 0.01, 0, 1},
                          {"GapX", 0.01, 0.01, 5},
                          {"GapY", 0.01, 0.01, 5},
                          {"Separation", 0.01, 0.01, 5},
                          {"FontHeight", 7, 8, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Property);
        double step = 7, min = 8, max = 9;
        w().Inspector().OnFloatEdit(&w().Inspector(), QString::fromLatin1(c.Property), step, min, max);
        EXPECT_DOUBLE_EQ(step, c.Step);
        EXPECT_DOUBLE_EQ(min, c.Min);
        EXPECT_DOUBLE_EQ(max, c.Max);
    }
}

TEST_F(DemoWindowTest, PrinterIndexSettingRoundTrip)
{
    QComboBox* box = w().PrinterBox();
    ASSERT_GE(box->count(), 1);
    box->setCurrentIndex(box->count() - 1);
    const int chosen = box->currentIndex();
    m_window.reset();
    {
        QFile f(settingsFile());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().contains(QByteArray("printindex=") + QByteArray::number(chosen)));
    }
    openWindow();
    EXPECT_EQ(w().PrinterBox()->currentIndex(), chosen);
    m_window.reset();

    // Read without regard to case; an index out of range falls back to the first printer.
    for (const auto& [text, expected] :
         {std::pair{"[OPTIONS]\nPrintIndex=0\n", 0}, std::pair{"[options]\nprintindex=999\n", 0}}) {
        QFile f(settingsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        openWindow();
        EXPECT_EQ(w().PrinterBox()->currentIndex(), expected);
        m_window.reset();
    }
    // Writing back replaces the key in place instead of adding a second section.
    QFile f(settingsFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count("options"), 1);
}

TEST_F(DemoWindowTest, EmptyTableLoadsNothing)
{
    while (rowCount() > 0)
        labels().Delete();
    m_window.reset();
    openWindow();
    EXPECT_EQ(w().DesignsModel().rowCount(), 0);
    EXPECT_TRUE(w().Label().Elements().isEmpty());
    // Seven rows of three labels.
    EXPECT_EQ(w().Label().Measure().NuHor(), 7);
    EXPECT_EQ(w().Label().Measure().NuVer(), 3);
    EXPECT_EQ(w().Label().Measure().LabelName(), QStringLiteral("My Label"));
    // Commands on an empty table do nothing and ask nothing.
    w().Button(QStringLiteral("DELETE"))->click();
    w().Button(QStringLiteral("EDIT"))->click();
    w().Action(QStringLiteral("TBSave"))->trigger();
    EXPECT_TRUE(m_questions.isEmpty());
    EXPECT_EQ(m_dialogs, 0);
    EXPECT_EQ(rowCount(), 0);
}

namespace {

bool progressVisible()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TZVProgressDialog*>(w) && w->isVisible()) return true;
    return false;
}

// A progress dialog of the old kind came up by itself half a second after it was made.
constexpr int kProgressWatchMs = 900;

} // namespace

TEST_F(DemoWindowTest, EveryDemoDesignFitsItsPaper)
{
    struct Case
    {
        const char* Name;
        int Rows, Columns;
    };
    const auto check = [this](const Case& c) {
        SCOPED_TRACE(c.Name);
        const TZVSheetFit fit = SheetFit(w().Label());
        EXPECT_EQ(fit.Rows, c.Rows);
        EXPECT_EQ(fit.Columns, c.Columns);
        EXPECT_TRUE(fit.Fits()) << SheetFitWarning(fit).toStdString();
    };
    // The two samples as stored: printer labels 95 x 65 mm and ID-1 badges, both on A4.
    const Case samples[] = {{"Printer label", 4, 2}, {"Employee badge", 5, 2}};
    ASSERT_GE(rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        w().SelectRow(row);
        EXPECT_EQ(currentName(), QString::fromLatin1(samples[row].Name));
        check(samples[row]);
    }
    // By code, whatever the design on screen was turned to before.
    w().Label().PrintInfo().Orientation = 1;
    w().Label().Measure().SetDiVer(30);
    w().Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    check({"Label by code", 3, 1});
    // The design a new window starts with.
    while (rowCount() > 0)
        labels().Delete();
    m_window.reset();
    openWindow();
    check({"My Label", 7, 3});
}

TEST_F(DemoWindowTest, SheetOffThePaperAsksBeforePrintAndPreview)
{
    w().Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    const QString pdf = m_dir.filePath(QStringLiteral("sheet.pdf"));
    w().AskPdfFile = [&] { return pdf; };
    w().PrinterBox()->setCurrentIndex(w().PrinterBox()->count() - 2);
    // Labels 120 mm wide from 25 mm: a second column ends at 269 mm, past the 210 mm of A4.
    const QString asked = QStringLiteral("LABELS OFF THE PAPER : 1 COLUMN\n\u00BFCONTINUE?");
    struct Case
    {
        const char* Action;
        int Columns;
        bool Answer;
        bool Done;
    };
    const Case cases[] = {
        {"TBPrint", 1, false, true},  {"TBPreview", 1, false, true}, {"TBPrint", 2, false, false},
        {"TBPrint", 2, true, true},   {"TBPreview", 2, false, false}, {"TBPreview", 2, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Action << " columns " << c.Columns << " answer " << c.Answer);
        w().Label().Measure().SetNuVer(c.Columns);
        QFile::remove(pdf);
        m_previewPages = 0;
        m_questions.clear();
        m_answer = c.Answer;
        w().Action(QString::fromLatin1(c.Action))->trigger();
        const bool print = QByteArray(c.Action) == "TBPrint";
        EXPECT_EQ(print ? QFile::exists(pdf) : m_previewPages > 0, c.Done);
        EXPECT_EQ(m_questions.join('|').toStdString(), c.Columns == 1 ? "" : asked.toStdString());
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
}

TEST_F(DemoWindowTest, PreviewIsNotBlockedByAProgressDialog)
{
    w().ShowPreview = [](TZVLab& label) { label.Preview(); };
    // Twelve printers, eight labels a sheet: two pages.
    w().SelectRow(0);
    ASSERT_EQ(currentName(), QStringLiteral("Printer label"));
    bool shown = false;
    bool progress = true;
    int pageAfterNext = 0;
    const test::ModalWatch<TZvPrw> watch([&](TZvPrw* preview) {
        shown = preview->Page() == 1;
        progress = test::waitFor(progressVisible, kProgressWatchMs);
        QTest::mouseClick(preview->TbPageNext(), Qt::LeftButton);
        pageAfterNext = preview->Page();
        // Closed directly: a blocked window would not take the click on Exit.
        preview->done(QDialog::Rejected);
    });
    w().Action(QStringLiteral("TBPreview"))->trigger();
    ASSERT_TRUE(shown) << "the preview came up modally on its first page";
    EXPECT_FALSE(progress) << "no progress dialog over the preview";
    EXPECT_EQ(pageAfterNext, 2);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('|').toStdString();
}

TEST_F(DemoWindowTest, PrintShowsNoProgressOverQuestionsOrMessages)
{
    w().Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    auto* question = new TZVAskText(w().Label());
    question->SetQuestion(QStringLiteral("LOT?"));
    w().Label().AddElement(question, false);
    const QString pdf = m_dir.filePath(QStringLiteral("asked.pdf"));
    w().AskPdfFile = [&] { return pdf; };
    w().PrinterBox()->setCurrentIndex(w().PrinterBox()->count() - 2);
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "answer refused" : "answered");
        bool whileAsked = true;
        bool overMessage = false;
        m_messages.clear();
        // Both stay up for as long as the user takes.
        w().Label().OnAskText = [&](QObject*, int, const QString&, QString& answer) {
            whileAsked = test::waitFor(progressVisible, kProgressWatchMs);
            if (fails) throw EZvError(QStringLiteral("NO LOT"));
            answer = QStringLiteral("L-17");
        };
        w().ShowMessage = [&](const QString& m) {
            m_messages << m;
            overMessage = test::waitFor(progressVisible, kProgressWatchMs);
        };
        w().Action(QStringLiteral("TBPrint"))->trigger();
        EXPECT_FALSE(whileAsked);
        EXPECT_FALSE(overMessage);
        EXPECT_EQ(m_messages, fails ? QStringList{QStringLiteral("NO LOT")} : QStringList());
        EXPECT_EQ(QFile::exists(pdf), !fails);
        QFile::remove(pdf);
    }
}

TEST_F(DemoWindowTest, LeavingAModifiedDesignAsksSaveDiscardOrCancel)
{
    enum Leave { AnotherRow, Add, Delete, Close };
    const struct
    {
        const char* name;
        Leave leave;
        QMessageBox::StandardButton answer;
    } cases[] = {
        {"row, save", AnotherRow, QMessageBox::Save},   {"row, discard", AnotherRow, QMessageBox::Discard},
        {"row, cancel", AnotherRow, QMessageBox::Cancel}, {"ADD, save", Add, QMessageBox::Save},
        {"ADD, discard", Add, QMessageBox::Discard},    {"ADD, cancel", Add, QMessageBox::Cancel},
        {"DELETE, save", Delete, QMessageBox::Save},    {"DELETE, discard", Delete, QMessageBox::Discard},
        {"DELETE, cancel", Delete, QMessageBox::Cancel}, {"close, save", Close, QMessageBox::Save},
        {"close, discard", Close, QMessageBox::Discard}, {"close, cancel", Close, QMessageBox::Cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openWindow();
        w().AskSaveChanges = m_defaultAskSave; // the real message box
        w().SelectRow(0);
        const int rows = rowCount();
        ASSERT_GE(rows, 2);
        const std::vector<std::uint8_t> stored = storedKinds();
        w().Label().AddElement(new TZVText(w().Label()), true);
        ASSERT_TRUE(w().Label().Modified());
        const std::vector<std::uint8_t> onScreen = kindsOf(w().Label());

        QMessageBox::StandardButtons offered;
        const test::ModalWatch<QMessageBox> watch([&](QMessageBox* box) {
            offered = box->standardButtons();
            box->button(c.answer)->click();
        });
        bool wentOn = false;
        switch (c.leave) {
        case AnotherRow:
            w().DesignsGrid()->setCurrentIndex(w().DesignsModel().index(1, 0));
            wentOn = labels().RecNo() == 2;
            break;
        case Add:
            w().Button(QStringLiteral("ADD"))->click();
            wentOn = rowCount() == rows + 1;
            break;
        case Delete:
            w().Button(QStringLiteral("DELETE"))->click();
            wentOn = rowCount() == rows - 1;
            break;
        case Close:
            wentOn = w().close();
            break;
        }
        ASSERT_TRUE(watch.seen());
        EXPECT_EQ(offered, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        EXPECT_EQ(wentOn, c.answer != QMessageBox::Cancel);
        if (c.answer == QMessageBox::Cancel) {
            EXPECT_EQ(labels().RecNo(), 1);
            EXPECT_EQ(w().DesignsGrid()->currentIndex().row(), 0) << "the grid shows the design's row again";
            EXPECT_EQ(kindsOf(w().Label()), onScreen);
            EXPECT_TRUE(w().Label().Modified());
            EXPECT_TRUE(w().isVisible());
        } else if (c.leave != Delete) {
            m_dm->SetLoadOnScroll(false);
            labels().MoveBy(1 - labels().RecNo());
            EXPECT_EQ(storedKinds(), c.answer == QMessageBox::Save ? onScreen : stored);
        }
    }
}

TEST_F(DemoWindowTest, MenusHoldTheCommandsWithStandardShortcuts)
{
    const struct
    {
        const char* menu;
        const char* action;
        std::optional<QKeySequence::StandardKey> key;
    } cases[] = {
        {"&File", "actNew", QKeySequence::New},        {"&File", "actSave", QKeySequence::Save},
        {"&File", "actPreview", std::nullopt},         {"&File", "actPrint", QKeySequence::Print},
        {"&File", "actQuit", std::nullopt},            {"&Edit", "actUndo", QKeySequence::Undo},
        {"&Edit", "actRedo", std::nullopt},            {"&Edit", "actCut", QKeySequence::Cut},
        {"&Edit", "actCopy", QKeySequence::Copy},      {"&Edit", "actPaste", QKeySequence::Paste},
        {"&Edit", "actDelete", QKeySequence::Delete},  {"&Edit", "actSelectAll", QKeySequence::SelectAll},
        {"&View", "actZoomIn", QKeySequence::ZoomIn},  {"&View", "actZoom0", std::nullopt},
        {"&View", "actZoom14", std::nullopt},          {"&Insert", "TBDrawText", std::nullopt},
        {"&Insert", "TBImage", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        QMenu* menu = nullptr;
        for (QAction* top : w().menuBar()->actions())
            if (top->text() == QLatin1String(c.menu)) menu = top->menu();
        ASSERT_NE(menu, nullptr);
        QAction* a = nullptr;
        for (QAction* item : menu->actions())
            if (item->objectName() == QLatin1String(c.action)) a = item;
        ASSERT_NE(a, nullptr);
        if (c.key) {
            EXPECT_EQ(a->shortcuts(), QKeySequence::keyBindings(*c.key));
        }
    }
    EXPECT_FALSE(w().MenuAction(QStringLiteral("actQuit"))->shortcuts().isEmpty());
    // Redo takes the platform's keys and both that the editor answers, wherever the focus is.
    const QList<QKeySequence> redoKeys = w().MenuAction(QStringLiteral("actRedo"))->shortcuts();
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Redo) +
                                       QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        EXPECT_TRUE(redoKeys.contains(key)) << key.toString().toStdString();

    auto trigger = [&](const char* name) { w().MenuAction(QString::fromLatin1(name))->trigger(); };
    w().Label().ClearElements();
    w().Label().AddElement(new TZVText(w().Label()), true);
    w().Label().AddElement(new TZVText(w().Label()), true);
    trigger("actSelectAll");
    EXPECT_EQ(w().Editor().SelCount(), 2);
    trigger("actCopy");
    trigger("actPaste");
    EXPECT_EQ(w().Label().Elements().size(), 4);
    EXPECT_TRUE(w().MenuAction(QStringLiteral("actUndo"))->text().startsWith(QLatin1String("&Undo ")))
        << "the step is named: " << w().MenuAction(QStringLiteral("actUndo"))->text().toStdString();
    trigger("actUndo");
    EXPECT_EQ(w().Label().Elements().size(), 2);
    trigger("actRedo");
    EXPECT_EQ(w().Label().Elements().size(), 4);
    trigger("actSelectAll");
    trigger("actCut");
    EXPECT_EQ(w().Label().Elements().size(), 0);
    trigger("actPaste");
    trigger("actDelete");
    EXPECT_EQ(m_questions.last(), QString::fromUtf8(TFMain::kAskDeleteElements));
    EXPECT_EQ(w().Label().Elements().size(), 0);
    // Backspace in the editor asks the same question; "no" keeps the selection.
    trigger("actUndo");
    trigger("actSelectAll");
    const qsizetype asked = m_questions.size();
    m_answer = false;
    w().Editor().setFocus();
    QTest::keyClick(&w().Editor(), Qt::Key_Backspace);
    EXPECT_EQ(m_questions.size(), asked + 1);
    EXPECT_EQ(w().Label().Elements().size(), 4);

    trigger("actZoom0");
    EXPECT_EQ(w().Editor().Zoom(), zm50);
    EXPECT_EQ(w().ZoomBox()->currentIndex(), 0);
    trigger("actZoomIn");
    EXPECT_EQ(w().Editor().Zoom(), zm75);
    EXPECT_TRUE(w().MenuAction(QStringLiteral("actZoom1"))->isChecked());
    trigger("TBDrawText");
    EXPECT_EQ(w().Editor().DrawTool(), dwText);
}

TEST_F(DemoWindowTest, NewStartsAnEmptyDesignOnTheChosenStockAndUndoGivesTheSheetBack)
{
    w().SelectRow(0);
    const TZVMeasure& m = w().Label().Measure();
    const QList<int> before = {m.Width(), m.Height(), m.NuVer(), m.NuHor()};
    const int rows = w().DesignsModel().rowCount();
    bool accept = false;
    std::optional<TZVStock> chosen;
    w().ExecNewDesign = [&accept, &chosen](TZVStockPickerDialog& dialog) {
        dialog.NameEdit()->setText(QStringLiteral("Shipping labels"));
        dialog.Picker()->SearchBox()->setText(QStringLiteral("avery l7160"));
        if (!accept) return int(QDialog::Rejected);
        dialog.accept();
        chosen = dialog.Chosen();
        return dialog.result();
    };
    w().MenuAction(QStringLiteral("actNew"))->trigger();
    EXPECT_EQ(w().DesignsModel().rowCount(), rows) << "cancelled";
    EXPECT_FALSE(w().Label().Elements().empty());

    accept = true;
    w().MenuAction(QStringLiteral("actNew"))->trigger();
    EXPECT_TRUE(w().Label().Elements().empty());
    // Avery L7160: 3 x 7 labels of 38.1 mm high on A4 (the maker's data sheet).
    ASSERT_TRUE(chosen);
    EXPECT_EQ(m.PaperName(), QStringLiteral("A4"));
    EXPECT_EQ(m.LabelName(), QStringLiteral("Avery L7160"));
    EXPECT_EQ((QList<int>{m.Width(), m.Height(), m.NuVer(), m.NuHor()}),
              (QList<int>{qRound(chosen->LabelWidth * 100), 3810, 3, 7}));
    ASSERT_EQ(w().DesignsModel().rowCount(), rows + 1);
    EXPECT_EQ(currentName(), QStringLiteral("Shipping labels"));
    EXPECT_FALSE(w().isWindowModified());

    w().MenuAction(QStringLiteral("actUndo"))->trigger();
    EXPECT_EQ((QList<int>{m.Width(), m.Height(), m.NuVer(), m.NuHor()}), before);
    EXPECT_FALSE(w().Editor().CanUndo()) << "one step";
}

TEST_F(DemoWindowTest, TitleMarksAModifiedDesignAndSavingKeepsTheHistory)
{
    w().SelectRow(0);
    EXPECT_EQ(w().windowTitle(), currentName() + QStringLiteral("[*] - ZORVEL_DEMO"));
    EXPECT_FALSE(w().isWindowModified());
    w().Editor().SelectAll();
    const int count = int(w().Label().Elements().size());
    w().Editor().DeleteSelection();
    EXPECT_TRUE(w().isWindowModified());
    w().Action(QStringLiteral("TBSave"))->trigger();
    EXPECT_FALSE(w().isWindowModified());
    ASSERT_TRUE(w().Editor().CanUndo()) << "saving the row does not load the design again";
    w().Editor().Undo();
    EXPECT_EQ(int(w().Label().Elements().size()), count);
    EXPECT_TRUE(w().isWindowModified()) << "away from the saved state";
    w().Editor().Redo();
    EXPECT_FALSE(w().isWindowModified()) << "back at the saved state";
    w().SelectRow(1);
    EXPECT_EQ(w().windowTitle(), currentName() + QStringLiteral("[*] - ZORVEL_DEMO"));
}

TEST_F(DemoWindowTest, StatusBarShowsThePointerAndTheSelectionSize)
{
    TZVRect* rect = onlyRectangle();
    w().Editor().AddToSelection(rect);
    EXPECT_EQ(w().SelectionStatus()->text(), QStringLiteral("30.00 x 10.00 mm"));
    w().Editor().ClearSelection();
    EXPECT_EQ(w().SelectionStatus()->text(), QString());

    QWidget* surface = w().Editor().Surface();
    const QPoint at(120, 90);
    QTest::mouseMove(surface, at);
    const double x = w().Editor().PixelToUnitX(at.x());
    const double y = w().Editor().PixelToUnitY(at.y());
    EXPECT_EQ(w().PositionStatus()->text(),
              QStringLiteral("X %1 mm   Y %2 mm").arg(x, 0, 'f', 2).arg(y, 0, 'f', 2));
    w().Label().SetUnits(unINCH);
    QTest::mouseMove(surface, at + QPoint(1, 0));
    EXPECT_TRUE(w().PositionStatus()->text().endsWith(QLatin1String(" in"))) << w().PositionStatus()->text().toStdString();
}

TEST(DemoWindowNoDatabase, GoesOnWithoutData)
{
    test::ensureApplication<QApplication>();
    QTemporaryDir dir;
    TDM::SetDataFolder(dir.path());
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TDM dm(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("file/sub/demo.db")));
    ASSERT_FALSE(dm.Connected());
    TFMain w(dm, dir.filePath(QStringLiteral("demo_zorvel.ini")));
    QStringList messages;
    w.ShowMessage = [&](const QString& m) { messages << m; };
    int dialogs = 0;
    w.ExecEdLabel = [&](TFEdLabel&) { return ++dialogs, int(QDialog::Accepted); };
    w.show();
    QEvent e(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&w, &e);
    EXPECT_EQ(w.DesignsModel().rowCount(), 0);
    w.Button(QStringLiteral("ADD"))->click();
    w.Action(QStringLiteral("TBSave"))->trigger();
    w.Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    EXPECT_EQ(w.Label().Elements().size(), 5) << "the design is still built on screen";
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(DemoWindowTest, EditPasteAndRedoKeysWorkWithTheFocusOffTheCanvas)
{
    TZVRect* rect = onlyRectangle();
    w().Editor().AddToSelection(rect);
    w().MenuAction(QStringLiteral("actCopy"))->trigger();

    // The pointer was last at `at` on the label; the menu is reached with the pointer elsewhere.
    QWidget* surface = w().Editor().Surface();
    const QPoint at(150, 120);
    QTest::mouseMove(surface, at);
    QTest::mouseMove(w().DesignsGrid()->viewport(), QPoint(5, 5));
    w().MenuAction(QStringLiteral("actPaste"))->trigger();
    ASSERT_EQ(w().Editor().SelCount(), 1);
    const TZVElement* pasted = w().Editor().Selection().first();
    EXPECT_NE(pasted, rect);
    EXPECT_EQ(pasted->X1(), w().Editor().PixelToModelX(at.x()));
    EXPECT_EQ(pasted->Y1(), w().Editor().PixelToModelY(at.y()));

    // Ctrl+Y redoes from the designs list too, as Ctrl+Shift+Z does.
    QApplication::setActiveWindow(&w());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
    w().DesignsGrid()->setFocus();
    for (const QKeyCombination redo : {QKeyCombination(Qt::ControlModifier, Qt::Key_Y),
                                       QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)}) {
        w().Editor().Undo();
        ASSERT_EQ(w().Label().Elements().size(), 1);
        QTest::keyClick(w().DesignsGrid(), redo.key(), redo.keyboardModifiers());
        EXPECT_EQ(w().Label().Elements().size(), 2) << QKeySequence(redo).toString().toStdString();
    }
}

TEST_F(DemoWindowTest, CancelInTheSaveQuestionTakesTheListBackToTheDesignShown)
{
    ASSERT_GE(rowCount(), 2);
    w().SelectRow(0);
    const QString shownName = currentName();
    w().Label().AddElement(new TZVText(w().Label()), true);
    m_saveAnswer = QMessageBox::Cancel;
    QTableView* grid = w().DesignsGrid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(w().DesignsModel().index(1, 0)).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(m_questions, QStringList{QString::fromLatin1(TFMain::kAskSaveChanges)});
    EXPECT_EQ(labels().RecNo(), 1);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    const QModelIndexList selected = grid->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), 0) << "the highlighted row is the design's";

    // EDIT renames the row whose design is shown, the one highlighted.
    m_dialogName = QStringLiteral("shown");
    w().Button(QStringLiteral("EDIT"))->click();
    EXPECT_EQ(w().DesignsModel().Rows().at(0).Name, QStringLiteral("shown"));
    EXPECT_NE(w().DesignsModel().Rows().at(1).Name, QStringLiteral("shown"));
    EXPECT_NE(shownName, QStringLiteral("shown"));
}

TEST(DemoWindowNoDatabase, ANewSqliteFileIsMadeAndAFailureShowsItsReason)
{
    test::ensureApplication<QApplication>();
    QTemporaryDir dir;
    TDM::SetDataFolder(dir.path());
    {
        TDM made(QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("new.db")));
        EXPECT_TRUE(made.Connected()) << made.ConnectError().toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("new.db"))));
        EXPECT_GE(made.TbLabels().RecordCount(), 1) << "filled with the sample designs";
    }
    // A mode given is kept: rw opens only a file that exists.
    const QString missing = dir.filePath(QStringLiteral("missing.db"));
    TDM dm(QStringLiteral("sqlite:") + missing + QStringLiteral("?mode=rw"));
    ASSERT_FALSE(dm.Connected());
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(dm.ConnectError(), QStringLiteral("CAN'T OPEN DATASET : DEMO : NO FILE ") + missing);
    TFMain w(dm, dir.filePath(QStringLiteral("demo_zorvel.ini")));
    QStringList messages;
    w.ShowMessage = [&](const QString& m) { messages << m; };
    w.ReportConnectError();
    EXPECT_EQ(messages, QStringList{QStringLiteral("CAN'T CONNECT TO DATABASE\n") + dm.ConnectError()});
}

TEST_F(DemoWindowTest, RecordBarMovesTheMasterAndTheEditorShowsItsRecord)
{
    TRecordBar& bar = *w().RecordBar();
    TZVDataSet* master = w().Label().DataSet();
    ASSERT_TRUE(master && w().Label().DataEnabled()) << "the first sample design prints from data";
    const int count = master->RecordCount();
    ASSERT_GE(count, 3);
    EXPECT_FALSE(bar.MoveAction(TRecordBar::mvPrior)->isEnabled());
    const std::pair<TRecordBar::TMove, int> steps[] = {{TRecordBar::mvNext, 2}, {TRecordBar::mvNext, 3},
                                                        {TRecordBar::mvLast, count}, {TRecordBar::mvPrior, count - 1},
                                                        {TRecordBar::mvFirst, 1}};
    for (const auto& [move, recNo] : steps) {
        bar.MoveAction(move)->trigger();
        EXPECT_EQ(master->RecNo(), recNo);
        EXPECT_EQ(bar.Position()->text(), QStringLiteral("%1 / %2").arg(recNo).arg(count));
    }
    master->Last(); // moved by anyone else, the bar follows
    EXPECT_EQ(bar.Position()->text(), QStringLiteral("%1 / %1").arg(count));
    EXPECT_FALSE(bar.MoveAction(TRecordBar::mvNext)->isEnabled());

    w().MenuAction(QStringLiteral("actShowData"))->trigger();
    EXPECT_TRUE(w().Editor().ShowData());
    const int recorded = w().Editor().LayerRecordCount(lyContent);
    bar.MoveAction(TRecordBar::mvFirst)->trigger();
    EXPECT_GT(w().Editor().LayerRecordCount(lyContent), recorded) << "the surface shows the new record";

    // A design that does not print from data has no records to move through.
    w().Button(QStringLiteral("CREATE LABEL BY CODE"))->click();
    EXPECT_FALSE(bar.isEnabled());
    EXPECT_EQ(bar.Position()->text(), QStringLiteral("- / -"));
}

TEST_F(DemoWindowTest, EveryTableOfTheDatabaseIsOfferedToDesigns)
{
    const QStringList names = w().Label().DataSetRegistry()->Names();
    for (const char* name : {"QyPrinters", "QyCharacteristic", "TbEmployees", "CHARACTERISTICS", "LABELS",
                             "MANUFACTERS", "PRINTERCHAR", "PRINTERS"})
        EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
    EXPECT_FALSE(names.contains(QStringLiteral("EMPLOYEE"))) << "TbEmployees reads it already";
    ASSERT_TRUE(w().Label().LinkDataSetByName(QStringLiteral("MANUFACTERS"), false, false));
    w().Label().DataSet()->Open();
    EXPECT_NE(w().Label().DataSet()->FindField(QStringLiteral("URL")), nullptr);
}
