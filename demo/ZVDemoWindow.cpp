// The demo's main window: construction, layout, settings and activation.
#include "demo/ZVDemoWindow.h"

#include "controls/ZVColorSwatch.h"
#include "controls/ZVSpinEditFloat.h"
#include "demo/ZVDemoData.h"
#include "demo/ZVDemoWindowRecordBar.h"
#include "demo/ZVEdLabel.h"
#include "dialogs/ZVStandardDialogs.h"
#include "dialogs/ZVStockPickerDialog.h"
#include "document/ZVCustomLab.h"
#include "editor/ZVCursors.h"
#include "editor/ZVEditor.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVError.h"
#include "foundation/ZVIniFile.h"
#include "inspector/ZVInspector.h"
#include "platform/ZVConnections.h"
#include "platform/ZVSqlDataSet.h"
#include "printsupport/ZVQtPrinter.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTextStream>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zorvel {

namespace {

constexpr TZVColor kSilver = 0xC0C0C0;
constexpr TZVColor kRed = 0x0000FF; // colour values are 0x00BBGGRR
constexpr TZVColor kMultiSelect = 16744576;
constexpr TZVColor kInspectorValues = 10447616;

const char* const kZoomItems[] = {"  50 %", "  75 %", "100 %", "125 %", "150 %", "175 %", "200 %", "250 %",
                                  "300 %",  "350 %",  "400 %", "450 %", "500 %", "WIDTH", "FIT"};

struct TToolDef
{
    const char* Name;
    const char* Text;
    const char* Hint;
    TZVDrawTool Tool;
};

// Left to right, as the tool bar shows them.
const TToolDef kDrawTools[] = {
    {"TBDrawSelection", "Select", "", dwSelection},
    {"TBDrawText", "Text", "DRAW TEXT", dwText},
    {"TBDrawBarcode", "Barcode", "DRAW BARCODE", dwBarCode},
    {"TBDrawLine", "Line", "DRAW LINE", dwLine},
    {"TBRectangle", "Rect", "DRAW RECTANGLE", dwRect},
    {"TBSymbol", "Symbol", "DRAW SYMBOL", dwSymbol},
    {"TBAddText", "Compound", "COMPOUND TEXT", dwAddText},
    {"TBParagraph", "Paragraph", "DRAW PARAGRAPH", dwParagraph},
    {"TBAsktext", "Ask", "INSERT QUESTION-ANSWER TEXT", dwAskText},
    {"TBTable", "Table", "DRAW TABLE FROM DETAIL DATA", dwTable},
    {"TBImage", "Image", "", dwImage},
};

// Sets `key` of `section` in an INI file, keeping every other line; names match without regard
// to case, as the reader matches them.
bool writeIniValue(const QString& path, const QString& section, const QString& key, const QString& value)
{
    QStringList lines;
    {
        QFile in(path);
        if (in.open(QIODevice::ReadOnly | QIODevice::Text))
            lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
    }
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    const QString entry = key + QLatin1Char('=') + value;
    int sectionAt = -1;
    int insertAt = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            if (sectionAt >= 0 && insertAt < 0) insertAt = i;
            if (t.compare(header, Qt::CaseInsensitive) == 0 && sectionAt < 0) sectionAt = i;
            continue;
        }
        if (sectionAt < 0 || insertAt >= 0) continue;
        const int eq = t.indexOf(QLatin1Char('='));
        if (eq > 0 && t.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = entry;
            insertAt = -2;
            break;
        }
    }
    if (sectionAt < 0) {
        lines << header << entry;
    } else if (insertAt != -2) {
        lines.insert(insertAt < 0 ? lines.size() : insertAt, entry);
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    out.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return out.commit();
}

} // namespace

// ---- Designs model ----

void LabelsModel::SetRows(std::vector<TRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int LabelsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int LabelsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant LabelsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const TRow& row = m_rows[static_cast<size_t>(index.row())];
    if (index.column() == 0) return row.Name;
    return row.Updated.isValid() ? row.Updated.toString(QStringLiteral("dd-MM-yyyy")) : QString();
}

QVariant LabelsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return section == 0 ? QStringLiteral("NAME") : QStringLiteral("UPDATED");
}

// ---- Window ----

TFMain::TFMain(TDM& dm, const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent), m_dm(dm),
      m_settingsFile(settingsFile.isEmpty() ? DefaultSettingsFile() : settingsFile)
{
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QString::fromLatin1(kTitle));
    installDefaultHooks();
    buildLabel();
    buildEditorAndInspector();
    buildToolBar();
    buildBottomPanel();
    buildEditorBox();
    buildMenus();
    buildStatusBar();

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(m_editor);
    top->addWidget(m_inspector);
    top->setStretchFactor(0, 1);
    top->setSizes({900, 280});

    auto* bottom = new QWidget;
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(4, 4, 4, 4);
    bottomLayout->addWidget(m_grid, 3);
    bottomLayout->addWidget(m_memo, 2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : m_buttons)
        buttons->addWidget(b);
    buttons->addStretch();
    bottomLayout->addLayout(buttons);
    bottomLayout->addWidget(m_editorBox);

    auto* central = new QSplitter(Qt::Vertical);
    central->addWidget(top);
    central->addWidget(bottom);
    central->setStretchFactor(0, 1);
    central->setSizes({620, 200});
    setCentralWidget(central);
    resize(1240, 860);

    m_cbZoom->setCurrentIndex(static_cast<int>(m_editor->Zoom()));
    RefreshEditorBox();
    setGridStepLimits();
    readSettings();
    if (m_editor->DrawTool() == dwSelection) Action(QStringLiteral("TBDrawSelection"))->setChecked(true);
    reloadRows();
    updateTitle();

    // Key preview: the window sees Delete before its controls do.
    qApp->installEventFilter(this);
    TZVStandardDialogs::Instance().Parent = this;
}

TFMain::~TFMain()
{
    qApp->removeEventFilter(this);
    if (TZVStandardDialogs::Instance().Parent == this) TZVStandardDialogs::Instance().Parent = nullptr;
    writeSettings();
    // The editor and inspector go before the label they show.
    m_editor->SetInspector(nullptr);
    m_editor->SetZorvel(nullptr);
    delete m_editor;
    delete m_inspector;
    delete m_label;
}

QString TFMain::DefaultSettingsFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("demo_zorvel.ini"));
}

void TFMain::installDefaultHooks()
{
    AskYesNo = [this](const QString& question) {
        return QMessageBox::question(this, QString::fromLatin1(kTitle), question) == QMessageBox::Yes;
    };
    ShowMessage = [this](const QString& message) {
        QMessageBox::information(this, QString::fromLatin1(kTitle), message);
    };
    AskSaveChanges = [this](const QString& question) {
        return QMessageBox::question(this, QString::fromLatin1(kTitle), question,
                                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                     QMessageBox::Save);
    };
    ExecEdLabel = [](TFEdLabel& dialog) { return dialog.exec(); };
    ExecNewDesign = [](TZVStockPickerDialog& dialog) { return dialog.exec(); };
    ShowPreview = [](TZVLab& label) { label.Preview(); };
    AskPdfFile = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("PRINT TO PDF"), QDir::homePath(),
                                            QStringLiteral("PDF (*.pdf)"));
    };
    AskZplFile = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("PRINT TO ZPL"), QDir::homePath(),
                                            QStringLiteral("ZPL II (*.zpl)"));
    };
    ExecPopup = [](QMenu& menu, QPoint pos) { menu.exec(pos); };
    ShowEditorProperties = [this] { m_editor->ShowProperties(); };
}

void TFMain::buildLabel()
{
    m_registry = std::make_unique<TZVDataSetRegistry>();
    m_label = new TZVLab;
    m_label->setObjectName(QStringLiteral("ZVLab1"));
    m_label->SetDataSetRegistry(m_registry.get());
    if (m_dm.Connected()) {
        m_registry->Add(&m_dm.QyPrinters(), QStringLiteral("DM"));
        m_registry->Add(&m_dm.QyCharacteristic(), QStringLiteral("DM"));
        m_registry->Add(&m_dm.TbEmployees(), QStringLiteral("DM"));
        m_label->SetDataSet(&m_dm.QyPrinters());
        m_label->SetDetail(&m_dm.QyCharacteristic());
        guarded([this] { registerTables(); });
    }
    m_label->SetOpenCloseData(true);
    m_label->SetDataAccessType(daDataSet);
    TZVFrame& frame = m_label->Frame();
    frame.SetStyle(fsNone);
    frame.SetDist2(0.1f);
    frame.SetPenWidth(0.02f);
    TZVMeasure& m = m_label->Measure();
    m.SetPaper(210, 297, 9);
    m.SetPaperName(QStringLiteral("A4"));
    m.SetLabelType(ltRect);
    m.SetNuHor(7);
    m.SetNuVer(3);
    m.SetWidth(60);
    m.SetHeight(35);
    m.SetMarLeft(5);
    m.SetMarTop(10);
    m.SetDiHor(4);
    m.SetDiVer(4);
    m.SetLabelName(QStringLiteral("My Label"));
    m_label->BackSurf().SetAlignColor(kRed);
    m_label->BackSurf().SetStyle(biNone);
    m_label->OnMessage = [this](QObject*, const QString& message) {
        if (ShowMessage) ShowMessage(message);
    };
    // The design-time settings are where the user starts, not a change to be saved.
    m_label->SetModified(false);
}

// Every table of the database is offered to designs under its own name, besides the module's
// data sets; a table one of them reads already is not offered twice.
void TFMain::registerTables()
{
    const TZVSqlDataSet& sample = m_dm.QyPrinters();
    TZVConnections* connections = sample.Connections();
    QStringList covered;
    for (const TZVSqlDataSet* known : {&m_dm.QyPrinters(), &m_dm.QyCharacteristic(), &m_dm.TbEmployees()})
        if (!known->TableName().isEmpty()) covered << known->TableName();
    const QStringList tables =
        (connections ? *connections : TZVConnections::Default()).TableNames(sample.DatabaseName());
    for (const QString& table : tables) {
        if (covered.contains(table, Qt::CaseInsensitive)) continue;
        auto dataSet = std::make_unique<TZVSqlDataSet>();
        dataSet->SetName(table);
        dataSet->SetConnections(connections);
        dataSet->SetDatabaseName(sample.DatabaseName());
        dataSet->SetTableName(table);
        m_registry->Add(dataSet.get(), QStringLiteral("DM"));
        m_tables.push_back(std::move(dataSet));
    }
}

void TFMain::buildEditorAndInspector()
{
    m_inspector = new TZVInspector;
    m_inspector->setObjectName(QStringLiteral("ZVInspector"));
    m_inspector->setFont(QFont(QStringLiteral("Verdana")));
    m_inspector->SetBorderStyle(TZVCustomInspector::bsNone);
    m_inspector->SetNamesColor(Qt::black);
    m_inspector->SetValuesColor(toQColor(kInspectorValues));
    m_inspector->SetDropDownOnSelect(true);
    m_inspector->SetInspectMode(imClick);
    m_inspector->OnFloatEdit = [](QObject*, const QString& name, double& step, double& min, double& max) {
        if (name.compare(QLatin1String("PenWidth"), Qt::CaseInsensitive) == 0) {
            step = 0.01, min = 0, max = 1;
        } else if (name.compare(QLatin1String("GapX"), Qt::CaseInsensitive) == 0 ||
                   name.compare(QLatin1String("GapY"), Qt::CaseInsensitive) == 0 ||
                   name.compare(QLatin1String("Separation"), Qt::CaseInsensitive) == 0) {
            step = 0.01, min = 0.01, max = 5;
        }
    };
    m_inspector->setMinimumWidth(200);

    m_editor = new TZVEditor;
    m_editor->setObjectName(QStringLiteral("ZVEditor"));
    m_editor->SetZorvel(m_label);
    m_editor->SetInspector(m_inspector);
    m_editor->SetColor(kZvBtnFace);
    m_editor->Grid()->SetColor(kSilver);
    m_editor->Grid()->SetIncX(5);
    m_editor->Grid()->SetIncY(5);
    m_editor->Rulers()->SetSize(22);
    m_editor->Rulers()->SetFont(QFont(QStringLiteral("Tahoma")));
    m_editor->ShowGuideMarks(true);
    m_editor->SetLineMove(lmOrto);
    m_editor->SetSelMultiColor(kMultiSelect);
    m_editor->SetPictureFolder(TDM::SamplePictureFolder());
    m_inspector->SetSplitPos(92);

    m_editor->OnRightMouse = [this](QObject*, bool select, int x, int y, int posX, int posY) {
        std::unique_ptr<QMenu> menu = BuildPopup(select, x, y);
        if (menu && ExecPopup) ExecPopup(*menu, QPoint(posX, posY));
    };
    // Backspace in the editor deletes too; it asks as the Delete key does.
    m_editor->OnBeforeDelete = [this](QObject*, bool& allow) {
        allow = AskYesNo && AskYesNo(QString::fromUtf8(kAskDeleteElements));
    };
    // Ctrl+wheel zooms in the editor itself; the zoom box and the View menu follow.
    m_editor->OnZoomChange = [this](QObject*) {
        if (m_cbZoom) m_cbZoom->setCurrentIndex(static_cast<int>(m_editor->Zoom()));
    };
    m_editor->OnChangeDrawTool = [this](QObject*, TZVDrawTool, TZVDrawTool tool) {
        if (!m_drawTools) return;
        for (QAction* a : m_drawTools->actions())
            if (a->data().toInt() == static_cast<int>(tool)) a->setChecked(true);
    };
}

void TFMain::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_toolBar->setIconSize(QSize(18, 18));
    auto add = [this](const char* name, const char* text, const char* hint, auto slot) {
        QAction* a = m_toolBar->addAction(QString::fromLatin1(text));
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(QString::fromLatin1(hint));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    add("TBSave", "Save", "SAVE LABEL", [this] { SaveLabel(); });
    add("TBPrint", "Print", "PRINT LABEL", [this] { PrintLabel(); });
    m_cbPrinters = new QComboBox;
    m_cbPrinters->setObjectName(QStringLiteral("CBPrinters"));
    m_cbPrinters->setMinimumWidth(160);
    m_toolBar->addWidget(m_cbPrinters);
    add("TBPreview", "Preview", "SHOW PREVIEW", [this] { PreviewLabel(); });
    add("TBDelete", "Delete", "DELETE SELECTED ELEMENTS", [this] { DeleteSelectedElements(); });
    m_toolBar->addSeparator();

    m_drawTools = new QActionGroup(this);
    m_drawTools->setExclusive(true);
    for (const TToolDef& def : kDrawTools) {
        const TZVDrawTool tool = def.Tool;
        QAction* a = add(def.Name, def.Text, def.Hint, [this, tool] { m_editor->SetDrawTool(tool); });
        a->setCheckable(true);
        a->setData(static_cast<int>(tool));
        m_drawTools->addAction(a);
        // The tools show the glyph of the cursor they give the label; commands keep their words.
        a->setIcon(ZvToolIcon(tool));
        if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(a)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    m_toolBar->addSeparator();

    m_cbZoom = new QComboBox;
    m_cbZoom->setObjectName(QStringLiteral("CBZoom"));
    for (const char* item : kZoomItems)
        m_cbZoom->addItem(QString::fromLatin1(item));
    connect(m_cbZoom, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index != static_cast<int>(m_editor->Zoom()))
            m_editor->SetZoom(static_cast<TZVZoom>(index));
    });
    m_toolBar->addWidget(m_cbZoom);
    add("TBSettings", "Settings", "LABEL SETTINGS", [this] {
        guarded([this] { m_label->ShowLabelProperties(0); });
        // The data page may have given the design another master, or none.
        m_recordBar->Sync();
    });
    add("TBList", "List", "LABEL'S LIST", [this] { guarded([this] { m_label->ShowLabelDefs(); }); });

    m_recordBar = new TRecordBar(this);
    addToolBar(m_recordBar);
    m_recordBar->SetLabel(m_label);

    m_systemPrinters = static_cast<int>(TZVQtPrinter().Printers().size());
    m_cbPrinters->addItems(TZVQtPrinter().Printers());
    m_cbPrinters->addItem(QString::fromLatin1(kPdfPrinter));
    m_cbPrinters->addItem(QString::fromLatin1(kZplPrinter));
}

void TFMain::buildBottomPanel()
{
    m_model = new LabelsModel(this);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->setColumnWidth(0, 170);
    m_grid->setColumnWidth(1, 74);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    connectGuarded(m_syncing, m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [this](const QModelIndex& current) {
                       if (current.isValid()) SelectRow(current.row());
                   });

    m_memo = new QPlainTextEdit;
    m_memo->setObjectName(QStringLiteral("DBMemo1"));
    m_memo->installEventFilter(this);

    auto button = [this](const char* caption, auto slot) {
        auto* b = new QPushButton(QString::fromLatin1(caption));
        b->setObjectName(QString::fromLatin1(caption));
        connect(b, &QPushButton::clicked, this, slot);
        m_buttons << b;
    };
    button("ADD", [this] { AddLabel(); });
    button("EDIT", [this] { EditLabel(); });
    button("DELETE", [this] { DeleteLabel(); });
    button("CREATE LABEL BY CODE", [this] { CreateLabelByCode(); });

    if (m_dm.Connected()) {
        TZVDataSet& labels = m_dm.TbLabels();
        connect(&labels, &TZVDataSet::AfterScroll, this, [this] { syncGridToCursor(); });
        connect(&m_dm, &TDM::DesignRowChanged, this, [this] {
            if (m_dm.LoadOnScroll()) LoadCurrentDesign();
        });
    }
}

void TFMain::buildEditorBox()
{
    m_editorBox = new QGroupBox(QStringLiteral(" EDITOR"));
    m_editorBox->setObjectName(QStringLiteral("GBEditor"));
    m_editorBox->installEventFilter(this);
    m_editorBox->setToolTip(QStringLiteral("DOUBLE CLICK: EDITOR PROPERTIES"));
    auto check = [this](const char* name, const char* caption) {
        auto* c = new QCheckBox(QString::fromLatin1(caption), m_editorBox);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    m_cbShowGrid = check("cBShowGrid", "SHOW GRID");
    m_cbSnapGrid = check("cBSnapGrid", "SNAP TO GRID");
    m_cbOrtoLines = check("cBOrtoLines", "ORTO LINES");
    m_cbShowAligns = check("CBShowAligns", "SHOW ALIGNS");
    m_shColorGrid = new ColorSwatch(m_editorBox);
    m_shColorGrid->setFixedSize(40, 20);
    m_shColorGrid->setObjectName(QStringLiteral("ShColorGrid"));
    m_shColorGrid->setToolTip(QStringLiteral("GRID COLOR"));
    m_spinGrid = new TZvSpinEditFloat(m_editorBox);
    m_spinGrid->setObjectName(QStringLiteral("ZvSpinGrid"));
    m_spinGrid->setToolTip(QStringLiteral("GRID STEP"));
    m_spinGrid->setFixedWidth(70);

    connectGuarded(m_filling, m_cbShowGrid, &QCheckBox::toggled, this,
                   [this](bool on) { m_editor->Grid()->SetShow(on); });
    connectGuarded(m_filling, m_cbSnapGrid, &QCheckBox::toggled, this,
                   [this](bool on) { m_editor->SetSnap(on ? snGrid : snNone); });
    connectGuarded(m_filling, m_cbOrtoLines, &QCheckBox::toggled, this,
                   [this](bool on) { m_editor->SetLineMove(on ? lmOrto : lmNone); });
    connectGuarded(m_filling, m_cbShowAligns, &QCheckBox::toggled, this, [this](bool on) {
        m_label->BackSurf().SetShowAlign(on);
        m_editor->ShowGuideMarks(on);
    });
    connect(m_shColorGrid, &ColorSwatch::ColorPicked, this, [this](TZVColor c) { m_editor->Grid()->SetColor(c); });
    m_spinGrid->OnChange = m_filling.guarded([this](QObject*) {
        const auto step = static_cast<float>(m_spinGrid->Value());
        if (step <= 0) return;
        m_editor->Grid()->SetIncX(step);
        m_editor->Grid()->SetIncY(step);
    });

    auto* layout = new QVBoxLayout(m_editorBox);
    layout->addWidget(m_cbShowGrid);
    layout->addWidget(m_cbSnapGrid);
    layout->addWidget(m_cbOrtoLines);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("GRID COLOR"), m_editorBox));
    colorRow->addWidget(m_shColorGrid);
    layout->addLayout(colorRow);
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(new QLabel(QStringLiteral("GRID STEP"), m_editorBox));
    stepRow->addWidget(m_spinGrid);
    layout->addLayout(stepRow);
    layout->addWidget(m_cbShowAligns);
    layout->addStretch();
}

void TFMain::RefreshEditorBox()
{
    const auto filling = m_filling.hold();
    m_cbZoom->setCurrentIndex(static_cast<int>(m_editor->Zoom()));
    m_cbShowGrid->setChecked(m_editor->Grid()->Show());
    m_cbSnapGrid->setChecked(m_editor->Snap() == snGrid);
    m_cbOrtoLines->setChecked(m_editor->LineMove() == lmOrto);
    m_shColorGrid->SetColor(m_editor->Grid()->Color());
    m_spinGrid->SetValue(m_editor->Grid()->GetIncX());
    const bool aligns = m_label->BackSurf().ShowAlign();
    m_cbShowAligns->setChecked(aligns);
    m_editor->ShowGuideMarks(aligns);
}

void TFMain::setGridStepLimits()
{
    struct TLimits
    {
        double Min, Max, Step;
    };
    static constexpr TLimits kByUnits[] = {{2, 20, 2}, {0.1, 2, 0.1}, {0.5, 5, 0.5}}; // mm, inch, cm
    const TLimits& l = kByUnits[std::min<int>(m_label->Units(), 2)];
    m_spinGrid->SetMinValue(l.Min);
    m_spinGrid->SetMaxValue(l.Max);
    m_spinGrid->SetIncrement(l.Step);
}

void TFMain::readSettings()
{
    const TZVIniFile ini(m_settingsFile);
    bool ok = false;
    int index = ini.readString(u"options", u"printindex", QStringLiteral("0")).trimmed().toInt(&ok);
    if (!ok || index < 0 || index >= m_cbPrinters->count()) index = 0;
    m_cbPrinters->setCurrentIndex(index);
}

void TFMain::writeSettings() const
{
    writeIniValue(m_settingsFile, QStringLiteral("options"), QStringLiteral("printindex"),
                  QString::number(std::max(0, m_cbPrinters->currentIndex())));
}

QAction* TFMain::Action(const QString& name) const
{
    for (QAction* a : m_toolBar->actions())
        if (a->objectName() == name) return a;
    return nullptr;
}

QPushButton* TFMain::Button(const QString& caption) const
{
    for (QPushButton* b : m_buttons)
        if (b->text() == caption) return b;
    return nullptr;
}

bool TFMain::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) activated();
    return QMainWindow::event(event);
}

void TFMain::activated()
{
    // Only the first activation loads: reloading whenever a dialog closes would throw away
    // what the label settings or element dialogs just changed.
    if (!m_activatedOnce) {
        m_activatedOnce = true;
        LoadCurrentDesign();
    }
    m_dm.SetLoadOnScroll(true);
}

void TFMain::ReportConnectError()
{
    if (m_dm.Connected() || !ShowMessage) return;
    ShowMessage(QString::fromLatin1(kDemoCantConnect) + QLatin1Char('\n') + m_dm.ConnectError());
}

bool TFMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editorBox && event->type() == QEvent::MouseButtonDblClick) {
        if (ShowEditorProperties) ShowEditorProperties();
        RefreshEditorBox();
        return true;
    }
    if (watched == m_memo && event->type() == QEvent::FocusOut) commitMemo();
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        auto* w = qobject_cast<QWidget*>(watched);
        // Delete in a text field edits the text, not the design.
        const bool textInput = qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
                               qobject_cast<QAbstractSpinBox*>(w) || (w && w->inherits("QTextEdit"));
        if (w && w->window() == this && !textInput && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            DeleteSelectedElements();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zorvel
