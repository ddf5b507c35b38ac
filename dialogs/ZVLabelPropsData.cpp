// The data page's grid model and quick filter conditions.
#include "dialogs/ZVLabelPropsData.h"

#include "foundation/ZVDataSet.h"
#include "foundation/ZVUtils.h"

namespace zorvel {

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DataSetModel::SetDataSet(TZVDataSet* dataSet)
{
    if (m_dataSet != dataSet) {
        if (m_dataSet) disconnect(m_dataSet, nullptr, this, nullptr);
        m_dataSet = dataSet;
        if (dataSet) connect(dataSet, &TZVDataSet::AfterClose, this, &DataSetModel::Reload);
    }
    Reload();
}

void DataSetModel::Reload()
{
    beginResetModel();
    m_titles.clear();
    m_rows.clear();
    TZVDataSet* ds = m_dataSet;
    if (ds && ds->Active()) {
        for (int f = 0; f < ds->FieldCount(); ++f)
            m_titles << ds->Fields(f).DisplayLabel();
        const int keep = ds->RecNo();
        ds->DisableControls();
        ds->First();
        m_rows.reserve(static_cast<std::size_t>(ds->RecordCount()));
        for (int r = 0; r < ds->RecordCount(); ++r) {
            QStringList row;
            for (int f = 0; f < ds->FieldCount(); ++f)
                row << ds->Fields(f).AsWideString();
            m_rows.push_back(row);
            ds->Next();
        }
        ds->First();
        if (keep > 1) ds->MoveBy(keep - 1);
        ds->EnableControls();
    }
    endResetModel();
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    if (role == Qt::DisplayRole) return m_rows[static_cast<std::size_t>(index.row())].value(index.column());
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole) return m_titles.value(section);
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
}

QString QuickFilterCondition(const TZVField& field, const QString& op)
{
    const TZVFieldKind kind = field.Kind();
    if (IsBinaryKind(kind)) return {};
    QString value;
    if (field.IsNull()) {
        // The evaluator tests for null only with "=" and "<>".
        if (op != QLatin1String("=") && op != QLatin1String("<>")) return {};
        value = QStringLiteral("NULL");
    } else if (IsTextKind(kind) || IsTemporalKind(kind) || kind == fkUnknown) {
        value = QuoteSql(field.AsWideString());
    } else if (IsFloatKind(kind)) {
        value = CommaToPoint(field.AsWideString());
    } else {
        value = field.AsWideString();
    }
    return QStringLiteral("([%1] %2 %3)").arg(field.FieldName(), op, value);
}

QString JoinFilter(const QString& filter, const QString& condition)
{
    return filter.isEmpty() ? condition : filter + QStringLiteral(" AND ") + condition;
}

} // namespace zorvel
