// The label properties dialog's four pages: controls and their layout.
#include "controls/ZVColorSwatch.h"
#include "controls/ZVSpinEditFloat.h"
#include "dialogs/ZVLabelProps.h"
#include "dialogs/ZVLabelPropsData.h"
#include "dialogs/ZVLabelPropsPreview.h"

#include <QAbstractItemView>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace zorvel {

void TFPropLab::addCaption(const char* key, const char* fallback, std::function<void(const QString&)> set)
{
    m_captions.push_back({key, fallback, std::move(set)});
}

QLabel* TFPropLab::caption(const char* key, const char* fallback)
{
    auto* label = new QLabel(this);
    addCaption(key, fallback, [label](const QString& text) { label->setText(text); });
    return label;
}

QGroupBox* TFPropLab::group(const char* key)
{
    auto* box = new QGroupBox(this);
    addCaption(key, nullptr, [box](const QString& text) { box->setTitle(text); });
    return box;
}

TZvSpinEditFloat* TFPropLab::spinBox(const char* name, double minValue, double maxValue, bool integer)
{
    auto* box = new TZvSpinEditFloat(this);
    box->setObjectName(QString::fromLatin1(name));
    box->SetMinValue(minValue);
    box->SetMaxValue(maxValue);
    box->setMinimumWidth(90);
    box->installEventFilter(this);
    (integer ? m_integerBoxes : m_floatBoxes).push_back(box);
    return box;
}

ColorSwatch* TFPropLab::swatch(const char* name)
{
    auto* swatch = new ColorSwatch(this);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setFixedSize(48, 22);
    return swatch;
}

namespace {

QFormLayout* formIn(QGroupBox* box)
{
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return form;
}

} // namespace

QWidget* TFPropLab::buildSizesPage()
{
    auto* page = new QWidget(this);
    auto* columns = new QHBoxLayout(page);
    auto* left = new QGridLayout;
    columns->addLayout(left);

    m_labelName = new QLineEdit(this);
    m_labelName->setObjectName(QStringLiteral("LabelName"));
    m_labelName->installEventFilter(this);
    m_fromCatalogue = new QPushButton(this);
    m_fromCatalogue->setObjectName(QStringLiteral("FromCatalogue"));
    m_fromCatalogue->setAutoDefault(false);
    addCaption("ZvFromCatalogue", "From catalogue...", [this](const QString& t) { m_fromCatalogue->setText(t); });
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(caption("ZvName"));
    nameRow->addWidget(m_labelName, 1);
    nameRow->addWidget(m_fromCatalogue);
    left->addLayout(nameRow, 0, 0, 1, 2);

    // Two captioned boxes, one above the other, in a captioned group.
    const auto pairGroup = [&](const char* key, const char* firstCaption, QWidget* first,
                               const char* secondCaption, QWidget* second) {
        QGroupBox* box = group(key);
        QFormLayout* form = formIn(box);
        form->addRow(caption(firstCaption), first);
        form->addRow(caption(secondCaption), second);
        return box;
    };
    m_width = spinBox("Width", 0, 0, false);
    m_height = spinBox("Height", 0, 0, false);
    left->addWidget(pairGroup("ZvSize", "ZvWidth", m_width, "ZvHeight", m_height), 1, 0);
    m_diHor = spinBox("DiHor", 0, 50, false);
    m_diVer = spinBox("DiVer", 0, 50, false);
    left->addWidget(pairGroup("ZvSep", "ZvHor", m_diHor, "ZvVer", m_diVer), 1, 1);
    m_marLeft = spinBox("MarLeft", 0, 100, false);
    m_marTop = spinBox("MarTop", 0, 100, false);
    left->addWidget(pairGroup("ZvPrMarg", "ZvLeft", m_marLeft, "ZvTop", m_marTop), 2, 0);
    m_rows = spinBox("Rows", 1, 50, true);
    m_columns = spinBox("Columns", 1, 50, true);
    left->addWidget(pairGroup("ZvDis", "ZvRow", m_rows, "ZvCol", m_columns), 2, 1);

    QGroupBox* paper = group("ZvPaper");
    m_paperList = new QComboBox(this);
    m_paperList->setObjectName(QStringLiteral("PaperList"));
    m_paperWidth = spinBox("PaperWidth", 0, 0, false);
    m_paperHeight = spinBox("PaperHeight", 0, 0, false);
    m_portrait = new QRadioButton(this);
    m_portrait->setObjectName(QStringLiteral("Portrait"));
    m_landscape = new QRadioButton(this);
    m_landscape->setObjectName(QStringLiteral("Landscape"));
    addCaption("ZvPortrait", nullptr, [this](const QString& t) { m_portrait->setText(t); });
    addCaption("ZvLandscape", nullptr, [this](const QString& t) { m_landscape->setText(t); });
    auto* orientation = new QButtonGroup(paper);
    orientation->addButton(m_portrait);
    orientation->addButton(m_landscape);
    QFormLayout* paperForm = formIn(paper);
    paperForm->addRow(m_paperList);
    paperForm->addRow(caption("ZvWidth"), m_paperWidth);
    paperForm->addRow(caption("ZvHeight"), m_paperHeight);
    auto* turns = new QHBoxLayout;
    turns->addWidget(m_portrait);
    turns->addWidget(m_landscape);
    paperForm->addRow(turns);
    left->addWidget(paper, 3, 0);

    QGroupBox* type = group("ZvLabelType");
    m_rect = new QRadioButton(this);
    m_rect->setObjectName(QStringLiteral("Rectangle"));
    m_circle = new QRadioButton(this);
    m_circle->setObjectName(QStringLiteral("Circle"));
    addCaption("ZvRect", nullptr, [this](const QString& t) { m_rect->setText(t); });
    addCaption("ZvCircle", nullptr, [this](const QString& t) { m_circle->setText(t); });
    auto* shape = new QButtonGroup(type);
    shape->addButton(m_rect);
    shape->addButton(m_circle);
    m_innerCircle = spinBox("InnerCircle", 0, 100, false);
    QFormLayout* typeForm = formIn(type);
    typeForm->addRow(m_rect);
    typeForm->addRow(m_circle);
    typeForm->addRow(caption("ZvInnerRadio"), m_innerCircle);
    left->addWidget(type, 3, 1);
    m_autoLength = new QCheckBox(this);
    m_autoLength->setObjectName(QStringLiteral("AutoLength"));
    addCaption("ZvAutoLength", "Auto length (roll labels as long as their content)",
               [this](const QString& t) { m_autoLength->setText(t); });
    left->addWidget(m_autoLength, 4, 0, 1, 2);
    left->setRowStretch(5, 1);

    m_preview = new SheetPreview(this);
    m_preview->setObjectName(QStringLiteral("SheetPreview"));
    m_fitWarning = new QLabel(this);
    m_fitWarning->setObjectName(QStringLiteral("FitWarning"));
    m_fitWarning->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    m_fitWarning->setWordWrap(true);
    m_fitWarning->setAlignment(Qt::AlignHCenter);
    m_fitWarning->setMaximumWidth(SheetPreview::kMaxWidth + 40);
    m_fitWarning->hide();
    auto* right = new QVBoxLayout;
    right->addWidget(m_preview, 0, Qt::AlignHCenter | Qt::AlignTop);
    right->addWidget(m_fitWarning, 0, Qt::AlignHCenter | Qt::AlignTop);
    right->addStretch(1);
    columns->addLayout(right);
    return page;
}

QWidget* TFPropLab::buildPrintingPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    QGroupBox* print = group("ZvPrint");
    QFormLayout* form = formIn(print);
    m_numLabels = spinBox("NumLabels", 1, 3000, true);
    m_repetitions = spinBox("Repetitions", 1, 3000, true);
    m_firstCol = spinBox("FirstCol", 1, 50, true);
    m_firstRow = spinBox("FirstRow", 1, 50, true);
    m_printFrom = spinBox("PrintFrom", 1, 1, true);
    // 0 stands for "to the last record".
    m_printTo = spinBox("PrintTo", 0, 1, true);
    m_printFromCaption = caption("ZvPrintFrom");
    m_printToCaption = caption("ZvTo");
    m_showMargins = new QCheckBox(this);
    m_showMargins->setObjectName(QStringLiteral("ShowMargins"));
    addCaption("ZvShowMar", nullptr, [this](const QString& t) { m_showMargins->setText(t); });
    form->addRow(caption("ZvNuLabs"), m_numLabels);
    form->addRow(caption("ZvRepe"), m_repetitions);
    form->addRow(caption("ZvFirstCol"), m_firstCol);
    form->addRow(caption("ZvFirstRow"), m_firstRow);
    form->addRow(m_printFromCaption, m_printFrom);
    form->addRow(m_printToCaption, m_printTo);
    form->addRow(m_showMargins);
    layout->addWidget(print);
    layout->addStretch(1);
    return page;
}

QWidget* TFPropLab::buildBackgroundPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);

    QGroupBox* back = group("ZvBack1");
    QFormLayout* backForm = formIn(back);
    m_colorFrom = swatch("GradientFrom");
    m_colorTo = swatch("GradientTo");
    m_backStyle = new QComboBox(this);
    m_backStyle->setObjectName(QStringLiteral("BackStyle"));
    m_printBack = new QCheckBox(this);
    m_printBack->setObjectName(QStringLiteral("PrintBack"));
    addCaption("ZvPrintBack", nullptr, [this](const QString& t) { m_printBack->setText(t); });
    m_imageFile = new QLineEdit(this);
    m_imageFile->setObjectName(QStringLiteral("ImageFile"));
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("Browse"));
    m_browse->setFixedWidth(32);
    auto* image = new QHBoxLayout;
    image->addWidget(m_imageFile, 1);
    image->addWidget(m_browse);
    backForm->addRow(caption("ZvBackStyle"), m_backStyle);
    backForm->addRow(caption("ZvGradientFrom"), m_colorFrom);
    backForm->addRow(caption("ZvGradientTo"), m_colorTo);
    backForm->addRow(caption("ZvImage"), image);
    backForm->addRow(m_printBack);
    layout->addWidget(back, 1, Qt::AlignTop);

    QGroupBox* frame = group("ZvFrame");
    QFormLayout* frameForm = formIn(frame);
    m_frameStyle = new QComboBox(this);
    m_frameStyle->setObjectName(QStringLiteral("FrameStyle"));
    m_frameDist1 = spinBox("FrameDist1", 0, 100, false);
    m_frameDist2 = spinBox("FrameDist2", 0, 100, false);
    m_penWidth = spinBox("PenWidth", 0, 200, false);
    m_radius = spinBox("Radius", 0, 200, false);
    m_frameColor = swatch("FrameColor");
    frameForm->addRow(caption("ZVBarType"), m_frameStyle);
    frameForm->addRow(caption("ZvD1Frame"), m_frameDist1);
    frameForm->addRow(caption("ZvD2Frame"), m_frameDist2);
    frameForm->addRow(caption("ZvPenWidth"), m_penWidth);
    frameForm->addRow(caption("ZvRadius", "Radius"), m_radius);
    frameForm->addRow(caption("ZvColor"), m_frameColor);
    layout->addWidget(frame, 1, Qt::AlignTop);
    return page;
}

QWidget* TFPropLab::buildDataPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);

    auto* top = new QGridLayout;
    m_dataEnabled = new QCheckBox(this);
    m_dataEnabled->setObjectName(QStringLiteral("DataEnabled"));
    addCaption("ZvDataEnabled", "Data", [this](const QString& t) { m_dataEnabled->setText(t); });
    m_aliasCaption = caption("ZvDataBase");
    m_aliasList = new QComboBox(this);
    m_aliasList->setObjectName(QStringLiteral("AliasList"));
    m_tableList = new QComboBox(this);
    m_tableList->setObjectName(QStringLiteral("TableList"));
    m_recordCount = new QLabel(this);
    m_recordCount->setObjectName(QStringLiteral("RecordCount"));
    m_filterText = new QLabel(this);
    m_filterText->setObjectName(QStringLiteral("FilterText"));
    m_filterText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(m_dataEnabled, 0, 0, 1, 2);
    top->addWidget(m_aliasCaption, 1, 0);
    top->addWidget(m_aliasList, 1, 1);
    top->addWidget(caption("ZvTable"), 2, 0);
    top->addWidget(m_tableList, 2, 1);
    top->addWidget(caption("ZvRecords", "Records"), 3, 0);
    top->addWidget(m_recordCount, 3, 1);
    top->addWidget(caption("ZvFilter", "Filter"), 4, 0);
    top->addWidget(m_filterText, 4, 1);
    top->setColumnStretch(1, 1);
    layout->addLayout(top);

    m_model = new DataSetModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    layout->addWidget(m_grid, 1);

    // The leading spaces line the operators up in the menu.
    m_gridMenu = new QMenu(this);
    const std::pair<const char*, const char*> items[] = {
        {"    =", "="}, {"   <>", "<>"}, {"    <", "<="}, {"    >", ">="}};
    for (const auto& [text, op] : items) {
        const QString condition = QString::fromLatin1(op);
        m_gridMenu->addAction(QString::fromLatin1(text), this, [this, condition] { QuickFilter(condition); });
    }
    m_gridMenu->addSeparator();
    m_executeAction = m_gridMenu->addAction(QStringLiteral("Execute"), this, &TFPropLab::ExecuteFilter);
    m_executeAction->setCheckable(true);
    m_deleteAction = m_gridMenu->addAction(QStringLiteral("Delete"), this, &TFPropLab::DeleteFilter);
    connect(m_gridMenu, &QMenu::aboutToShow, this, &TFPropLab::updateMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_gridMenu->popup(m_grid->viewport()->mapToGlobal(pos)); });

    auto* navigator = new QHBoxLayout;
    const std::pair<const char*, const char*> moves[] = {
        {"NavFirst", "|<"}, {"NavPrior", "<"}, {"NavNext", ">"}, {"NavLast", ">|"}};
    int how = 0;
    for (const auto& [name, text] : moves) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setText(QString::fromLatin1(text));
        connect(button, &QToolButton::clicked, this, [this, how] { navigate(how); });
        navigator->addWidget(button);
        ++how;
    }
    navigator->addStretch(1);
    layout->addLayout(navigator);
    return page;
}

} // namespace zorvel
