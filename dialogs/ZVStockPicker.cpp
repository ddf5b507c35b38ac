// The stock picker.
#include "dialogs/ZVStockPicker.h"

#include "dialogs/ZVStockModel.h"
#include "dialogs/ZVStockSheet.h"
#include "foundation/ZVStrings.h"
#include "printsupport/ZVLabelDefs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

#include <algorithm>
#include <array>
#include <map>

namespace zorvel {
namespace {

constexpr std::array kShapes = {TZVStockShape::Rectangle, TZVStockShape::Round, TZVStockShape::Ellipse,
                                TZVStockShape::Disc};

// Papers in the paper table's order, the others after them by name.
bool paperBefore(const QString& a, const QString& b)
{
    const auto rank = [](const QString& name) {
        const int index = FindPaperType(name);
        return index < 0 ? kPaperTypeCount : index;
    };
    const int ra = rank(a), rb = rank(b);
    return ra != rb ? ra < rb : a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

TZVStockPicker::TZVStockPicker(QWidget* parent)
    : QWidget(parent), m_model(new TZVStockTableModel(this)), m_filter(new TZVStockFilter(this))
{
    m_filter->setSourceModel(m_model);

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("stockSearch"));
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this);
    // Both boxes as wide whatever papers the catalogue names, so the row never moves.
    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("stockPaper"));
    m_paper->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_paper->setMinimumContentsLength(16);
    m_shape = new QComboBox(this);
    m_shape->setObjectName(QStringLiteral("stockShape"));
    m_shape->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_shape->setMinimumContentsLength(11);
    m_shape->addItem(QString(), -1);
    for (const TZVStockShape shape : kShapes) {
        TZVStock sample;
        sample.Shape = shape;
        m_shape->addItem(sample.ShapeName(), int(shape));
    }

    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("stockList"));
    m_list->setModel(m_filter);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setAlternatingRowColors(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    m_list->setSortingEnabled(true);
    // Fixed columns: widths never follow the rows shown, only the description takes up the rest.
    const QFontMetrics metrics(m_list->font());
    const auto widthOf = [&metrics](const char* sample) {
        return metrics.horizontalAdvance(QString::fromLatin1(sample)) + 16;
    };
    const std::array<std::pair<int, int>, 6> widths = {{
        {TZVStockTableModel::colBrand, widthOf("Zweckform")},
        {TZVStockTableModel::colPart, widthOf("L7160-20")},
        {TZVStockTableModel::colShape, widthOf("rectangle")},
        {TZVStockTableModel::colSize, widthOf("101.6 x 50.8 mm")},
        {TZVStockTableModel::colPerSheet, widthOf("Per sheet")},
        {TZVStockTableModel::colPaper, widthOf("LETTER")},
    }};
    for (const auto& [column, width] : widths) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        header->resizeSection(column, width);
    }
    header->setSectionResizeMode(TZVStockTableModel::colDescription, QHeaderView::Stretch);
    m_list->setMinimumWidth(720);
    m_list->setMinimumHeight(240);

    m_sheet = new TZVStockSheet(this);
    m_sheet->setObjectName(QStringLiteral("stockSheet"));
    m_sheet->setFixedSize(m_sheet->sizeHint());

    m_details = new QLabel(this);
    m_details->setObjectName(QStringLiteral("stockDetails"));
    m_details->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_details->setFixedHeight(metrics.height() + 4);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* filters = new QHBoxLayout;
    filters->addWidget(m_search, 1);
    filters->addWidget(m_paper);
    filters->addWidget(m_shape);
    layout->addLayout(filters, 0, 0, 1, 2);
    layout->addWidget(m_list, 1, 0);
    layout->addWidget(m_sheet, 1, 1, Qt::AlignTop);
    layout->addWidget(m_details, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(1, 1);

    FillLanguage(TZVDialogTexts(QString()));

    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { refilter([&] { m_filter->SetSearch(text); }); });
    connect(m_paper, &QComboBox::currentIndexChanged, this,
            [this] { refilter([this] { m_filter->SetPaper(m_paper->currentData().toString()); }); });
    connect(m_shape, &QComboBox::currentIndexChanged, this, [this] {
        const int shape = m_shape->currentData().toInt();
        refilter([&] { m_filter->SetShape(shape < 0 ? std::nullopt : std::optional(TZVStockShape(shape))); });
    });
    connectGuarded(m_filtering, m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [this] { currentChanged(); });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
        if (m_current >= from.row() && m_current <= to.row()) currentChanged();
    });
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex& index) {
        emit RowActivated(m_filter->mapToSource(index).row());
    });
}

TZVStockPicker::~TZVStockPicker() = default;

void TZVStockPicker::FillLanguage(const TZVDialogTexts& texts)
{
    const auto text = [&texts](const char* key, const char* english) {
        return texts.text(QString::fromLatin1(key), QString::fromUtf8(english));
    };
    m_search->setPlaceholderText(text("ZvStockSearch", "Search brand, part, description or size (63.5 x 38.1)"));
    m_anyPaper = text("ZvAnyPaper", "Any paper");
    if (m_paper->count() > 0) m_paper->setItemText(0, m_anyPaper);
    m_shape->setItemText(0, text("ZvAnyShape", "Any shape"));
    m_model->Headers = {text("ZvBrand", "Brand"),       text("ZvPart", "Part"),
                        text("ZvDescription", "Description"), text("ZvShape", "Shape"),
                        text("ZvLabelSize", "Label Size"), text("ZvPerSheet", "Per sheet"),
                        text("ZvPaper", "Paper")};
    emit m_model->headerDataChanged(Qt::Horizontal, 0, TZVStockTableModel::kColumnCount - 1);
}

void TZVStockPicker::SetStocks(QList<TZVStock> stocks, int firstUserRow)
{
    m_current = -1;
    refilter([&] {
        m_model->SetStocks(std::move(stocks), firstUserRow);
        fillPapers();
    });
}

void TZVStockPicker::fillPapers()
{
    const QString chosen = m_paper->currentData().toString();
    std::map<QString, QString> byKey; // one entry per name whatever its case
    for (const TZVStock& stock : m_model->Stocks())
        if (!stock.PaperName.isEmpty()) byKey.try_emplace(stock.PaperName.toCaseFolded(), stock.PaperName);
    QStringList names;
    for (const auto& [key, name] : byKey)
        names << name;
    std::sort(names.begin(), names.end(), paperBefore);

    const QSignalBlocker block(m_paper);
    m_paper->clear();
    m_paper->addItem(m_anyPaper, QString());
    for (const QString& name : names)
        m_paper->addItem(name, name);
    const int again = m_paper->findData(chosen, Qt::UserRole, Qt::MatchFixedString);
    m_paper->setCurrentIndex(std::max(again, 0));
    m_filter->SetPaper(m_paper->currentData().toString());
}

void TZVStockPicker::refilter(const std::function<void()>& change)
{
    const int before = m_current;
    {
        const auto filtering = m_filtering.hold();
        change();
    }
    const QModelIndex kept =
        before >= 0 && before < m_model->rowCount() ? m_filter->mapFromSource(m_model->index(before, 0)) : QModelIndex();
    choose(kept.isValid() ? kept : m_filter->index(0, 0));
}

void TZVStockPicker::choose(const QModelIndex& shown)
{
    {
        const auto filtering = m_filtering.hold();
        if (shown.isValid()) {
            m_list->setCurrentIndex(shown);
            m_list->scrollTo(shown);
        } else {
            m_list->selectionModel()->clear();
        }
    }
    currentChanged();
}

void TZVStockPicker::currentChanged()
{
    const QModelIndex current = m_list->currentIndex();
    const int row = current.isValid() ? m_filter->mapToSource(current).row() : -1;
    const TZVStock* stock = row >= 0 ? &m_model->Stocks()[row] : nullptr;
    m_sheet->SetStock(stock ? std::optional(*stock) : std::nullopt);
    if (stock) {
        QString details = tr("%1: %2 x %3 labels on %4.")
                              .arg(stock->Name(), QString::number(stock->Columns), QString::number(stock->Rows),
                                   stock->PaperName);
        if (stock->Layouts > 1) details += u' ' + tr("Staggered rows: Zorvel cannot print this sheet.");
        details += u' ' + TZVStockTableModel::SourceText(*stock) + u'.';
        m_details->setText(details);
        m_details->setToolTip(details);
    } else {
        m_details->clear();
        m_details->setToolTip(QString());
    }
    if (row == m_current) return;
    m_current = row;
    emit CurrentRowChanged(row);
}

int TZVStockPicker::CurrentRow() const
{
    return m_current;
}

const TZVStock* TZVStockPicker::Current() const
{
    return m_current >= 0 && m_current < m_model->Stocks().size() ? &m_model->Stocks()[m_current] : nullptr;
}

void TZVStockPicker::SetCurrentRow(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        choose({});
        return;
    }
    if (!m_filter->mapFromSource(m_model->index(row, 0)).isValid()) {
        const QSignalBlocker blockSearch(m_search), blockPaper(m_paper), blockShape(m_shape);
        m_search->clear();
        m_paper->setCurrentIndex(0);
        m_shape->setCurrentIndex(0);
        refilter([this] {
            m_filter->SetSearch(QString());
            m_filter->SetPaper(QString());
            m_filter->SetShape(std::nullopt);
        });
    }
    choose(m_filter->mapFromSource(m_model->index(row, 0)));
}

int TZVStockPicker::ShownCount() const
{
    return m_filter->rowCount();
}

int TZVStockPicker::ShownRow(int shown) const
{
    const QModelIndex index = m_filter->index(shown, 0);
    return index.isValid() ? m_filter->mapToSource(index).row() : -1;
}

bool TZVStockPicker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Down:
        case Qt::Key_Up:
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            QCoreApplication::sendEvent(m_list, event);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zorvel
