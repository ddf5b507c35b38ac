// The table properties dialog.
#include "dialogs/ZVTableProps.h"

#include "controls/ZVColorSwatch.h"
#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVUndoHistory.h"
#include "elements/ZVTable.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStrings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zorvel {
namespace {

constexpr double kLengthStep = 0.5;
constexpr double kMaxLength = 10000;

QDoubleSpinBox* lengthBox(const char* name, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, kMaxLength);
    box->setDecimals(2);
    box->setSingleStep(kLengthStep);
    return box;
}

QToolButton* toggleButton(const char* name, const QString& text, const QString& icon, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(true);
    button->setText(text);
    button->setToolTip(text);
    if (!icon.isEmpty()) button->setIcon(QIcon::fromTheme(icon));
    return button;
}

// Shows `name` in a font box, adding it when the list lacks it, so a font that is not
// installed is still shown as the one the cell uses.
void selectFont(QComboBox* box, const QString& name)
{
    int index = box->findText(name, Qt::MatchFixedString);
    if (index < 0 && !name.isEmpty()) {
        box->insertItem(0, name);
        index = 0;
    }
    box->setCurrentIndex(index);
}

// The detail data set's fields exist only while it is open; a closed one is opened for the
// look-up and closed again. Throws EZvError when it does not open.
QStringList detailFieldLabels(const TZVCustomLab& label)
{
    QStringList list;
    TZVDataSet* detail = label.Detail();
    const bool open = detail && !detail->Active();
    if (open) detail->Open();
    label.DetailFieldLabels(list);
    if (open) detail->Close();
    return list;
}

} // namespace

// ---- Dialog -----------------------------------------------------------------------------------

TPropTable::TPropTable(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PropTable"));
    ShowError = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };
    buildControls();
    fillLanguage();
    updateButtons();
}

TPropTable::~TPropTable() = default;

int TPropTable::Execute(TZVCustomLab& label, TZVTable& table, QWidget* parent)
{
    TZVChangeScope change(label, tr("Table Properties"));
    TPropTable dialog(parent);
    dialog.Prepare(label, table);
    const int result = dialog.exec();
    if (result != QDialog::Accepted)
        if (TZVEditorLink* editor = label.Editor()) editor->Refresh(false);
    return result;
}

void TPropTable::Prepare(TZVCustomLab& label, TZVTable& table)
{
    const auto filling = m_filling.hold();
    m_label = &label;
    m_table = &table;
    fillLanguage();
    m_title->setText(table.TitleText());
    m_titleVisible->setChecked(table.TitleVisible());
    m_titleHeight->setValue(table.GetTitleHeight());
    m_rowHeight->setValue(table.GetRowHeight());
    if (QAbstractButton* mode = m_drawMode->button(table.DrawMode())) mode->setChecked(true);
    fillFontLists();
    fillCell(Part::Title);
    fillFieldList();
    fillColumnList();
    SelectColumn(table.ColumnCount() > 0 ? 0 : -1);
}

// ---- Building ---------------------------------------------------------------------------------

void TPropTable::buildControls()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl"));
    m_pages->addTab(buildGeneralPage(), QStringLiteral("General"));
    m_pages->addTab(buildColumnsPage(), QString());
    m_captions.push_back({"ZvCol", [this](const QString& text) { m_pages->setTabText(1, text); }});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    for (Part part : {Part::Title, Part::Data, Part::Header, Part::Footer})
        connectCell(part);
}

QWidget* TPropTable::buildGeneralPage()
{
    auto* page = new QWidget(this);
    const auto caption = [this, page](const char* key) {
        auto* label = new QLabel(page);
        m_captions.push_back({key, [label](const QString& text) { label->setText(text); }});
        return label;
    };

    auto* titleGroup = new QGroupBox(page);
    m_captions.push_back({"ZvTitle", [titleGroup](const QString& text) { titleGroup->setTitle(text); }});
    auto* grid = new QGridLayout(titleGroup);
    m_title = new QLineEdit(titleGroup);
    m_title->setObjectName(QStringLiteral("EdTitle"));
    m_titleVisible = new QCheckBox(titleGroup);
    m_titleVisible->setObjectName(QStringLiteral("CBoxVisible"));
    m_captions.push_back({"ZvShow", [this](const QString& text) { m_titleVisible->setText(text); }});
    m_titleHeight = lengthBox("SpEdTitleHeight", titleGroup);
    grid->addWidget(caption("ZvText"), 0, 0);
    grid->addWidget(m_title, 0, 1, 1, 3);
    grid->addWidget(m_titleVisible, 0, 4);
    grid->addWidget(caption("ZvHeight"), 1, 0);
    grid->addWidget(m_titleHeight, 1, 1);
    m_cells[size_t(Part::Title)] =
        buildCell(Part::Title,
                  {"CBoxTFonts", "SpEdTitleFontHeight", "ShFontColor", "ShBackColor", "SBTBold",
                   "SBTItalic", "SBTUnderline", "SBTLeft", "SBTCenter", "SBTRight"},
                  "ZvBackColor", titleGroup, grid, 2);

    m_rowHeight = lengthBox("SpEdRowHeight", page);
    auto* modeGroup = new QGroupBox(page);
    modeGroup->setObjectName(QStringLiteral("RGDm"));
    m_captions.push_back({"ZvStyle", [modeGroup](const QString& text) { modeGroup->setTitle(text); }});
    m_drawMode = new QButtonGroup(modeGroup);
    auto* modeLayout = new QHBoxLayout(modeGroup);
    const char* modeKeys[] = {"ZvCol", "ZvRow"};
    for (int mode = 0; mode < 2; ++mode) {
        auto* radio = new QRadioButton(modeGroup);
        m_captions.push_back({modeKeys[mode], [radio](const QString& text) { radio->setText(text); }});
        m_drawMode->addButton(radio, mode);
        modeLayout->addWidget(radio);
    }

    auto* rows = new QHBoxLayout;
    rows->addWidget(caption("ZvRowHeight"));
    rows->addWidget(m_rowHeight);
    rows->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(titleGroup);
    layout->addLayout(rows);
    layout->addWidget(modeGroup);
    layout->addStretch();

    connectGuarded(m_filling, m_title, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_table) m_table->SetTitleText(text);
    });
    connectGuarded(m_filling, m_titleVisible, &QCheckBox::toggled, this, [this](bool on) {
        if (m_table) m_table->SetTitleVisible(on);
    });
    connectGuarded(m_filling, m_titleHeight, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (m_table) m_table->SetTitleHeight(float(value));
    });
    connectGuarded(m_filling, m_rowHeight, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (m_table) m_table->SetRowHeight(float(value));
    });
    connectGuarded(m_filling, m_drawMode, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on && m_table) m_table->SetDrawMode(std::uint8_t(id));
    });
    return page;
}

QWidget* TPropTable::buildColumnsPage()
{
    auto* page = new QWidget(this);
    const auto caption = [this](const char* key, QWidget* parent) {
        auto* label = new QLabel(parent);
        m_captions.push_back({key, [label](const QString& text) { label->setText(text); }});
        return label;
    };

    m_columns = new QListWidget(page);
    m_columns->setObjectName(QStringLiteral("ListColumns"));
    m_up = new QToolButton(page);
    m_up->setObjectName(QStringLiteral("SBUp"));
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(page);
    m_down->setObjectName(QStringLiteral("SBDown"));
    m_down->setArrowType(Qt::DownArrow);
    m_add = new QPushButton(page);
    m_add->setObjectName(QStringLiteral("BuAdd"));
    m_captions.push_back({"ZvAdd", [this](const QString& text) { m_add->setText(text); }});
    m_delete = new QPushButton(page);
    m_delete->setObjectName(QStringLiteral("BuDelete"));
    m_captions.push_back({"ZvDelete", [this](const QString& text) { m_delete->setText(text); }});

    m_columnPages = new QTabWidget(page);
    m_columnPages->setObjectName(QStringLiteral("ColumnPages"));

    // Column.
    auto* data = new QWidget(m_columnPages);
    auto* dataGrid = new QGridLayout(data);
    m_fields = new QComboBox(data);
    m_fields->setObjectName(QStringLiteral("CBoxFields"));
    m_width = new QSpinBox(data);
    m_width->setObjectName(QStringLiteral("SEWidth"));
    m_width->setRange(TZVTable::kMinColumnWidth, 100);
    m_format = new QLineEdit(data);
    m_format->setObjectName(QStringLiteral("EdFormat"));
    dataGrid->addWidget(caption("ZVField", data), 0, 0);
    dataGrid->addWidget(m_fields, 0, 1, 1, 3);
    dataGrid->addWidget(new QLabel(QStringLiteral("Width (%)"), data), 1, 0);
    dataGrid->addWidget(m_width, 1, 1);
    dataGrid->addWidget(caption("ZvFormat", data), 1, 2);
    dataGrid->addWidget(m_format, 1, 3);
    m_cells[size_t(Part::Data)] =
        buildCell(Part::Data,
                  {"CBoxColFont", "SpEdCFontHeight", "ShColFontColor", "ShColColor", "SBCBold",
                   "SBCItalic", "SBCUnderline", "SBCLeft", "SBCCenter", "SBCRight"},
                  "ZvColor", data, dataGrid, 2);
    dataGrid->setRowStretch(dataGrid->rowCount(), 1);

    // Header.
    auto* header = new QWidget(m_columnPages);
    auto* headerGrid = new QGridLayout(header);
    m_headerText = new QLineEdit(header);
    m_headerText->setObjectName(QStringLiteral("EdColumnTitle"));
    m_headerVisible = new QCheckBox(header);
    m_headerVisible->setObjectName(QStringLiteral("CBVisibleColTit"));
    m_captions.push_back({"ZvShow", [this](const QString& text) { m_headerVisible->setText(text); }});
    m_headerHeight = lengthBox("SpEdHHeight", header);
    headerGrid->addWidget(caption("ZvText", header), 0, 0);
    headerGrid->addWidget(m_headerText, 0, 1, 1, 3);
    headerGrid->addWidget(m_headerVisible, 0, 4);
    headerGrid->addWidget(caption("ZvHeight", header), 1, 0);
    headerGrid->addWidget(m_headerHeight, 1, 1);
    m_cells[size_t(Part::Header)] =
        buildCell(Part::Header,
                  {"CBoxHFont", "SpEdHFontHeight", "ShHFontColor", "ShHColor", "SBCTBold", "SBCTItalic",
                   "SBCTUnderline", "SBCTLeft", "SBCTCenter", "SBCTRight"},
                  "ZvColor", header, headerGrid, 2);
    headerGrid->setRowStretch(headerGrid->rowCount(), 1);

    // Footer.
    auto* footer = new QWidget(m_columnPages);
    auto* footerGrid = new QGridLayout(footer);
    m_footerVisible = new QCheckBox(footer);
    m_footerVisible->setObjectName(QStringLiteral("CBVisibleFooter"));
    m_captions.push_back({"ZvShow", [this](const QString& text) { m_footerVisible->setText(text); }});
    m_footerHeight = lengthBox("SpEdFHeight", footer);
    footerGrid->addWidget(caption("ZvHeight", footer), 0, 0);
    footerGrid->addWidget(m_footerHeight, 0, 1);
    footerGrid->addWidget(m_footerVisible, 0, 4);
    m_cells[size_t(Part::Footer)] =
        buildCell(Part::Footer,
                  {"CBoxFFont", "SpEdFFontHeight", "ShFFontColor", "ShFColor", "SBFBold", "SBFItalic",
                   "SBFUnderline", "SBFLeft", "SBFCenter", "SBFRight"},
                  "ZvColor", footer, footerGrid, 1);
    auto* calcGroup = new QGroupBox(footer);
    calcGroup->setObjectName(QStringLiteral("RGCalc"));
    m_footerCalc = new QButtonGroup(calcGroup);
    auto* calcLayout = new QHBoxLayout(calcGroup);
    const char* calcs[] = {"Sum", "Avg", "Min", "Max", "Count"};
    for (int calc = fcSum; calc <= fcCount; ++calc) {
        auto* radio = new QRadioButton(QString::fromLatin1(calcs[calc]), calcGroup);
        m_footerCalc->addButton(radio, calc);
        calcLayout->addWidget(radio);
    }
    footerGrid->addWidget(calcGroup, footerGrid->rowCount(), 0, 1, 5);
    footerGrid->setRowStretch(footerGrid->rowCount(), 1);

    m_columnPages->addTab(data, QString());
    m_columnPages->addTab(header, QString());
    m_columnPages->addTab(footer, QString());
    m_captions.push_back({"ZvCol", [this](const QString& text) { m_columnPages->setTabText(0, text); }});
    m_captions.push_back({"ZvHeader", [this](const QString& text) { m_columnPages->setTabText(1, text); }});
    m_captions.push_back({"ZvFooter", [this](const QString& text) { m_columnPages->setTabText(2, text); }});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addStretch();
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    auto* list = new QVBoxLayout;
    list->addWidget(m_columns, 1);
    list->addLayout(buttons);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(list, 2);
    layout->addWidget(m_columnPages, 5);

    connect(m_columns, &QListWidget::currentRowChanged, this, [this] { showColumn(); });
    connect(m_up, &QToolButton::clicked, this, &TPropTable::MoveUp);
    connect(m_down, &QToolButton::clicked, this, &TPropTable::MoveDown);
    connect(m_add, &QPushButton::clicked, this, &TPropTable::AddColumn);
    connect(m_delete, &QPushButton::clicked, this, &TPropTable::DeleteColumn);
    connectGuarded(m_filling, m_fields, &QComboBox::currentIndexChanged, this,
                   [this](int index) { fieldChosen(index); });
    connectGuarded(m_filling, m_width, &QSpinBox::valueChanged, this, [this](int value) {
        TZVColumn* c = column();
        if (!c) return;
        c->SetWidth(value);
        // The table keeps every column at 5 percent or more: show what it took.
        const auto filling = m_filling.hold();
        m_width->setValue(c->Width());
    });
    connectGuarded(m_filling, m_format, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (TZVColumn* c = column()) c->SetFormat(text);
    });
    connectGuarded(m_filling, m_headerText, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (TZVColumn* c = column()) c->SetHeaderText(text);
    });
    connectGuarded(m_filling, m_headerVisible, &QCheckBox::toggled, this, [this](bool on) {
        if (TZVColumn* c = column()) c->SetHeaderVisible(on);
    });
    connectGuarded(m_filling, m_headerHeight, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (TZVColumn* c = column()) c->SetHeaderHeight(float(value));
    });
    connectGuarded(m_filling, m_footerVisible, &QCheckBox::toggled, this, [this](bool on) {
        if (TZVColumn* c = column()) c->SetFooterVisible(on);
    });
    connectGuarded(m_filling, m_footerHeight, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (TZVColumn* c = column()) c->SetFooterHeight(float(value));
    });
    connectGuarded(m_filling, m_footerCalc, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (TZVColumn* c = column(); c && on) c->SetFooterCalc(std::uint8_t(id));
    });
    return page;
}

TPropTable::CellControls TPropTable::buildCell(Part, const Names& names, const char* colorKey,
                                               QWidget* page, QGridLayout* grid, int row)
{
    const auto caption = [this, page](const char* key) {
        auto* label = new QLabel(page);
        m_captions.push_back({key, [label](const QString& text) { label->setText(text); }});
        return label;
    };
    CellControls cell;
    cell.Font = new QComboBox(page);
    cell.Font->setObjectName(QString::fromLatin1(names.Font));
    cell.FontHeight = lengthBox(names.FontHeight, page);
    cell.FontColor = new ColorSwatch(page);
    cell.FontColor->setObjectName(QString::fromLatin1(names.FontColor));
    cell.Color = new ColorSwatch(page);
    cell.Color->setObjectName(QString::fromLatin1(names.Color));
    cell.Bold = toggleButton(names.Bold, QStringLiteral("B"), QStringLiteral("format-text-bold"), page);
    cell.Italic = toggleButton(names.Italic, QStringLiteral("I"), QStringLiteral("format-text-italic"), page);
    cell.Underline =
        toggleButton(names.Underline, QStringLiteral("U"), QStringLiteral("format-text-underline"), page);
    cell.Align = new QButtonGroup(page);
    cell.Align->addButton(toggleButton(names.Left, QStringLiteral("Left"),
                                       QStringLiteral("format-justify-left"), page),
                          caLeft);
    cell.Align->addButton(toggleButton(names.Center, QStringLiteral("Center"),
                                       QStringLiteral("format-justify-center"), page),
                          caCenter);
    cell.Align->addButton(toggleButton(names.Right, QStringLiteral("Right"),
                                       QStringLiteral("format-justify-right"), page),
                          caRight);

    grid->addWidget(caption("ZvFont"), row, 0);
    grid->addWidget(cell.Font, row, 1, 1, 3);
    grid->addWidget(caption("ZvFontHeight"), row + 1, 0);
    grid->addWidget(cell.FontHeight, row + 1, 1);
    grid->addWidget(caption("ZvFontColor"), row + 2, 0);
    grid->addWidget(cell.FontColor, row + 2, 1);
    grid->addWidget(caption(colorKey), row + 2, 2);
    grid->addWidget(cell.Color, row + 2, 3);
    auto* style = new QHBoxLayout;
    for (QToolButton* button : {cell.Bold, cell.Italic, cell.Underline})
        style->addWidget(button);
    style->addSpacing(12);
    for (int align : {caLeft, caCenter, caRight})
        style->addWidget(cell.Align->button(align));
    style->addStretch();
    grid->addLayout(style, row + 3, 0, 1, 5);
    return cell;
}

// ---- Cell settings ----------------------------------------------------------------------------

TPropTable::CellAccess TPropTable::access(Part part)
{
    CellAccess a;
    if (part == Part::Title) {
        const auto table = [this] { return m_table.data(); };
        a.FontName = [table] { return table() ? table()->TitleFontName() : QString(); };
        a.SetFontName = [table](const QString& v) { if (table()) table()->SetTitleFontName(v); };
        a.FontHeight = [table] { return table() ? table()->GetTitleFontHeight() : 0.f; };
        a.SetFontHeight = [table](float v) { if (table()) table()->SetTitleFontHeight(v); };
        a.FontColor = [table] { return table() ? table()->TitleFontColor() : 0; };
        a.SetFontColor = [table](TZVColor v) { if (table()) table()->SetTitleFontColor(v); };
        a.Color = [table] { return table() ? table()->TitleColor() : 0; };
        a.SetColor = [table](TZVColor v) { if (table()) table()->SetTitleColor(v); };
        a.Bold = [table] { return table() && table()->TitleBold(); };
        a.SetBold = [table](bool v) { if (table()) table()->SetTitleBold(v); };
        a.Italic = [table] { return table() && table()->TitleItalic(); };
        a.SetItalic = [table](bool v) { if (table()) table()->SetTitleItalic(v); };
        a.Underline = [table] { return table() && table()->TitleUnderline(); };
        a.SetUnderline = [table](bool v) { if (table()) table()->SetTitleUnderline(v); };
        a.Align = [table] { return table() ? int(table()->TitleAlign()) : 0; };
        a.SetAlign = [table](int v) { if (table()) table()->SetTitleAlign(std::uint8_t(v)); };
        return a;
    }
    // The column cells differ only in which getters and setters they use.
    const auto bind = [this](auto& get, auto& set, auto getter, auto setter) {
        using Value = typename std::remove_reference_t<decltype(get)>::result_type;
        get = [this, getter]() -> Value {
            const TZVColumn* c = column();
            return c ? Value((c->*getter)()) : Value();
        };
        set = [this, setter](auto v) {
            if (TZVColumn* c = column()) (c->*setter)(v);
        };
    };
    switch (part) {
    case Part::Data:
        bind(a.FontName, a.SetFontName, &TZVColumn::FontName, &TZVColumn::SetFontName);
        bind(a.FontHeight, a.SetFontHeight, &TZVColumn::GetFontHeight, &TZVColumn::SetFontHeight);
        bind(a.FontColor, a.SetFontColor, &TZVColumn::FontColor, &TZVColumn::SetFontColor);
        bind(a.Color, a.SetColor, &TZVColumn::Color, &TZVColumn::SetColor);
        bind(a.Bold, a.SetBold, &TZVColumn::Bold, &TZVColumn::SetBold);
        bind(a.Italic, a.SetItalic, &TZVColumn::Italic, &TZVColumn::SetItalic);
        bind(a.Underline, a.SetUnderline, &TZVColumn::Underline, &TZVColumn::SetUnderline);
        bind(a.Align, a.SetAlign, &TZVColumn::Align, &TZVColumn::SetAlign);
        break;
    case Part::Header:
        bind(a.FontName, a.SetFontName, &TZVColumn::HeaderFontName, &TZVColumn::SetHeaderFontName);
        bind(a.FontHeight, a.SetFontHeight, &TZVColumn::GetHeaderFontHeight,
             &TZVColumn::SetHeaderFontHeight);
        bind(a.FontColor, a.SetFontColor, &TZVColumn::HeaderFontColor, &TZVColumn::SetHeaderFontColor);
        bind(a.Color, a.SetColor, &TZVColumn::HeaderColor, &TZVColumn::SetHeaderColor);
        bind(a.Bold, a.SetBold, &TZVColumn::HeaderBold, &TZVColumn::SetHeaderBold);
        bind(a.Italic, a.SetItalic, &TZVColumn::HeaderItalic, &TZVColumn::SetHeaderItalic);
        bind(a.Underline, a.SetUnderline, &TZVColumn::HeaderUnderline, &TZVColumn::SetHeaderUnderline);
        bind(a.Align, a.SetAlign, &TZVColumn::HeaderAlign, &TZVColumn::SetHeaderAlign);
        break;
    case Part::Title:
        break;
    case Part::Footer:
        bind(a.FontName, a.SetFontName, &TZVColumn::FooterFontName, &TZVColumn::SetFooterFontName);
        bind(a.FontHeight, a.SetFontHeight, &TZVColumn::GetFooterFontHeight,
             &TZVColumn::SetFooterFontHeight);
        bind(a.FontColor, a.SetFontColor, &TZVColumn::FooterFontColor, &TZVColumn::SetFooterFontColor);
        bind(a.Color, a.SetColor, &TZVColumn::FooterColor, &TZVColumn::SetFooterColor);
        bind(a.Bold, a.SetBold, &TZVColumn::FooterBold, &TZVColumn::SetFooterBold);
        bind(a.Italic, a.SetItalic, &TZVColumn::FooterItalic, &TZVColumn::SetFooterItalic);
        bind(a.Underline, a.SetUnderline, &TZVColumn::FooterUnderline, &TZVColumn::SetFooterUnderline);
        bind(a.Align, a.SetAlign, &TZVColumn::FooterAlign, &TZVColumn::SetFooterAlign);
        break;
    }
    return a;
}

void TPropTable::connectCell(Part part)
{
    const CellControls& cell = m_cells[size_t(part)];
    const CellAccess a = access(part);
    // The setters write nothing without a table or a selected column.
    connectGuarded(m_filling, cell.Font, &QComboBox::currentIndexChanged, this,
                   [a, box = cell.Font](int index) {
                       if (index >= 0) a.SetFontName(box->itemText(index));
                   });
    connectGuarded(m_filling, cell.FontHeight, &QDoubleSpinBox::valueChanged, this,
                   [a](double value) { a.SetFontHeight(float(value)); });
    connectGuarded(m_filling, cell.FontColor, &ColorSwatch::ColorPicked, this, [this, a](TZVColor color) {
        if (m_table) a.SetFontColor(color);
    });
    connectGuarded(m_filling, cell.Color, &ColorSwatch::ColorPicked, this, [this, a](TZVColor color) {
        if (m_table) a.SetColor(color);
    });
    connectGuarded(m_filling, cell.Bold, &QToolButton::toggled, this, [a](bool on) { a.SetBold(on); });
    connectGuarded(m_filling, cell.Italic, &QToolButton::toggled, this, [a](bool on) { a.SetItalic(on); });
    connectGuarded(m_filling, cell.Underline, &QToolButton::toggled, this,
                   [a](bool on) { a.SetUnderline(on); });
    connectGuarded(m_filling, cell.Align, &QButtonGroup::idToggled, this, [a](int id, bool on) {
        if (on) a.SetAlign(id);
    });
}

void TPropTable::fillCell(Part part)
{
    const auto filling = m_filling.hold();
    const CellControls& cell = m_cells[size_t(part)];
    const CellAccess a = access(part);
    selectFont(cell.Font, a.FontName());
    cell.FontHeight->setValue(a.FontHeight());
    cell.FontColor->SetColor(a.FontColor());
    cell.Color->SetColor(a.Color());
    cell.Bold->setChecked(a.Bold());
    cell.Italic->setChecked(a.Italic());
    cell.Underline->setChecked(a.Underline());
    if (QAbstractButton* align = cell.Align->button(a.Align())) align->setChecked(true);
}

// ---- Lists ------------------------------------------------------------------------------------

void TPropTable::fillLanguage()
{
    const TZVDialogTexts texts(m_label ? m_label->IniTranslate() : QString());
    setWindowTitle(texts.text(TZVDialog::TPropTable, u"ZvTablePro"));
    for (const auto& [key, apply] : m_captions)
        apply(texts.text(TZVDialog::TPropTable, QString::fromLatin1(key)));
}

void TPropTable::fillFontLists()
{
    QStringList fonts;
    if (m_label && m_label->OnGetFontListEvent)
        m_label->OnGetFontListEvent(this, fonts);
    else
        fonts = QFontDatabase::families();
    for (const CellControls& cell : m_cells) {
        cell.Font->clear();
        cell.Font->addItems(fonts);
    }
}

void TPropTable::fillFieldList()
{
    m_fields->clear();
    if (!m_label) return;
    try {
        m_fields->addItems(detailFieldLabels(*m_label));
    } catch (const EZvError& error) {
        // The dialog still opens; only the field list stays empty.
        if (ShowError) ShowError(error.message());
    }
}

void TPropTable::fillColumnList()
{
    m_columns->clear();
    if (!m_table) return;
    for (int i = 0; i < m_table->ColumnCount(); ++i)
        m_columns->addItem(m_table->Column(i).FieldName());
}

int TPropTable::SelectedColumn() const
{
    const int row = m_columns->currentRow();
    return m_table && row >= 0 && row < m_table->ColumnCount() ? row : -1;
}

void TPropTable::SelectColumn(int index)
{
    m_columns->setCurrentRow(index);
    // Selecting the row already current shows nothing new by itself.
    showColumn();
}

TZVColumn* TPropTable::column() const
{
    const int index = SelectedColumn();
    return index >= 0 ? &m_table->Column(index) : nullptr;
}

void TPropTable::showColumn()
{
    const auto filling = m_filling.hold();
    const TZVColumn* c = column();
    m_columnPages->setEnabled(c != nullptr);
    if (c) {
        m_fields->setCurrentIndex(m_fields->findText(c->FieldName(), Qt::MatchFixedString));
        m_width->setValue(c->Width());
        m_format->setText(c->Format());
        m_headerText->setText(c->HeaderText());
        m_headerVisible->setChecked(c->HeaderVisible());
        m_headerHeight->setValue(c->GetHeaderHeight());
        m_footerVisible->setChecked(c->FooterVisible());
        m_footerHeight->setValue(c->GetFooterHeight());
        if (QAbstractButton* calc = m_footerCalc->button(c->FooterCalc())) calc->setChecked(true);
        for (Part part : {Part::Data, Part::Header, Part::Footer})
            fillCell(part);
    }
    updateButtons();
}

void TPropTable::updateButtons()
{
    const int index = SelectedColumn();
    const int count = m_columns->count();
    m_up->setEnabled(index > 0);
    m_down->setEnabled(index >= 0 && index < count - 1);
    m_delete->setEnabled(index >= 0);
}

// ---- Column commands --------------------------------------------------------------------------

void TPropTable::AddColumn()
{
    if (!m_table || m_table->ColumnCount() >= kMaxColumns) return;
    const QString field = m_fields->currentText();
    TZVColumn& added = m_table->AddColumn();
    added.SetFieldName(field);
    added.SetHeaderText(field);
    m_columns->addItem(added.FieldName());
    SelectColumn(m_table->ColumnCount() - 1);
}

void TPropTable::DeleteColumn()
{
    const int index = SelectedColumn();
    if (index < 0) return;
    m_table->DeleteColumn(index);
    {
        // Taking the item moves the current row; the neighbour is chosen below.
        const auto filling = m_filling.hold();
        delete m_columns->takeItem(index);
    }
    // The column in its place, or the new last one, keeps the controls bound to a live column.
    SelectColumn(std::min(index, m_table->ColumnCount() - 1));
}

void TPropTable::MoveUp()
{
    const int index = SelectedColumn();
    if (index <= 0) return;
    m_table->ExchangeColumns(index, index - 1);
    {
        const auto filling = m_filling.hold();
        m_columns->insertItem(index, m_columns->takeItem(index - 1));
    }
    SelectColumn(index - 1);
}

void TPropTable::MoveDown()
{
    const int index = SelectedColumn();
    if (index < 0 || index >= m_columns->count() - 1) return;
    m_table->ExchangeColumns(index, index + 1);
    {
        const auto filling = m_filling.hold();
        m_columns->insertItem(index, m_columns->takeItem(index + 1));
    }
    SelectColumn(index + 1);
}

void TPropTable::fieldChosen(int index)
{
    TZVColumn* c = column();
    if (!c || index < 0) return;
    const QString field = m_fields->itemText(index);
    c->SetFieldName(field);
    c->SetHeaderText(field);
    m_columns->item(SelectedColumn())->setText(c->FieldName());
    const auto filling = m_filling.hold();
    m_headerText->setText(c->HeaderText());
}

} // namespace zorvel
