// TZVSqlDataSet's records, a window at a time: each window is read by a forward-only statement
// that is finished at once, so a million records never sit in memory together and no SQLite read
// lock or pending server result outlasts the read.
#include "platform/ZVSqlDataSet.h"

#include "platform/ZVSqlErrors.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace zorvel {

namespace {

// One record more than a window tells whether more follow it.
constexpr int kPeekRows = TZVSqlDataSet::kWindowRows + 1;

} // namespace

bool TZVSqlDataSet::whole() const
{
    return m_first == 0 && !m_more;
}

void TZVSqlDataSet::bindSelect(QSqlQuery& query) const
{
    for (const auto& [name, value] : m_source.Binds) {
        if (name.isEmpty())
            query.addBindValue(value);
        else
            query.bindValue(name, value);
    }
}

// The query as a subquery to page and count; line breaks end a comment at its end.
QString TZVSqlDataSet::pagedQuery() const
{
    QString select = m_sql.trimmed();
    while (select.endsWith(u';'))
        select = select.chopped(1).trimmed();
    return QStringLiteral("SELECT * FROM (\n%1\n) zv_rows").arg(select);
}

// The next window starts after the last record of the one before where the order is the rowid's
// or a server table's key: no OFFSET to walk through again.
bool TZVSqlDataSet::seekable() const
{
    return m_source.RowIdOrder || (!m_source.Sqlite && !m_source.Table.isEmpty() &&
                                   m_source.OrderColumns.isEmpty() && !m_source.KeyFields.empty());
}

QString TZVSqlDataSet::seekCondition() const
{
    if (m_source.RowIdOrder) return QStringLiteral("rowid > ?");
    QStringList keys, marks;
    for (const QString& key : m_source.KeyNames) {
        keys.append(quote(key));
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("(%1) > (%2)").arg(keys.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

void TZVSqlDataSet::readWindow(int first, const std::function<void(const QSqlRecord&)>& described) const
{
    const int held = static_cast<int>(m_rows.size());
    const TRow* after = held > 0 && first == m_first + held && seekable() ? &m_rows.back() : nullptr;
    QString text;
    int skip = 0;
    if (!m_source.Table.isEmpty()) {
        QStringList conditions = m_source.Conditions;
        if (after)
            conditions.append(seekCondition());
        text = m_source.Select;
        if (!conditions.isEmpty())
            text += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
        text += m_source.Order + QStringLiteral(" LIMIT %1").arg(kPeekRows);
        if (!after && first > 0)
            text += QStringLiteral(" OFFSET %1").arg(first);
    } else if (m_source.PagesAsSubquery) {
        text = pagedQuery() + QStringLiteral(" LIMIT %1 OFFSET %2").arg(kPeekRows).arg(first);
    } else {
        text = m_sql;
        skip = first;
    }

    QSqlQuery query(database());
    query.setForwardOnly(true);
    bool done = query.prepare(text);
    if (done) {
        bindSelect(query);
        if (after && m_source.RowIdOrder)
            query.addBindValue(after->RowId);
        else if (after)
            for (const int field : m_source.KeyFields)
                query.addBindValue(toSqlValue(after->Values.value(field)));
        done = query.exec();
    }
    if (!done) {
        // A statement that cannot be a subquery (a PRAGMA, say) is read from its start instead.
        if (m_source.Table.isEmpty() && m_source.PagesAsSubquery) {
            m_source.PagesAsSubquery = false;
            readWindow(first, described);
            return;
        }
        ThrowCantOpenDataSet(SqlErrorText(query.lastError()));
    }
    if (described)
        described(query.record());
    while (skip > 0 && query.next())
        --skip;
    std::vector<TRow> rows;
    while (static_cast<int>(rows.size()) < kWindowRows && query.next())
        rows.push_back(readRow(query));
    m_more = query.next();
    query.finish();
    m_rows = std::move(rows);
    m_first = first;
}

int TZVSqlDataSet::countRows() const
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    QString text;
    if (!m_source.Table.isEmpty()) {
        text = QStringLiteral("SELECT COUNT(*) FROM ") + quotedTable();
        if (!m_source.Conditions.isEmpty())
            text += QStringLiteral(" WHERE ") + m_source.Conditions.join(QStringLiteral(" AND "));
    } else if (m_source.PagesAsSubquery) {
        text = QStringLiteral("SELECT COUNT(*) FROM (\n%1\n) zv_count").arg(pagedQuery());
    }
    if (!text.isEmpty() && query.prepare(text)) {
        bindSelect(query);
        if (query.exec() && query.next())
            return query.value(0).toInt();
    }
    if (!m_source.Table.isEmpty()) ThrowCantOpenDataSet(SqlErrorText(query.lastError()));
    // A statement that cannot be a subquery is counted by reading it through.
    m_source.PagesAsSubquery = false;
    QSqlQuery all(database());
    all.setForwardOnly(true);
    if (!all.prepare(m_sql))
        ThrowCantOpenDataSet(SqlErrorText(all.lastError()));
    bindSelect(all);
    if (!all.exec())
        ThrowCantOpenDataSet(SqlErrorText(all.lastError()));
    int count = 0;
    while (all.next())
        ++count;
    return count;
}

// Walking on reads the window after the one held; a jump reads the window the record falls in.
const TZVSqlDataSet::TRow* TZVSqlDataSet::rowAt(int row) const
{
    if (row < 0 || row >= m_source.Count) return nullptr;
    const int next = m_first + static_cast<int>(m_rows.size());
    if (row < m_first || row >= next)
        readWindow(row < next + kWindowRows && row >= next ? next : row - row % kWindowRows);
    const int at = row - m_first;
    // Fewer records than counted: the source changed since.
    return at < static_cast<int>(m_rows.size()) ? &m_rows[static_cast<size_t>(at)] : nullptr;
}

QVariant TZVSqlDataSet::RowValue(int row, int field) const
{
    const TRow* found = rowAt(row);
    return found ? found->Values.value(field) : QVariant();
}

} // namespace zorvel
