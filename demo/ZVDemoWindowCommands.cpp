// The demo's main window: tool-bar, designs-list and pop-up menu commands.
#include "demo/ZVDemoData.h"
#include "demo/ZVDemoWindow.h"
#include "demo/ZVDemoWindowRecordBar.h"
#include "demo/ZVEdLabel.h"
#include "dialogs/ZVProgressDialog.h"
#include "dialogs/ZVStockPickerDialog.h"
#include "document/ZVCustomLab.h"
#include "document/ZVPrintInfo.h"
#include "document/ZVSheetFit.h"
#include "document/ZVUndoHistory.h"
#include "editor/ZVEditor.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "platform/ZVZplPrinter.h"
#include "printsupport/ZVPrinterCalibration.h"
#include "printsupport/ZVPrinterLanguage.h"
#include "printsupport/ZVQtPrinter.h"
#include "printsupport/ZVZplQueuePrinter.h"
#include "platform/ZVSqlDataSet.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>

#include <functional>
#include <memory>

namespace zorvel {

namespace {

constexpr TZVColor kGrey = 8421504;
constexpr TZVColor kGreen = 32768;
constexpr TZVColor kBlack = 0;
constexpr TZVColor kSilver = 12632256;

// Holds loading on scroll off while a new row is being filled, so that moving onto it does not
// replace the design being stored.
class TLoadOnScrollOff
{
public:
    explicit TLoadOnScrollOff(TDM& dm) : m_dm(dm) { m_dm.SetLoadOnScroll(false); }
    ~TLoadOnScrollOff() { m_dm.SetLoadOnScroll(true); }
    Q_DISABLE_COPY_MOVE(TLoadOnScrollOff)

private:
    TDM& m_dm;
};

// Cancels a pending edit of the row unless it was posted.
class TPendingRow
{
public:
    explicit TPendingRow(TZVDataSet& rows) : m_rows(rows) {}
    ~TPendingRow()
    {
        if (m_rows.State() == dsEdit || m_rows.State() == dsInsert) m_rows.Cancel();
    }
    Q_DISABLE_COPY_MOVE(TPendingRow)

private:
    TZVDataSet& m_rows;
};

} // namespace

void TFMain::guarded(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EZvError& e) {
        if (ShowMessage) ShowMessage(QString::fromUtf8(e.what()));
    }
}

void TFMain::LoadCurrentDesign()
{
    if (!m_dm.Connected()) return;
    guarded([this] {
        m_editor->ClearSelection();
        if (m_dm.LoadDesign(*m_label)) {
            setGridStepLimits();
            RefreshEditorBox();
        }
    });
    m_recordBar->Sync();
    m_editor->update();
}

void TFMain::SaveLabel()
{
    if (!m_dm.Connected() || m_dm.TbLabels().RecordCount() == 0) return;
    saveDesign();
    reloadRows();
}

bool TFMain::sheetFitsOrGoOn()
{
    const QString warning = SheetFitWarning(SheetFit(*m_label));
    if (warning.isEmpty()) return true;
    return AskYesNo && AskYesNo(warning + QLatin1Char('\n') + QString::fromUtf8(kAskSheetOff));
}

void TFMain::PrintLabel()
{
    if (!sheetFitsOrGoOn()) return;
    const int index = m_cbPrinters->currentIndex();
    TZVQtPrinter qtPrinter;
    std::unique_ptr<TZVPrinter> zpl;
    if (index >= 0 && index < m_systemPrinters) {
        qtPrinter.SetPrinterIndex(index);
        const QString queue = qtPrinter.Printers().at(index);
        // A ZPL printer's queue gets Zorvel's own ZPL, its calibration as the label home.
        if (const TZVPrinterLanguage language = TZVPrinterLanguages::Load(queue);
            language.Kind == TZVPrinterLanguage::Zpl)
            zpl = std::make_unique<TZVZplQueuePrinter>(queue, language.Dpi, TZVPrinterCalibration::Load(queue));
    } else {
        const bool toZpl = index == m_systemPrinters + 1;
        const std::function<QString()>& ask = toZpl ? AskZplFile : AskPdfFile;
        const QString file = ask ? ask() : QString();
        if (file.isEmpty()) return;
        if (toZpl)
            zpl = std::make_unique<TZVZplPrinter>(file, TZVPrinterLanguage::kDefaultDpi);
        else
            qtPrinter.SetOutputFileName(file);
    }
    guarded([&] {
        // Gone before a failure is shown.
        TZVProgressDialog progress(this);
        progress.Attach(*m_label);
        const TStoredCounters counters(m_dm, *m_label);
        m_label->Print(zpl ? *zpl : static_cast<TZVPrinter&>(qtPrinter));
    });
}

void TFMain::PreviewLabel()
{
    if (!sheetFitsOrGoOn()) return;
    // No progress dialog here: it would stay up over the modal preview and block it.
    guarded([this] {
        if (ShowPreview) ShowPreview(*m_label);
    });
}

void TFMain::DeleteSelectedElements()
{
    if (m_editor->SelCount() < 1) return;
    if (!AskYesNo || !AskYesNo(QString::fromUtf8(kAskDeleteElements))) return;
    m_editor->DeleteSelection();
}

void TFMain::AddLabel()
{
    if (!m_dm.Connected() || !MaybeSaveChanges()) return;
    TZVDataSet& labels = m_dm.TbLabels();
    const int before = labels.RecNo();
    // Storing the copy marks the design saved; a cancelled copy must not.
    const bool modified = m_label->Modified();
    {
        TLoadOnScrollOff off(m_dm);
        TPendingRow pending(labels);
        guarded([&] {
            m_dm.AppendDesign(*m_label);
            TFEdLabel dialog(labels, this);
            if (ExecEdLabel(dialog) != QDialog::Accepted) return;
            m_dm.PostLabel();
        });
        if (labels.State() == dsInsert) {
            labels.Cancel();
            if (before > 0 && labels.RecordCount() > 0) labels.MoveBy(before - labels.RecNo());
            if (modified) {
                m_label->UndoStack().resetClean();
                m_label->SetModified(true);
            }
        }
    }
    reloadRows();
}

void TFMain::EditLabel()
{
    if (!m_dm.Connected() || m_dm.TbLabels().RecordCount() == 0) return;
    TZVDataSet& labels = m_dm.TbLabels();
    {
        TPendingRow pending(labels);
        guarded([&] {
            labels.Edit();
            TFEdLabel dialog(labels, this);
            if (ExecEdLabel(dialog) != QDialog::Accepted) return;
            m_dm.PostLabel();
        });
    }
    reloadRows();
}

void TFMain::DeleteLabel()
{
    if (!m_dm.Connected() || m_dm.TbLabels().RecordCount() == 0) return;
    if (!MaybeSaveChanges()) return;
    if (!AskYesNo || !AskYesNo(QString::fromUtf8(kAskDeleteLabel))) return;
    guarded([this] { m_dm.TbLabels().Delete(); });
    reloadRows();
}

void TFMain::CreateLabelByCode()
{
    if (!MaybeSaveChanges()) return;
    TZVLab& lab = *m_label;
    {
        TLoadOnScrollOff off(m_dm);
        m_editor->ClearSelection();
        lab.ClearElements();
        lab.SetDataAccessType(daNone);
        lab.SetDataEnabled(false);
        lab.SetUnits(unMM);
        TZVMeasure& m = lab.Measure();
        // The whole sheet is set: what the design on screen had may not hold three rows.
        lab.PrintInfo().Orientation = 0;
        m.SetPaper(210, 297, 9);
        m.SetPaperName(QStringLiteral("A4"));
        m.SetLabelType(ltRect);
        m.SetWidth(120);
        m.SetHeight(85);
        m.SetNuHor(3);
        m.SetNuVer(1);
        m.SetMarLeft(25);
        m.SetMarTop(15);
        m.SetDiHor(4);
        m.SetDiVer(4);
        lab.Frame().SetStyle(fsOneLine);
        lab.Frame().SetPenWidth(0.1f);

        auto* image = new TZVImage(lab);
        image->SetX1(90);
        image->SetY1(5);
        image->SetX2(116);
        image->SetY2(50);
        // The data module makes this path name the sample picture it ships.
        image->SetFileImage(QStringLiteral("..\\DEMOS\\DATA\\PC1.jpg"));
        lab.AddElement(image, false);

        auto* text = new TZVText(lab);
        text->SetText(QStringLiteral("PC ACER "));
        text->SetFontHeight(10);
        text->SetItalic(true);
        text->SetX1(10);
        text->SetY1(10);
        lab.AddElement(text, false);

        auto* line = new TZVLine(lab);
        line->SetX1(5);
        line->SetY1(22);
        line->SetX2(80);
        line->SetY2(22);
        line->SetPenWidth(0.5f);
        line->SetColor(kGrey);
        lab.AddElement(line, false);

        auto* symbol = new TZVSymbol(lab);
        symbol->SetX1(20);
        symbol->SetY1(60);
        symbol->SetFontName(QStringLiteral("Arial"));
        symbol->SetCharacter(QChar(169));
        symbol->SetFontHeight(12);
        symbol->SetColor(kGreen);
        lab.AddElement(symbol, false);

        auto* rect = new TZVRect(lab);
        rect->SetX1(90);
        rect->SetY1(60);
        rect->SetX2(116);
        rect->SetY2(80);
        rect->SetColor(kBlack);
        rect->SetPenWidth(0.5f);
        rect->SetBackColor(kSilver);
        rect->SetTransparent(false);
        lab.AddElement(rect, false);

        if (m_dm.Connected()) {
            TZVDataSet& labels = m_dm.TbLabels();
            TPendingRow pending(labels);
            guarded([&] {
                m_dm.AppendDesign(lab);
                labels.FieldByName(QStringLiteral("NAME")).SetValue(QString::fromLatin1(kLabelByCodeName));
                m_dm.PostLabel();
            });
        }
    }
    // A design made afresh has no history to go back through.
    lab.UndoStack().clear();
    setGridStepLimits();
    RefreshEditorBox();
    m_recordBar->Sync();
    m_editor->RecalcSize(true);
    m_editor->SetContentDirty();
    m_editor->Refresh(true);
    reloadRows();
}

void TFMain::NewLabel()
{
    if (!MaybeSaveChanges()) return;
    TZVStockPickerDialog dialog(TZVStockPickerDialog::TPurpose::NewDesign, this);
    dialog.Prepare(*m_label);
    // The dialog takes only a stock the label accepts, so assigning it below cannot fail.
    if (ExecNewDesign(dialog) != QDialog::Accepted || !dialog.Chosen()) return;
    {
        TLoadOnScrollOff off(m_dm);
        m_editor->ClearSelection();
        m_label->ClearElements();
        m_label->UndoStack().clear();
        {
            TZVChangeScope change(*m_label, tr("New design on %1").arg(dialog.Chosen()->Name()));
            AssignStock(*dialog.Chosen(), *m_label);
            // The stock's name, not the previous design's, titles the print jobs.
            m_label->Measure().SetLabelName(dialog.Chosen()->Name());
        }
        if (m_dm.Connected()) {
            TZVDataSet& labels = m_dm.TbLabels();
            TPendingRow pending(labels);
            guarded([&] {
                m_dm.AppendDesign(*m_label);
                labels.FieldByName(QStringLiteral("NAME")).SetValue(dialog.Name().left(TFEdLabel::kNameLength));
                m_dm.PostLabel();
            });
        }
    }
    m_label->UndoStack().setClean();
    m_label->SetModified(false);
    m_editor->SetContentDirty();
    m_editor->Refresh(true);
    reloadRows();
}

void TFMain::SelectRow(int row)
{
    if (!m_dm.Connected()) return;
    commitMemo();
    TZVDataSet& labels = m_dm.TbLabels();
    if (row < 0 || row >= labels.RecordCount()) return;
    if (labels.RecNo() != row + 1 && !MaybeSaveChanges()) {
        // The grid shows the row the design belongs to again, now and once the click that
        // chose the other row has selected it.
        syncGridToCursor();
        QTimer::singleShot(0, this, [this] { syncGridToCursor(); });
        return;
    }
    guarded([&] {
        if (labels.State() != dsBrowse) labels.Cancel();
        if (labels.RecNo() != row + 1) labels.MoveBy(row + 1 - labels.RecNo());
    });
    syncGridToCursor();
}

void TFMain::reloadRows()
{
    std::vector<LabelsModel::TRow> rows;
    if (m_dm.Connected() && m_dm.TbLabels().Active()) {
        TZVDataSet& labels = m_dm.TbLabels();
        const bool load = m_dm.LoadOnScroll();
        const int at = labels.RecNo();
        m_dm.SetLoadOnScroll(false);
        const auto syncing = m_syncing.hold();
        guarded([&] {
            labels.First();
            for (int i = 0; i < labels.RecordCount(); ++i) {
                if (i > 0) labels.Next();
                rows.push_back({labels.FieldByName(QStringLiteral("NAME")).AsWideString(),
                                labels.FieldByName(QStringLiteral("UPDATED")).AsDateTime()});
            }
            if (labels.RecordCount() > 0) labels.MoveBy(std::max(at, 1) - labels.RecNo());
        });
        m_dm.SetLoadOnScroll(load);
    }
    m_model->SetRows(std::move(rows));
    syncGridToCursor();
}

void TFMain::syncGridToCursor()
{
    if (m_syncing.held()) return;
    const auto syncing = m_syncing.hold();
    const bool has = m_dm.Connected() && m_dm.TbLabels().Active() && m_dm.TbLabels().RecordCount() > 0;
    const int row = has ? m_dm.TbLabels().RecNo() - 1 : -1;
    if (row >= 0 && row < m_model->rowCount()) {
        m_grid->selectionModel()->setCurrentIndex(
            m_model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        m_grid->selectionModel()->clearSelection();
    }
    QString note;
    if (has) note = m_dm.TbLabels().FieldByName(QStringLiteral("NOTE")).AsWideString();
    if (m_memo->toPlainText() != note) m_memo->setPlainText(note);
    m_memo->document()->setModified(false);
    m_memo->setReadOnly(!has);
    updateTitle();
}

void TFMain::commitMemo()
{
    if (!m_memo->document()->isModified() || !m_dm.Connected()) return;
    m_memo->document()->setModified(false);
    TZVDataSet& labels = m_dm.TbLabels();
    if (labels.RecordCount() == 0) return;
    const int row = labels.RecNo() - 1;
    TPendingRow pending(labels);
    guarded([&] {
        labels.Edit();
        labels.FieldByName(QStringLiteral("NOTE")).SetValue(m_memo->toPlainText());
        m_dm.PostLabel();
    });
    if (row >= 0 && row < static_cast<int>(m_model->Rows().size())) reloadRows();
}

std::unique_ptr<QMenu> TFMain::BuildPopup(bool onSelection, int x, int y)
{
    auto menu = std::make_unique<QMenu>(this);
    TZVEditor* ed = m_editor;
    auto add = [&](QMenu& into, const char* caption, std::function<void()> slot) {
        QAction* a = into.addAction(QString::fromLatin1(caption));
        connect(a, &QAction::triggered, this, [this, slot = std::move(slot)] { guarded(slot); });
        return a;
    };
    if (onSelection) {
        const bool any = ed->SelCount() > 0;
        add(*menu, "BRING TO FRONT", [ed] { ed->BringToFront(); })->setEnabled(any);
        add(*menu, "SEND TO BACK", [ed] { ed->SendToBack(); })->setEnabled(any);
        menu->addSeparator();
        add(*menu, "CUT", [ed] { ed->CutSelection(); })->setEnabled(any);
        add(*menu, "COPY", [ed] { ed->CopySelection(); })->setEnabled(any);
        add(*menu, "EMPTY COPY", [ed] { ed->EmptyClipboard(); })->setEnabled(ed->HasClipboard());
        menu->addSeparator();
        QMenu* align = menu->addMenu(QStringLiteral("ALIGN SELECTION"));
        align->setEnabled(any);
        add(*align, "ALIGN TOP", [ed] { ed->AlignSelection(1); });
        add(*align, "ALIGN LEFT", [ed] { ed->AlignSelection(0); });
        add(*align, "ALIGN RIGHT", [ed] { ed->AlignSelection(2); });
        add(*align, "ALIGN BOTTOM", [ed] { ed->AlignSelection(3); });
        return menu;
    }
    if (!ed->HasClipboard()) return nullptr;
    add(*menu, "PASTE", [ed, x, y] { ed->PasteClipboard(x, y); });
    add(*menu, "EMPTY COPY", [ed] { ed->EmptyClipboard(); });
    return menu;
}

} // namespace zorvel
