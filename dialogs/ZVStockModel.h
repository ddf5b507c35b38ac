// The stock list: one row per stock of the catalogue, and the search and filters over it.
#pragma once

#include "printsupport/ZVStock.h"
#include "zorvel_widgets_export.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>

#include <optional>

namespace zorvel {

/// The catalogue's stocks as a table: brand, part, description, shape, label size, labels per
/// sheet and paper. The first rows are the shipped stocks, read-only; the user's own follow.
class ZORVEL_WIDGETS_EXPORT TZVStockTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /// The columns, in their order.
    enum TColumn
    {
        colBrand,
        colPart,
        colDescription,
        colShape,
        colSize,
        colPerSheet,
        colPaper,
        kColumnCount
    };
    /// Sorts the size column by area and the count column by number, not by their text.
    static constexpr int kSortRole = Qt::UserRole + 1;

    /// An empty list.
    explicit TZVStockTableModel(QObject* parent = nullptr);

    /// Shows `stocks`; rows from `firstUserRow` on are the user's own.
    void SetStocks(QList<TZVStock> stocks, int firstUserRow);
    /// Every stock, in row order.
    const QList<TZVStock>& Stocks() const { return m_stocks; }
    /// The first of the user's rows (the number of shipped rows).
    int FirstUserRow() const { return m_firstUserRow; }
    /// True for a row of the user's own catalogue.
    bool IsUserRow(int row) const { return row >= m_firstUserRow && row < m_stocks.size(); }

    /// Replaces the stock of `row`, an edit of the user's line.
    void SetStock(int row, const TZVStock& stock);
    /// Appends one of the user's stocks; returns its row.
    int AppendStock(const TZVStock& stock);
    /// Removes a row of the user's.
    void RemoveStock(int row);

    /// The label size as the list shows it: "63.5 x 38.1 mm"; a continuous roll's height is "roll".
    static QString SizeText(const TZVStock& stock);
    /// Where a stock comes from, as the list's tooltip says it.
    static QString SourceText(const TZVStock& stock);

    /// QAbstractTableModel's interface.
    /// @{
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    /// @}

    /// Captions of the columns, replaced by a translation.
    QStringList Headers;

private:
    QList<TZVStock> m_stocks;
    int m_firstUserRow = 0;
};

/// The rows a search text, a paper and a shape let through; the picker's own, not exported.
class TZVStockFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    /// Lets every row through until a search or filter is set.
    explicit TZVStockFilter(QObject* parent = nullptr);

    /// The search text, matched as StockMatches does; empty matches everything.
    void SetSearch(const QString& search);
    /// Only stocks on the paper of this name; empty for any paper.
    void SetPaper(const QString& paperName);
    /// Only stocks of this shape; none for any shape.
    void SetShape(std::optional<TZVStockShape> shape);

protected:
    /// Applies the search, the paper and the shape.
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString m_search;
    QString m_paper;
    std::optional<TZVStockShape> m_shape;
};

} // namespace zorvel
