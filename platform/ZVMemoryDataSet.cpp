// TZVMemoryDataSet: field definitions and records held in memory.
#include "platform/ZVMemoryDataSet.h"

#include "foundation/ZVError.h"

namespace zorvel {

TZVMemoryDataSet::TZVMemoryDataSet(QObject* parent) : TZVDataSet(parent) {}

void TZVMemoryDataSet::AddField(const QString& name, TZVFieldKind kind)
{
    if (Active())
        throw EZvError(QLatin1String(kErrorDataSetOpen));
    for (const TZVFieldDef& def : m_defs)
        if (def.Name.compare(name, Qt::CaseInsensitive) == 0)
            throw EZvError(QLatin1String(kErrorInvalidFieldName) + name);
    m_defs.push_back({name, kind});
    for (QVariantList& row : m_rows)
        row.append(QVariant());
}

void TZVMemoryDataSet::ClearFields()
{
    if (Active())
        throw EZvError(QLatin1String(kErrorDataSetOpen));
    m_defs.clear();
    m_rows.clear();
}

void TZVMemoryDataSet::AppendRecord(const QVariantList& values)
{
    if (values.size() != static_cast<qsizetype>(m_defs.size()))
        throw EZvError(QStringLiteral("INVALID RECORD : %1 VALUES FOR %2 FIELDS").arg(values.size()).arg(m_defs.size()));
    QVariantList row;
    row.reserve(values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        QVariant converted;
        if (!ConvertToKind(values[i], m_defs[static_cast<size_t>(i)].Kind, converted))
            throw EZvError(QLatin1String(kErrorInvalidValue) + m_defs[static_cast<size_t>(i)].Name);
        row.append(converted);
    }
    m_rows.push_back(std::move(row));
    RowsChanged();
}

void TZVMemoryDataSet::ClearRecords()
{
    m_rows.clear();
    RowsChanged();
}

std::unique_ptr<TZVDataSet> TZVMemoryDataSet::OpenCopy() const
{
    // A detail follows its master's cursor, which a copy cannot share.
    if (Master() || State() == dsEdit || State() == dsInsert) return nullptr;
    auto copy = std::make_unique<TZVMemoryDataSet>();
    copy->SetName(Name());
    copy->m_defs = m_defs;
    copy->m_rows = m_rows;
    copy->SetFilter(Filter());
    copy->SetFiltered(Filtered());
    if (Active()) copy->Open();
    return copy;
}

QVariant TZVMemoryDataSet::RowValue(int row, int field) const
{
    return m_rows[static_cast<size_t>(row)].value(field);
}

int TZVMemoryDataSet::DoPost(int row, const QVariantList& values)
{
    if (row < 0) {
        m_rows.push_back(values);
        return static_cast<int>(m_rows.size()) - 1;
    }
    m_rows[static_cast<size_t>(row)] = values;
    return row;
}

void TZVMemoryDataSet::DoDelete(int row)
{
    m_rows.erase(m_rows.begin() + row);
}

} // namespace zorvel
