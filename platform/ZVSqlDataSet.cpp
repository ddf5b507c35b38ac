// TZVSqlDataSet: opening a table or a query, following a master by bound values, writing edits
// back by key. Reading its records a window at a time is in ZVSqlDataSetWindow.cpp.
#include "platform/ZVSqlDataSet.h"

#include "foundation/ZVError.h"
#include "platform/ZVConnections.h"
#include "platform/ZVSqlErrors.h"

#include <QScopeGuard>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <atomic>

namespace zorvel {

namespace {

// Declared column types -> kinds, for drivers that report only storage classes. The first
// entry contained in the declared type wins, so longer names come before those they contain.
const struct
{
    const char* Pattern;
    TZVFieldKind Kind;
} kDeclaredKinds[] = {
    /* booleans */ {"BOOL", fkBoolean},
    /* temporal */ {"DATETIME", fkDateTime}, {"TIMESTAMP", fkDateTime}, {"DATE", fkDate}, {"TIME", fkTime},
    /* integers */ {"BIGINT", fkLargeInt}, {"INT8", fkLargeInt}, {"SMALLINT", fkSmallInt}, {"TINYINT", fkSmallInt},
    {"INT", fkInteger},
    /* decimals */ {"MONEY", fkCurrency}, {"CURRENCY", fkCurrency}, {"DECIMAL", fkBCD}, {"NUMERIC", fkBCD},
    /* floats   */ {"REAL", fkFloat}, {"FLOA", fkFloat}, {"DOUB", fkFloat},
    /* texts    */ {"NCHAR", fkWideString}, {"NVARCHAR", fkWideString}, {"MEMO", fkMemo}, {"CLOB", fkMemo},
    {"CHAR", fkString}, {"TEXT", fkString},
    /* binaries */ {"GRAPHIC", fkGraphic}, {"IMAGE", fkGraphic}, {"PICTURE", fkGraphic}, {"BLOB", fkBlob},
    {"BINARY", fkBlob},
};

TZVFieldKind declaredKind(const QString& declared)
{
    const QString upper = declared.toUpper();
    for (const auto& entry : kDeclaredKinds)
        if (upper.contains(QLatin1String(entry.Pattern)))
            return entry.Kind;
    return fkUnknown;
}

// Named placeholders (":NAME") outside quotes and comments; "::" is a cast, not a placeholder.
QStringList scanPlaceholders(const QString& sql)
{
    QStringList names;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype close = sql.indexOf(c, i + 1);
            i = close < 0 ? n : close;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            i = end < 0 ? n : end;
        } else if (c == u':' && i + 1 < n && sql[i + 1] == u':') {
            ++i;
        } else if (c == u':' && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == u'_')) {
            qsizetype end = i + 1;
            while (end < n && (sql[end].isLetterOrNumber() || sql[end] == u'_'))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            if (!names.contains(name))
                names.append(name);
            i = end - 1;
        }
    }
    return names;
}

int indexOfName(const QStringList& names, const QString& name)
{
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isValid() != b.isValid())
        return false;
    return !a.isValid() || a == b;
}

} // namespace

TZVSqlDataSet::TZVSqlDataSet(QObject* parent) : TZVDataSet(parent) {}

TZVSqlDataSet::~TZVSqlDataSet()
{
    dropClone();
}

void TZVSqlDataSet::requireClosed() const
{
    if (Active())
        throw EZvError(QLatin1String(kErrorDataSetOpen));
}

void TZVSqlDataSet::SetConnections(TZVConnections* connections)
{
    requireClosed();
    m_connections = connections;
}

void TZVSqlDataSet::SetDatabaseName(const QString& alias)
{
    requireClosed();
    m_databaseName = alias;
}

void TZVSqlDataSet::SetTableName(const QString& table)
{
    requireClosed();
    m_tableName = table;
    m_sql.clear();
}

void TZVSqlDataSet::SetSql(const QString& select)
{
    requireClosed();
    m_sql = select;
    m_tableName.clear();
}

bool TZVSqlDataSet::CanModify() const
{
    return Active() && !m_source.Table.isEmpty() && (m_source.UseRowId || !m_source.KeyFields.empty());
}

bool TZVSqlDataSet::LinksAtSource() const
{
    if (!Master() || DetailFields().isEmpty())
        return false;
    return !m_source.Table.isEmpty() || !m_source.Placeholders.isEmpty();
}

QSqlDatabase TZVSqlDataSet::database() const
{
    if (!m_cloneOf.isEmpty())
        return cloned();
    TZVConnections& connections = m_connections ? *m_connections : TZVConnections::Default();
    return connections.Database(m_databaseName);
}

QString TZVSqlDataSet::quote(const QString& identifier) const
{
    // Standard quoting works for both and, unlike the drivers' own, never passes a name through
    // unquoted because it already starts with a quote.
    const QSqlDatabase db = database();
    if (m_source.Sqlite || db.driverName() == u"QPSQL") {
        QString quoted = identifier;
        quoted.replace(u'"', QStringLiteral("\"\""));
        return u'"' + quoted + u'"';
    }
    return db.driver()->escapeIdentifier(identifier, QSqlDriver::FieldName);
}

QString TZVSqlDataSet::quotedTable() const
{
    // PostgreSQL lists a table of another schema than public as "schema.table": two names.
    const qsizetype dot = m_source.Table.indexOf(u'.');
    if (!m_source.Sqlite && dot > 0 && database().driverName() == u"QPSQL")
        return quote(m_source.Table.left(dot)) + u'.' + quote(m_source.Table.mid(dot + 1));
    return quote(m_source.Table);
}

void TZVSqlDataSet::orderByAllColumns(const QSqlDatabase& db)
{
    // PostgreSQL types without an ordering; sorting by them would refuse the whole query.
    static const QSet<int> unordered = {114, 142, 600, 601, 602, 603, 604, 628, 718,        // json, xml, geometry
                                        199, 143, 1017, 1018, 1019, 1020, 1027, 629, 719}; // their arrays
    const bool postgres = db.driverName() == u"QPSQL";
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(quotedTable())))
        ThrowCantOpenDataSet(SqlErrorText(probe.lastError()));
    const QSqlRecord record = probe.record();
    for (int i = 0; i < record.count(); ++i)
        if (!postgres || !unordered.contains(record.field(i).typeID()))
            m_source.OrderColumns.append(quote(record.fieldName(i)));
}

std::vector<TZVDataSet::TZVFieldDef> TZVSqlDataSet::DoOpen()
{
    if (m_presetOpen) {
        m_presetOpen = false;
        return m_source.Defs;
    }
    DoClose();
    if (m_tableName.trimmed().isEmpty() && m_sql.trimmed().isEmpty())
        ThrowCantOpenDataSet(QStringLiteral("NO TABLE OR QUERY"));
    QSqlDatabase db = database();
    if (!db.isOpen() && !db.open())
        ThrowCantOpenDataSet(m_databaseName + QStringLiteral(" : ") + SqlErrorText(db.lastError()));
    m_source.Sqlite = db.driverName() == u"QSQLITE";
    auto closeOnFailure = qScopeGuard([this] { DoClose(); });
    if (m_tableName.isEmpty())
        m_source.Placeholders = scanPlaceholders(m_sql);
    else
        resolveTable(db);
    fetch(true);
    closeOnFailure.dismiss();
    return m_source.Defs;
}

void TZVSqlDataSet::DoClose()
{
    // The driver stays known; everything else is found again by Open.
    m_source = TSource{.Sqlite = m_source.Sqlite};
    m_rows.clear();
    m_first = 0;
}

void TZVSqlDataSet::resolveTable(const QSqlDatabase& db)
{
    const QStringList tables = db.tables(QSql::Tables);
    const QStringList views = db.tables(QSql::Views);
    // Only names the database lists reach the SQL text.
    int index = indexOfName(tables, m_tableName);
    const bool isView = index < 0;
    if (isView)
        index = indexOfName(views, m_tableName);
    if (index < 0)
        ThrowCantOpenDataSet(QStringLiteral("UNKNOWN TABLE ") + m_tableName);
    m_source.Table = isView ? views[index] : tables[index];

    const QSqlRecord record = db.record(m_source.Table);
    for (int i = 0; i < record.count(); ++i)
        m_source.Columns.append(record.fieldName(i));

    const QSqlIndex key = db.primaryIndex(m_source.Table);
    for (int i = 0; i < key.count(); ++i)
        m_source.KeyNames.append(key.fieldName(i));
    // A WITHOUT ROWID table has none to page by.
    QSqlQuery probe(db);
    m_source.RowIdOrder = m_source.Sqlite && !isView &&
                          probe.exec(QStringLiteral("SELECT rowid FROM %1 LIMIT 0").arg(quotedTable()));
    m_source.UseRowId = m_source.KeyNames.isEmpty() && m_source.RowIdOrder;
    // Servers return rows in no fixed order: without a key, all the columns make one.
    if (m_source.KeyNames.isEmpty() && !m_source.Sqlite && !isView) orderByAllColumns(db);
}

void TZVSqlDataSet::fetch(bool describe)
{
    m_source.Select = m_sql;
    m_source.Conditions.clear();
    m_source.Order.clear();
    if (!m_source.Table.isEmpty()) {
        m_source.Select =
            QStringLiteral("SELECT %1* FROM %2")
                .arg(m_source.RowIdOrder ? QStringLiteral("rowid, ") : QString(), quotedTable());
        if (Master() && !DetailFields().isEmpty()) {
            for (const QString& name : DetailFields()) {
                // Only names the table has reach the SQL text.
                const int column = indexOfName(m_source.Columns, name);
                if (column < 0)
                    throw EZvError(QLatin1String(kErrorInvalidFieldName) + name);
                m_source.Conditions.append(quote(m_source.Columns[column]) + QStringLiteral(" = ?"));
            }
        }
        // Servers return rows in no fixed order (an updated row moves to the end): keep the key's.
        QStringList order = m_source.OrderColumns;
        if (m_source.RowIdOrder)
            order.append(QStringLiteral("rowid"));
        else if (!m_source.Sqlite)
            for (const QString& key : std::as_const(m_source.KeyNames))
                order.append(quote(key));
        if (!order.isEmpty())
            m_source.Order = QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    }
    bindMasterValues();
    m_rows.clear();
    m_first = 0;
    m_source.Count = 0;
    if (describe)
        readWindow(0, [this](const QSqlRecord& record) { describeFields(record); });
    else
        readWindow(0);
    m_source.Count = whole() ? static_cast<int>(m_rows.size()) : countRows();
}

void TZVSqlDataSet::describeFields(const QSqlRecord& record)
{
    for (int i = m_source.RowIdOrder ? 1 : 0; i < record.count(); ++i)
        m_source.Defs.push_back({record.fieldName(i), kindOf(record.field(i))});
    QStringList names;
    for (const TZVFieldDef& def : m_source.Defs)
        names.append(def.Name);
    for (const QString& key : std::as_const(m_source.KeyNames)) {
        const int field = indexOfName(names, key);
        if (field < 0) {
            m_source.KeyFields.clear();
            break;
        }
        m_source.KeyFields.push_back(field);
    }
}

void TZVSqlDataSet::bindMasterValues()
{
    m_source.Binds.clear();
    TZVDataSet* master = Master();
    if (!m_source.Table.isEmpty()) {
        if (!master || DetailFields().isEmpty())
            return;
        QVariantList values;
        if (!CurrentMasterValues(values))
            values = QVariantList(DetailFields().size());
        for (const QVariant& value : std::as_const(values))
            m_source.Binds.append({QString(), toSqlValue(value)});
        return;
    }
    for (const QString& name : m_source.Placeholders) {
        QVariant value;
        if (master && master->Active()) {
            const int linked = indexOfName(DetailFields(), name);
            const QString masterField = linked >= 0 ? MasterFields()[linked] : name;
            if (const TZVField* field = master->FindField(masterField))
                value = field->Value();
        }
        m_source.Binds.append({u':' + name, toSqlValue(value)});
    }
}

TZVFieldKind TZVSqlDataSet::kindOf(const QSqlField& field)
{
    if (m_source.Sqlite && !field.tableName().isEmpty()) {
        const QString table = field.tableName().toCaseFolded();
        if (!m_source.DeclaredTypes.contains(table)) {
            QHash<QString, QString>& columns = m_source.DeclaredTypes[table];
            QSqlQuery info(database());
            if (info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quote(field.tableName()))))
                while (info.next())
                    columns.insert(info.value(1).toString().toCaseFolded(), info.value(2).toString());
        }
        const TZVFieldKind kind =
            declaredKind(m_source.DeclaredTypes[table].value(field.name().toCaseFolded()));
        if (kind != fkUnknown)
            return kind;
    }
    return KindOfType(field.metaType().id());
}

TZVSqlDataSet::TRow TZVSqlDataSet::readRow(const QSqlQuery& query) const
{
    TRow row;
    const int offset = m_source.RowIdOrder ? 1 : 0;
    if (m_source.RowIdOrder) row.RowId = query.value(0);
    row.Values.reserve(static_cast<qsizetype>(m_source.Defs.size()));
    for (size_t i = 0; i < m_source.Defs.size(); ++i) {
        const QVariant raw = query.value(static_cast<int>(i) + offset);
        QVariant value;
        // A value the column's kind cannot hold (SQLite keeps any) is shown as it is.
        if (!ConvertToKind(raw, m_source.Defs[i].Kind, value)) value = raw;
        row.Values.append(value);
    }
    return row;
}

QVariant TZVSqlDataSet::toSqlValue(const QVariant& value) const
{
    if (!m_source.Sqlite) return value;
    // SQLite keeps dates as ISO texts and booleans as integers.
    switch (value.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
        return ValueText(value);
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

QString TZVSqlDataSet::keyCondition() const
{
    if (m_source.UseRowId) return QStringLiteral("rowid = ?");
    QStringList conditions;
    for (const int field : m_source.KeyFields)
        conditions.append(quote(m_source.Defs[static_cast<size_t>(field)].Name) + QStringLiteral(" = ?"));
    return conditions.join(QStringLiteral(" AND "));
}

void TZVSqlDataSet::bindKey(QSqlQuery& query, const TRow& row) const
{
    if (m_source.UseRowId) {
        query.addBindValue(row.RowId);
        return;
    }
    for (const int field : m_source.KeyFields)
        query.addBindValue(toSqlValue(row.Values[field]));
}

bool TZVSqlDataSet::reread(TRow& row) const
{
    if (m_source.UseRowId ? !row.RowId.isValid()
                          : std::any_of(m_source.KeyFields.begin(), m_source.KeyFields.end(),
                                        [&row](int field) { return !row.Values[field].isValid(); }))
        return false;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    const QString text =
        QStringLiteral("SELECT %1* FROM %2 WHERE %3")
            .arg(m_source.RowIdOrder ? QStringLiteral("rowid, ") : QString(), quotedTable(), keyCondition());
    if (!query.prepare(text))
        return false;
    bindKey(query, row);
    if (!query.exec() || !query.next())
        return false;
    row = readRow(query);
    return true;
}

int TZVSqlDataSet::DoPost(int row, const QVariantList& values)
{
    QSqlQuery query(database());
    const auto saveFailed = [&query](const QString& reason = {}) {
        throw EZvError(QLatin1String(kErrorCantSave) + (reason.isEmpty() ? SqlErrorText(query.lastError()) : reason));
    };
    const QString table = quotedTable();
    if (row >= 0) {
        const TRow* found = rowAt(row);
        if (!found)
            saveFailed(QStringLiteral("RECORD NOT FOUND"));
        TRow& stored = m_rows[static_cast<size_t>(row - m_first)];
        QStringList assignments;
        QVariantList bound;
        for (size_t i = 0; i < m_source.Defs.size(); ++i) {
            if (sameValue(stored.Values[static_cast<int>(i)], values[static_cast<int>(i)]))
                continue;
            assignments.append(quote(m_source.Defs[i].Name) + QStringLiteral(" = ?"));
            bound.append(toSqlValue(values[static_cast<int>(i)]));
        }
        if (assignments.isEmpty())
            return row;
        if (!query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                               .arg(table, assignments.join(QStringLiteral(", ")), keyCondition())))
            saveFailed();
        for (const QVariant& value : std::as_const(bound))
            query.addBindValue(value);
        bindKey(query, stored);
        if (!query.exec())
            saveFailed();
        if (query.numRowsAffected() == 0)
            saveFailed(QStringLiteral("RECORD NOT FOUND"));
        stored.Values = values;
        return row;
    }

    QStringList columns;
    QStringList marks;
    QVariantList bound;
    for (size_t i = 0; i < m_source.Defs.size(); ++i) {
        if (!values[static_cast<int>(i)].isValid())
            continue;
        columns.append(quote(m_source.Defs[i].Name));
        marks.append(QStringLiteral("?"));
        bound.append(toSqlValue(values[static_cast<int>(i)]));
    }
    const QString text = columns.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                           : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                                 .arg(table, columns.join(QStringLiteral(", ")),
                                                      marks.join(QStringLiteral(", ")));
    if (!query.prepare(text))
        saveFailed();
    for (const QVariant& value : std::as_const(bound))
        query.addBindValue(value);
    if (!query.exec())
        saveFailed();

    TRow added{values, {}};
    const QVariant id = query.lastInsertId();
    if (m_source.UseRowId) {
        added.RowId = id;
    } else if (m_source.KeyFields.size() == 1 && !added.Values[m_source.KeyFields.front()].isValid()) {
        const int key = m_source.KeyFields.front();
        ConvertToKind(id, m_source.Defs[static_cast<size_t>(key)].Kind, added.Values[key]);
    }
    // Defaults and generated keys show as the database stored them.
    reread(added);
    if (whole()) {
        m_rows.push_back(std::move(added));
        return m_source.Count++;
    }
    return placeOfAdded(added);
}

// Connections serve the thread that made them: a copy clones its source's in the thread reading it.
QSqlDatabase TZVSqlDataSet::cloned() const
{
    if (m_cloneThread == QThread::currentThread())
        return m_clone;
    dropClone();
    static std::atomic<int> serial{0};
    m_clone = QSqlDatabase::cloneDatabase(m_cloneOf, QStringLiteral("zorvel-copy-%1").arg(++serial));
    m_cloneThread = QThread::currentThread();
    if (!m_clone.open())
        ThrowCantOpenDataSet(SqlErrorText(m_clone.lastError()));
    return m_clone;
}

void TZVSqlDataSet::dropClone() const
{
    if (!m_cloneThread)
        return;
    const QString name = m_clone.connectionName();
    m_clone = QSqlDatabase();
    m_cloneThread = nullptr;
    QSqlDatabase::removeDatabase(name);
}

std::unique_ptr<TZVDataSet> TZVSqlDataSet::OpenCopy() const
{
    if (!Active())
        return nullptr;
    const QSqlDatabase db = database();
    const QString file = db.databaseName();
    if (m_source.Sqlite &&
        (file.isEmpty() || file == u":memory:" || file.contains(QLatin1String("mode=memory")) ||
         db.connectOptions().contains(QLatin1String("mode=memory"))))
        return nullptr;
    auto copy = std::make_unique<TZVSqlDataSet>();
    CopyViewTo(*copy);
    copy->m_cloneOf = m_cloneOf.isEmpty() ? db.connectionName() : m_cloneOf;
    copy->m_connections = m_connections;
    copy->m_databaseName = m_databaseName;
    copy->m_tableName = m_tableName;
    copy->m_sql = m_sql;
    copy->m_source = m_source;
    copy->m_more = true;
    copy->m_presetOpen = true;
    copy->Open();
    return copy;
}

bool TZVSqlDataSet::sameKey(const TRow& a, const TRow& b) const
{
    if (m_source.RowIdOrder) return sameValue(a.RowId, b.RowId);
    return !m_source.KeyFields.empty() &&
           std::all_of(m_source.KeyFields.begin(), m_source.KeyFields.end(),
                       [&](int field) { return sameValue(a.Values.value(field), b.Values.value(field)); });
}

// Where the database's order puts a record appended to more records than a window holds.
int TZVSqlDataSet::placeOfAdded(const TRow& added)
{
    m_rows.clear();
    m_first = 0;
    m_more = true;
    m_source.Count = countRows();
    // New keys mostly sort last.
    if (const TRow* last = rowAt(m_source.Count - 1); last && sameKey(*last, added))
        return m_source.Count - 1;
    for (int row = 0; row < m_source.Count; ++row)
        if (const TRow* found = rowAt(row); found && sameKey(*found, added))
            return row;
    return m_source.Count - 1;
}

void TZVSqlDataSet::DoDelete(int row)
{
    if (!rowAt(row))
        throw EZvError(QLatin1String(kErrorCantDelete) + QStringLiteral("RECORD NOT FOUND"));
    QSqlQuery query(database());
    bool done = query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(quotedTable(), keyCondition()));
    if (done) {
        bindKey(query, m_rows[static_cast<size_t>(row - m_first)]);
        done = query.exec();
    }
    if (!done)
        throw EZvError(QLatin1String(kErrorCantDelete) + SqlErrorText(query.lastError()));
    m_rows.erase(m_rows.begin() + (row - m_first));
    --m_source.Count;
}

} // namespace zorvel
