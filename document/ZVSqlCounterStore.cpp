// Taking a run's counter range from a design stored in an SQL row, and rewriting only its counters.
#include "document/ZVSqlCounterStore.h"

#include "document/ZVCustomLab.h"
#include "document/ZVStreamVisitors.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVConnections.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace zorvel {
namespace {

// The counters and the quantity field close the stream, so replacing that section leaves every
// other byte as stored, even those a label without an editor would write back otherwise.
QByteArray contentSection(TZVCustomLab& label)
{
    TZVMemoryStream section;
    TZVStreamWriter writer(section, label.ReadVersion());
    label.VisitContentFields(writer);
    return section.Bytes();
}

// The design as stored, nothing of it changed on the way in.
void loadStored(TZVLab& scratch, const QByteArray& bytes)
{
    TZVMemoryStream stream(bytes);
    stream.SetPosition(0);
    scratch.LoadFromStreamRaw(stream);
}

QString driverText(const QSqlError& error)
{
    return error.text().simplified();
}

void exec(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql)) throw EZvError(driverText(query.lastError()));
}

// Only names the database lists reach the SQL text.
QString listedName(const QStringList& names, const QString& name, const QString& unknown)
{
    for (const QString& listed : names)
        if (listed.compare(name, Qt::CaseInsensitive) == 0) return listed;
    throw EZvError(unknown + name);
}

QString columnOf(const QSqlDatabase& db, const QString& table, const QString& column)
{
    const QSqlRecord record = db.record(table);
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    return db.driver()->escapeIdentifier(listedName(names, column, QLatin1String(kErrorInvalidFieldName)),
                                         QSqlDriver::FieldName);
}

// The quoted names of the design's row, as the database lists them.
struct TQuotedRow
{
    QString Table;
    QString Key;
    QString Column;
};

TQuotedRow quotedRow(const QSqlDatabase& db, const TZVDesignRow& row)
{
    const QString table = listedName(db.tables(QSql::Tables), row.Table, QStringLiteral("UNKNOWN TABLE "));
    return {db.driver()->escapeIdentifier(table, QSqlDriver::TableName), columnOf(db, table, row.KeyColumn),
            columnOf(db, table, row.StreamColumn)};
}

// SQLite has no row locks and needs none: a transaction's writer locks the whole file.
QByteArray readRow(QSqlDatabase& db, const TQuotedRow& names, const TZVDesignRow& row, bool lockRow)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?%4")
            .arg(names.Column, names.Table, names.Key, lockRow ? QStringLiteral(" FOR UPDATE") : QString()));
    query.addBindValue(row.Key);
    if (!query.exec()) throw EZvError(driverText(query.lastError()));
    if (!query.next())
        throw EZvError(QStringLiteral("NO DESIGN WHERE %1 = %2").arg(row.KeyColumn, row.Key.toString()));
    return query.value(0).toByteArray();
}

void write(QSqlDatabase& db, const TQuotedRow& names, const TZVDesignRow& row, const QByteArray& stream)
{
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?").arg(names.Table, names.Column, names.Key));
    query.addBindValue(stream);
    query.addBindValue(row.Key);
    if (!query.exec()) throw EZvError(driverText(query.lastError()));
}

// The write lock of the design's row for one transaction; rolled back unless committed. SQLite
// locks the whole file at BEGIN IMMEDIATE, so a second writer waits there, before it reads.
class TRowLock
{
public:
    explicit TRowLock(QSqlDatabase& db) : m_db(db), m_sqlite(db.driverName() == u"QSQLITE"), m_query(db)
    {
        if (!m_sqlite) {
            if (!m_db.transaction()) throw EZvError(driverText(m_db.lastError()));
            m_open = true;
            return;
        }
        exec(m_query, QStringLiteral("PRAGMA busy_timeout"));
        m_busyTimeout = m_query.next() ? m_query.value(0).toInt() : 0;
        exec(m_query, QStringLiteral("PRAGMA busy_timeout = %1").arg(TZVSqlCounterStore::kBusyTimeoutMs));
        if (!m_query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            const QString reason = driverText(m_query.lastError());
            restoreBusyTimeout();
            throw EZvError(reason);
        }
        m_open = true;
    }
    ~TRowLock()
    {
        if (m_open) {
            if (m_sqlite)
                m_query.exec(QStringLiteral("ROLLBACK"));
            else
                m_db.rollback();
        }
        if (m_sqlite) restoreBusyTimeout();
    }
    Q_DISABLE_COPY_MOVE(TRowLock)

    bool Sqlite() const { return m_sqlite; }
    void Commit()
    {
        if (m_sqlite)
            exec(m_query, QStringLiteral("COMMIT"));
        else if (!m_db.commit())
            throw EZvError(driverText(m_db.lastError()));
        m_open = false;
    }

private:
    // The connection's own timeout applies again after the transaction.
    void restoreBusyTimeout() { m_query.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(m_busyTimeout)); }

    QSqlDatabase& m_db;
    bool m_sqlite;
    QSqlQuery m_query;
    bool m_open = false;
    int m_busyTimeout = 0;
};

} // namespace

TZVReservedDesign ReserveInStream(const QByteArray& stream, const QHash<QString, std::int64_t>& steps,
                                  QDate jobDate)
{
    TZVLab scratch;
    loadStored(scratch, stream);
    TZVReservedDesign reserved;
    const QList<TZVCounter> read = scratch.Counters();
    if (read.isEmpty()) return reserved;
    const QByteArray section = contentSection(scratch);
    if (!stream.endsWith(section))
        throw EZvError(QStringLiteral("STORED DESIGN DOES NOT END WITH ITS COUNTERS"));
    for (const TZVCounter& counter : read) {
        const std::int64_t start = CounterRunStart(counter, jobDate);
        const std::int64_t taken = steps.value(counter.Name.toUpper(), steps.value(counter.Name));
        reserved.Stored.append(CounterAfterRun(counter, start, taken, jobDate));
        reserved.Printed.append(counter);
        reserved.Printed.back().Start = start;
    }
    if (reserved.Stored == read) return reserved;
    scratch.SetCounters(reserved.Stored);
    reserved.Stream = stream.first(stream.size() - section.size()) + contentSection(scratch);
    return reserved;
}

TZVSqlCounterStore::TZVSqlCounterStore(const QString& connection, TZVDesignRow row)
    : m_connection(connection), m_row(std::move(row))
{
}

TZVSqlCounterStore::TZVSqlCounterStore(TZVConnections& connections, const QString& alias, TZVDesignRow row)
    : m_connections(&connections), m_connection(alias), m_row(std::move(row))
{
}

QSqlDatabase TZVSqlCounterStore::database() const
{
    if (m_connections) return m_connections->Database(m_connection);
    if (!QSqlDatabase::contains(m_connection))
        throw EZvError(QLatin1String(kErrorUnknownAlias) + m_connection);
    QSqlDatabase db = QSqlDatabase::database(m_connection);
    if (!db.isOpen()) throw EZvError(driverText(db.lastError()));
    return db;
}

QList<TZVCounter> TZVSqlCounterStore::Reserve(const QHash<QString, std::int64_t>& steps, QDate jobDate)
{
    try {
        QSqlDatabase db = database();
        TRowLock lock(db);
        const TQuotedRow names = quotedRow(db, m_row);
        TZVReservedDesign reserved =
            ReserveInStream(readRow(db, names, m_row, !lock.Sqlite()), steps, jobDate);
        if (!reserved.Stream.isEmpty()) write(db, names, m_row, reserved.Stream);
        lock.Commit();
        m_stored = reserved.Stored;
        m_reserved = true;
        return reserved.Printed;
    } catch (const EZvError& e) {
        throw EZvError(QLatin1String(kErrorCantSaveCounters) + e.message());
    }
}

QList<TZVCounter> TZVSqlCounterStore::Read() const
{
    QSqlDatabase db = database();
    TZVLab scratch;
    loadStored(scratch, readRow(db, quotedRow(db, m_row), m_row, false));
    return scratch.Counters();
}

} // namespace zorvel
