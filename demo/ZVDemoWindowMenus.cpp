// The demo's main window: menu bar, status bar, title and the question before a design is left.
#include "demo/ZVDemoData.h"
#include "demo/ZVDemoWindow.h"
#include "demo/ZVDemoWindowRecordBar.h"
#include "dialogs/ZVCalibrationDialog.h"
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "foundation/ZVError.h"
#include "platform/ZVSqlDataSet.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <climits>

namespace zorvel {

namespace {

// Zoom in and out walk the levels; the two fitting zooms lie outside them.
constexpr int kZoomLevels = zmWidth; // zm50 .. zm500

const char* unitSuffix(TZVUnits units)
{
    switch (units) {
    case unINCH:
        return "in";
    case unCM:
        return "cm";
    default:
        return "mm";
    }
}

} // namespace

void TFMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const char* name, const QString& text, auto slot) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    add(file, "actNew", QStringLiteral("&New"), [this] { NewLabel(); })->setShortcuts(QKeySequence::New);
    add(file, "actSave", QStringLiteral("&Save"), [this] { SaveLabel(); })->setShortcuts(QKeySequence::Save);
    file->addSeparator();
    add(file, "actPreview", QStringLiteral("Pre&view"), [this] { PreviewLabel(); });
    add(file, "actPrint", QStringLiteral("&Print"), [this] { PrintLabel(); })->setShortcuts(QKeySequence::Print);
    add(file, "actCalibrate", QStringLiteral("Printer &calibration..."), [this] { ExecCalibrationDialog(this); });
    file->addSeparator();
    // Some platforms bind no Quit key; Ctrl+Q is what people try there.
    QList<QKeySequence> quit = QKeySequence::keyBindings(QKeySequence::Quit);
    if (quit.isEmpty()) quit << QKeySequence(Qt::CTRL | Qt::Key_Q);
    add(file, "actQuit", QStringLiteral("&Quit"), [this] { close(); })->setShortcuts(quit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    // The label's history names the step: "Undo Move", "Redo Edit Text".
    QAction* undo = m_label->UndoStack().createUndoAction(this, QStringLiteral("&Undo"));
    undo->setObjectName(QStringLiteral("actUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    edit->addAction(undo);
    QAction* redo = m_label->UndoStack().createRedoAction(this, QStringLiteral("&Redo"));
    redo->setObjectName(QStringLiteral("actRedo"));
    // Both redo keys the editor answers, wherever the focus is; the platform binds only one.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(key)) redoKeys << key;
    redo->setShortcuts(redoKeys);
    edit->addAction(redo);
    edit->addSeparator();
    TZVEditor* ed = m_editor;
    add(edit, "actCut", QStringLiteral("Cu&t"), [this, ed] { guarded([ed] { ed->CutSelection(); }); })
        ->setShortcuts(QKeySequence::Cut);
    add(edit, "actCopy", QStringLiteral("&Copy"), [this, ed] { guarded([ed] { ed->CopySelection(); }); })
        ->setShortcuts(QKeySequence::Copy);
    // At the pointer's last place on the label, as the editor's own key pastes; beside the
    // copied elements while the pointer has not been on the label.
    add(edit, "actPaste", QStringLiteral("&Paste"), [this, ed] {
        guarded([this, ed] {
            if (m_lastPointer)
                ed->PasteClipboard(ed->ModelToPixelX(m_lastPointer->x()), ed->ModelToPixelY(m_lastPointer->y()));
            else
                ed->PasteClipboard(0, 0);
        });
    })->setShortcuts(QKeySequence::Paste);
    add(edit, "actDelete", QStringLiteral("&Delete"), [this] { DeleteSelectedElements(); })
        ->setShortcuts(QKeySequence::Delete);
    edit->addSeparator();
    add(edit, "actSelectAll", QStringLiteral("Select &all"), [ed] { ed->SelectAll(); })
        ->setShortcuts(QKeySequence::SelectAll);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    auto step = [this](int by) {
        const int at = static_cast<int>(m_editor->Zoom());
        m_cbZoom->setCurrentIndex(std::clamp(at > kZoomLevels - 1 ? zm100 + by : at + by, 0, kZoomLevels - 1));
    };
    add(view, "actZoomIn", QStringLiteral("Zoom &in"), [step] { step(1); })->setShortcuts(QKeySequence::ZoomIn);
    add(view, "actZoomOut", QStringLiteral("Zoom &out"), [step] { step(-1); })->setShortcuts(QKeySequence::ZoomOut);
    view->addSeparator();
    m_zoomActions = new QActionGroup(this);
    for (int i = 0; i < m_cbZoom->count(); ++i) {
        QAction* a = add(view, "", m_cbZoom->itemText(i).trimmed(), [this, i] { m_cbZoom->setCurrentIndex(i); });
        a->setObjectName(QStringLiteral("actZoom%1").arg(i));
        a->setCheckable(true);
        m_zoomActions->addAction(a);
    }
    auto checkZoom = [this](int index) {
        if (index >= 0 && index < m_zoomActions->actions().size()) m_zoomActions->actions().at(index)->setChecked(true);
    };
    connect(m_cbZoom, &QComboBox::currentIndexChanged, this, checkZoom);
    checkZoom(m_cbZoom->currentIndex());
    view->addSeparator();
    // The surface shows the current record of the design's master; the record bar moves it.
    QAction* showData = view->addAction(QStringLiteral("Show &Data"));
    showData->setObjectName(QStringLiteral("actShowData"));
    showData->setCheckable(true);
    showData->setChecked(m_editor->ShowData());
    connect(showData, &QAction::toggled, this, [this](bool on) { m_editor->SetShowData(on); });

    QMenu* insert = bar->addMenu(QStringLiteral("&Insert"));
    for (QAction* tool : m_drawTools->actions())
        if (tool->data().toInt() != dwSelection) insert->addAction(tool);
}

void TFMain::buildStatusBar()
{
    m_positionStatus = new QLabel(this);
    m_positionStatus->setObjectName(QStringLiteral("PositionStatus"));
    m_positionStatus->setMinimumWidth(220);
    m_selectionStatus = new QLabel(this);
    m_selectionStatus->setObjectName(QStringLiteral("SelectionStatus"));
    statusBar()->addWidget(m_positionStatus);
    statusBar()->addWidget(m_selectionStatus, 1);

    m_editor->OnLabelMouseMove = [this](QObject*, int pixelX, int pixelY, double x, double y) {
        m_lastPointer = QPoint(m_editor->PixelToModelX(pixelX), m_editor->PixelToModelY(pixelY));
        showPointer(x, y);
        showSelectionSize();
    };
    m_editor->OnSelectChange = [this](QObject*) { showSelectionSize(); };
    // A finished move or resize is a step of the history; the sizes are known once it is painted.
    connect(&m_label->UndoStack(), &QUndoStack::indexChanged, this,
            [this] { QTimer::singleShot(0, this, [this] { showSelectionSize(); }); });
    connect(m_label, &TZVCustomLab::ModifiedChanged, this, [this] { updateTitle(); });
}

void TFMain::showPointer(double x, double y)
{
    const QString unit = QString::fromLatin1(unitSuffix(m_label->Units()));
    m_positionStatus->setText(QStringLiteral("X %1 %3   Y %2 %3").arg(x, 0, 'f', 2).arg(y, 0, 'f', 2).arg(unit));
}

void TFMain::showSelectionSize()
{
    const QList<TZVElement*>& selection = m_editor->Selection();
    if (selection.isEmpty()) {
        m_selectionStatus->clear();
        return;
    }
    TRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const TZVElement* e : selection) {
        const TRect& r = e->ModelRect();
        bounds.Left = std::min({bounds.Left, r.Left, r.Right});
        bounds.Top = std::min({bounds.Top, r.Top, r.Bottom});
        bounds.Right = std::max({bounds.Right, r.Left, r.Right});
        bounds.Bottom = std::max({bounds.Bottom, r.Top, r.Bottom});
    }
    const QString size = QStringLiteral("%1 x %2 %3")
                             .arg(double(m_label->FromModel(bounds.Width())), 0, 'f', 2)
                             .arg(double(m_label->FromModel(bounds.Height())), 0, 'f', 2)
                             .arg(QString::fromLatin1(unitSuffix(m_label->Units())));
    m_selectionStatus->setText(selection.size() == 1 ? size
                                                     : QStringLiteral("%1 selected, %2").arg(selection.size()).arg(size));
}

void TFMain::updateTitle()
{
    QString name;
    if (m_dm.Connected() && m_dm.TbLabels().Active() && m_dm.TbLabels().RecordCount() > 0)
        name = m_dm.TbLabels().FieldByName(QStringLiteral("NAME")).AsWideString();
    const QString title = QString::fromLatin1(kTitle);
    setWindowTitle(name.isEmpty() ? title + QStringLiteral("[*]") : name + QStringLiteral("[*] - ") + title);
    setWindowModified(m_label->Modified());
}

QAction* TFMain::MenuAction(const QString& name) const
{
    for (QAction* a : menuBar()->findChildren<QAction*>())
        if (a->objectName() == name) return a;
    return findChild<QAction*>(name);
}

bool TFMain::saveDesign()
{
    if (!m_dm.Connected() || m_dm.TbLabels().RecordCount() == 0) return false;
    // Posting the row moves the cursor; loading the design again would drop its undo history.
    const bool load = m_dm.LoadOnScroll();
    m_dm.SetLoadOnScroll(false);
    const auto restore = qScopeGuard([this, load] { m_dm.SetLoadOnScroll(load); });
    try {
        m_dm.SaveDesign(*m_label);
    } catch (const EZvError& e) {
        if (ShowMessage) ShowMessage(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

bool TFMain::MaybeSaveChanges()
{
    if (!m_label->Modified()) return true;
    const QMessageBox::StandardButton answer =
        AskSaveChanges ? AskSaveChanges(QString::fromLatin1(kAskSaveChanges)) : QMessageBox::Discard;
    if (answer == QMessageBox::Discard) return true;
    if (answer != QMessageBox::Save) return false;
    const bool saved = saveDesign();
    if (saved) reloadRows();
    return saved;
}

void TFMain::closeEvent(QCloseEvent* event)
{
    if (MaybeSaveChanges())
        event->accept();
    else
        event->ignore();
}

} // namespace zorvel
