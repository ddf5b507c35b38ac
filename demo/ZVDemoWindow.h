// The demo's main window: a label, its design editor and inspector, the stored designs and the
// commands that save, print and preview them.
#pragma once

#include "controls/ZVGuard.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVTypes.h"

#include <QAbstractTableModel>
#include <QMainWindow>
#include <QMessageBox>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QToolBar;

namespace zorvel {

class TDM;
class TFEdLabel;
class TRecordBar;
class TZVStockPickerDialog;
class TZVEditor;
class TZVInspector;
class TZVLab;
class TZVSqlDataSet;
class TZvSpinEditFloat;

// NAME and UPDATED of every LABELS row, read once per change of the table, so that painting
// the grid never moves the data set's cursor.
class LabelsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit LabelsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    struct TRow
    {
        QString Name;
        QDateTime Updated;
    };
    void SetRows(std::vector<TRow> rows);
    const std::vector<TRow>& Rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<TRow> m_rows;
};

class ColorSwatch;

class TFMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr const char* kTitle = "ZORVEL_DEMO";
    static constexpr const char* kAskDeleteElements = "\u00BFDELETE SELECTED ELEMENTS?";
    static constexpr const char* kAskDeleteLabel = "\u00BFDELETE SELECTED LABEL?";
    // Asked below the warning when labels of the sheet fall off the paper.
    static constexpr const char* kAskSheetOff = "\u00BFCONTINUE?";
    static constexpr const char* kLabelByCodeName = "Label by code";
    // Asked before a modified design is replaced or the window closes.
    static constexpr const char* kAskSaveChanges = "THE DESIGN HAS CHANGED. SAVE IT?";
    // The last entries of the printer box print into a PDF file and into a ZPL II file.
    static constexpr const char* kPdfPrinter = "PDF FILE";
    static constexpr const char* kZplPrinter = "ZPL FILE";

    // `settingsFile` empty: "demo_zorvel.ini" in the user's configuration folder.
    explicit TFMain(TDM& dm, const QString& settingsFile = {}, QWidget* parent = nullptr);
    ~TFMain() override;

    static QString DefaultSettingsFile();

    // ---- Interaction hooks; QMessageBox, dialogs and menus unless replaced ----
    std::function<bool(const QString& question)> AskYesNo;
    // Save, Discard or Cancel for a modified design about to be left.
    std::function<QMessageBox::StandardButton(const QString& question)> AskSaveChanges;
    std::function<void(const QString& message)> ShowMessage;
    // Runs the name dialog; returns its result code.
    std::function<int(TFEdLabel& dialog)> ExecEdLabel;
    // Runs the new design's dialog (its name and stock); returns its result code.
    std::function<int(TZVStockPickerDialog& dialog)> ExecNewDesign;
    std::function<void(TZVLab& label)> ShowPreview;
    // The file a PDF print goes to; empty cancels.
    std::function<QString()> AskPdfFile;
    // The file a ZPL print goes to; empty cancels.
    std::function<QString()> AskZplFile;
    std::function<void(QMenu& menu, QPoint screenPos)> ExecPopup;
    // The editor properties dialog.
    std::function<void()> ShowEditorProperties;

    // ---- Parts ----
    TDM& DataModule() const { return m_dm; }
    TZVLab& Label() const { return *m_label; }
    TZVEditor& Editor() const { return *m_editor; }
    TZVInspector& Inspector() const { return *m_inspector; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // First, previous, next, last record of the design's master and "n / count".
    TRecordBar* RecordBar() const { return m_recordBar; }
    // Tool-bar actions by their component name ("TBSave", "TBDrawText", ...).
    QAction* Action(const QString& name) const;
    // Menu-bar actions by object name ("actNew", "actUndo", "actZoom100", ...).
    QAction* MenuAction(const QString& name) const;
    // The status bar's pointer position and selection size.
    QLabel* PositionStatus() const { return m_positionStatus; }
    QLabel* SelectionStatus() const { return m_selectionStatus; }
    QComboBox* PrinterBox() const { return m_cbPrinters; }
    QComboBox* ZoomBox() const { return m_cbZoom; }
    QTableView* DesignsGrid() const { return m_grid; }
    LabelsModel& DesignsModel() const { return *m_model; }
    QPlainTextEdit* Memo() const { return m_memo; }
    QPushButton* Button(const QString& caption) const;
    QGroupBox* EditorBox() const { return m_editorBox; }
    QCheckBox* ShowGridBox() const { return m_cbShowGrid; }
    QCheckBox* SnapGridBox() const { return m_cbSnapGrid; }
    QCheckBox* OrtoLinesBox() const { return m_cbOrtoLines; }
    QCheckBox* ShowAlignsBox() const { return m_cbShowAligns; }
    ColorSwatch* GridColorShape() const { return m_shColorGrid; }
    TZvSpinEditFloat* GridStepEdit() const { return m_spinGrid; }
    const QString& SettingsFile() const { return m_settingsFile; }

    // ---- Commands ----
    void SaveLabel();
    void PrintLabel();
    void PreviewLabel();
    // Asks first; nothing without a selection.
    void DeleteSelectedElements();
    void AddLabel();
    void EditLabel();
    void DeleteLabel();
    void CreateLabelByCode();
    // After the save question, asks for a name and a stock: an empty design on that stock in a
    // new row of that name. Giving it the stock is the new design's first undo step.
    void NewLabel();
    // Asks about a modified design; false when the user cancels (or its save fails).
    bool MaybeSaveChanges();
    // The current row's design into the label, then the editor box from the editor.
    void LoadCurrentDesign();
    void RefreshEditorBox();
    // Shows why the database could not be opened (the demo goes on without it).
    void ReportConnectError();
    // Moves LABELS to `row` (0-based), as a click on the grid does.
    void SelectRow(int row);
    // The pop-up menus of the editor, as a right click builds them; null when there is none.
    std::unique_ptr<QMenu> BuildPopup(bool onSelection, int x, int y);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLabel();
    void registerTables();
    void buildEditorAndInspector();
    void buildToolBar();
    void buildBottomPanel();
    void buildEditorBox();
    // ZVDemoWindowMenus.cpp
    void buildMenus();
    void buildStatusBar();
    void updateTitle();
    void showPointer(double x, double y);
    void showSelectionSize();
    // Writes the design into the current row; false (the error shown) when it could not.
    bool saveDesign();
    void installDefaultHooks();
    void readSettings();
    void writeSettings() const;
    void setGridStepLimits();
    void activated();
    void reloadRows();
    void syncGridToCursor();
    void commitMemo();
    void refreshButtons();
    // True when the sheet fits its paper or the user goes on all the same.
    bool sheetFitsOrGoOn();
    // Runs `action`, showing the library's error text instead of letting it escape.
    void guarded(const std::function<void()>& action);

    TDM& m_dm;
    QString m_settingsFile;
    bool m_activatedOnce = false;
    /// Held while the editor box shows the editor's settings, so that it writes none back.
    FeedbackGuard m_filling;
    /// Held while the grid and the memo follow the designs' cursor, so that they do not move it.
    FeedbackGuard m_syncing;

    std::unique_ptr<TZVDataSetRegistry> m_registry;
    // A data set for each table of the database no sample data set reads.
    std::vector<std::unique_ptr<TZVSqlDataSet>> m_tables;
    TZVLab* m_label = nullptr;
    TZVEditor* m_editor = nullptr;
    TZVInspector* m_inspector = nullptr;

    QToolBar* m_toolBar = nullptr;
    TRecordBar* m_recordBar = nullptr;
    QActionGroup* m_drawTools = nullptr;
    QComboBox* m_cbPrinters = nullptr;
    QComboBox* m_cbZoom = nullptr;
    int m_systemPrinters = 0;

    QTableView* m_grid = nullptr;
    LabelsModel* m_model = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QList<QPushButton*> m_buttons;

    QLabel* m_positionStatus = nullptr;
    QLabel* m_selectionStatus = nullptr;
    QActionGroup* m_zoomActions = nullptr;

    QGroupBox* m_editorBox = nullptr;
    QCheckBox* m_cbShowGrid = nullptr;
    QCheckBox* m_cbSnapGrid = nullptr;
    QCheckBox* m_cbOrtoLines = nullptr;
    QCheckBox* m_cbShowAligns = nullptr;
    ColorSwatch* m_shColorGrid = nullptr;
    TZvSpinEditFloat* m_spinGrid = nullptr;
    /// Where the pointer last was on the label, in model units; Edit > Paste puts elements there.
    std::optional<QPoint> m_lastPointer;
};

} // namespace zorvel
