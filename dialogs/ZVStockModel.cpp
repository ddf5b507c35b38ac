// The stock list's model and its search and filters.
#include "dialogs/ZVStockModel.h"

#include <QFont>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <utility>

namespace zorvel {
namespace {

// Lengths to a hundredth of a millimetre, in the user's own number format.
QString shownLength(double mm)
{
    return QLocale().toString(std::round(mm * 100) / 100, 'g', QLocale::FloatingPointShortest);
}

} // namespace

// ---- Model ----------------------------------------------------------------------------------

TZVStockTableModel::TZVStockTableModel(QObject* parent)
    : QAbstractTableModel(parent),
      Headers{tr("Brand"), tr("Part"), tr("Description"), tr("Shape"), tr("Label size"), tr("Per sheet"),
              tr("Paper")}
{
}

void TZVStockTableModel::SetStocks(QList<TZVStock> stocks, int firstUserRow)
{
    beginResetModel();
    m_stocks = std::move(stocks);
    m_firstUserRow = std::clamp(firstUserRow, 0, int(m_stocks.size()));
    endResetModel();
}

void TZVStockTableModel::SetStock(int row, const TZVStock& stock)
{
    if (!IsUserRow(row)) return;
    m_stocks[row] = stock;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

int TZVStockTableModel::AppendStock(const TZVStock& stock)
{
    const int row = int(m_stocks.size());
    beginInsertRows({}, row, row);
    m_stocks.append(stock);
    endInsertRows();
    return row;
}

void TZVStockTableModel::RemoveStock(int row)
{
    if (!IsUserRow(row)) return;
    beginRemoveRows({}, row, row);
    m_stocks.removeAt(row);
    endRemoveRows();
}

QString TZVStockTableModel::SizeText(const TZVStock& stock)
{
    if (stock.Shape == TZVStockShape::Round || stock.Shape == TZVStockShape::Disc)
        return QStringLiteral("\u2300 %1 mm").arg(shownLength(stock.LabelWidth));
    const QString height = stock.Continuous ? tr("roll") : shownLength(stock.LabelHeight);
    return QStringLiteral("%1 x %2 mm").arg(shownLength(stock.LabelWidth), height);
}

QString TZVStockTableModel::SourceText(const TZVStock& stock)
{
    if (stock.Source.isEmpty()) return tr("Your own definition");
    if (stock.Source == QLatin1String(kShippedStockSource)) return tr("From the gLabels template database");
    return tr("Imported from %1").arg(stock.Source);
}

int TZVStockTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_stocks.size());
}

int TZVStockTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TZVStockTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_stocks.size()) return {};
    const TZVStock& stock = m_stocks[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case colBrand:
            return stock.Brand;
        case colPart:
            return stock.Part;
        case colDescription:
            return stock.Description;
        case colShape:
            return stock.ShapeName();
        case colSize:
            return SizeText(stock);
        case colPerSheet:
            // A staggered sheet is marked; the details line says why.
            return stock.Layouts > 1 ? QStringLiteral("%1 *").arg(stock.LabelsPerSheet())
                                     : QString::number(stock.LabelsPerSheet());
        case colPaper:
            return stock.PaperName;
        default:
            return {};
        }
    case kSortRole:
        switch (index.column()) {
        case colSize:
            return stock.LabelWidth * stock.LabelHeight;
        case colPerSheet:
            return stock.LabelsPerSheet();
        default:
            return data(index, Qt::DisplayRole);
        }
    case Qt::ToolTipRole:
        return SourceText(stock);
    case Qt::FontRole:
        // The user's own rows stand out from the shipped ones.
        if (IsUserRow(index.row())) {
            QFont font;
            font.setItalic(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == colPerSheet ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant TZVStockTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return Headers.value(section);
}

// ---- Filter ---------------------------------------------------------------------------------

TZVStockFilter::TZVStockFilter(QObject* parent) : QSortFilterProxyModel(parent)
{
    setSortRole(TZVStockTableModel::kSortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    // A row being edited stays in view even when its new text no longer matches the search.
    setDynamicSortFilter(false);
}

void TZVStockFilter::SetSearch(const QString& search)
{
    if (search == m_search) return;
    m_search = search;
    invalidateFilter();
}

void TZVStockFilter::SetPaper(const QString& paperName)
{
    if (paperName == m_paper) return;
    m_paper = paperName;
    invalidateFilter();
}

void TZVStockFilter::SetShape(std::optional<TZVStockShape> shape)
{
    if (shape == m_shape) return;
    m_shape = shape;
    invalidateFilter();
}

bool TZVStockFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    const auto* model = qobject_cast<const TZVStockTableModel*>(sourceModel());
    if (!model || sourceRow >= model->Stocks().size()) return false;
    const TZVStock& stock = model->Stocks()[sourceRow];
    if (m_shape && stock.Shape != *m_shape) return false;
    if (!m_paper.isEmpty() && stock.PaperName.compare(m_paper, Qt::CaseInsensitive) != 0) return false;
    return m_search.trimmed().isEmpty() || StockMatches(stock, m_search);
}

} // namespace zorvel
