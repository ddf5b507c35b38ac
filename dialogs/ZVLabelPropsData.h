// The data page's pieces: a read-only table model over a data set and the quick filter conditions.
#pragma once

#include "foundation/ZVDataSet.h"
#include "zorvel_widgets_export.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <vector>

namespace zorvel {

/// The records of a data set as rows, one column per field titled with its display label. The
/// data set is a cursor, so its records are read once per Reload and the cursor put back.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /// An empty model.
    explicit DataSetModel(QObject* parent = nullptr);

    /// The data set shown, or null; not owned, forgotten when it is destroyed.
    TZVDataSet* DataSet() const { return m_dataSet; }
    /// Shows `dataSet` (null for none) and reloads whenever it is closed.
    void SetDataSet(TZVDataSet* dataSet);
    /// Reads the records again; a closed data set shows nothing.
    void Reload();

    /// One row per record read.
    int rowCount(const QModelIndex& parent = {}) const override;
    /// One column per field.
    int columnCount(const QModelIndex& parent = {}) const override;
    /// The field's text, centred.
    QVariant data(const QModelIndex& index, int role) const override;
    /// Field display labels across, record numbers from 1 down.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QPointer<TZVDataSet> m_dataSet;
    QStringList m_titles;
    std::vector<QStringList> m_rows;
};

/// The operators of the grid's pop-up menu.
inline constexpr const char* kFilterOperators[] = {"=", "<>", "<=", ">="};

/// "([FIELD] op value)" on the field's value in the current record: texts, dates and times
/// quoted, decimal commas made points. Empty when the value cannot be compared that way (a
/// binary field, or a null value with an ordering operator).
ZORVEL_WIDGETS_EXPORT QString QuickFilterCondition(const TZVField& field, const QString& op);
/// A further condition narrows the filter the data set already has.
QString JoinFilter(const QString& filter, const QString& condition);

} // namespace zorvel
