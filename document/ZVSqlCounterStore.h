// The counters of a design kept in a row of an SQL table: each run takes its range in one transaction.
#pragma once

#include "document/ZVCounters.h"
#include "zorvel_core_export.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace zorvel {

class TZVConnections;

/// Exact message of every failure to take a range; the reason follows.
inline constexpr const char* kErrorCantSaveCounters = "CAN'T SAVE COUNTERS : ";

/// Where a stored design lives: one row of a table, found by its key, its stream in one column.
/// Names match the database's own without regard to case.
struct TZVDesignRow
{
    QString Table;        ///< the table (on PostgreSQL "schema.table" for another schema)
    QString KeyColumn;    ///< the column that finds the row
    QVariant Key;         ///< its value for this design
    QString StreamColumn; ///< the column holding the design stream
};

/// What a run takes from a stored design stream: the stream to store back, identical to the one
/// read but for its counters (empty when nothing changes), and the counters before and after.
struct TZVReservedDesign
{
    QByteArray Stream;         ///< the rewritten stream; empty: store nothing
    QList<TZVCounter> Printed; ///< the counters as read, Start being the run's first value
    QList<TZVCounter> Stored;  ///< the counters as the rewritten stream holds them
};

/// The range a run of `steps` (by upper-case name) on `jobDate` takes from `stream`. Raises
/// EZvError "ERROR READING FILE" for a design that does not load, and "STORED DESIGN DOES NOT END
/// WITH ITS COUNTERS" when its counters cannot be replaced without touching anything else.
ZORVEL_CORE_EXPORT TZVReservedDesign ReserveInStream(const QByteArray& stream,
                                                     const QHash<QString, std::int64_t>& steps,
                                                     QDate jobDate);

/// The counters of a design stored in an SQL table through QtSql. Reserve locks the row (SELECT
/// ... FOR UPDATE, on SQLite BEGIN IMMEDIATE waiting up to kBusyTimeoutMs for another writer),
/// stores the stream ReserveInStream makes and commits; any failure rolls back and raises
/// "CAN'T SAVE COUNTERS : <reason>", the stored design left as it was.
class ZORVEL_CORE_EXPORT TZVSqlCounterStore final : public TZVCounterStore
{
public:
    /// How long a SQLite Reserve waits for another connection's write lock, in milliseconds.
    static constexpr int kBusyTimeoutMs = 30000;

    /// Through the Qt SQL connection named `connection`.
    TZVSqlCounterStore(const QString& connection, TZVDesignRow row);
    /// Through an alias of `connections` (not owned, outlives the store), on its thread.
    TZVSqlCounterStore(TZVConnections& connections, const QString& alias, TZVDesignRow row);

    QList<TZVCounter> Reserve(const QHash<QString, std::int64_t>& steps, QDate jobDate) override;

    /// The counters the stored design holds now, read without a lock. Raises EZvError (the
    /// database's or the stream's message) when it cannot.
    QList<TZVCounter> Read() const;
    /// The counters as the last Reserve left them stored; empty until one succeeded.
    const QList<TZVCounter>& Stored() const { return m_stored; }
    /// Whether a Reserve succeeded: the stored design's counters moved on.
    bool Reserved() const { return m_reserved; }

private:
    QSqlDatabase database() const;

    TZVConnections* m_connections = nullptr;
    QString m_connection; // a Qt SQL connection name, or the alias of m_connections
    TZVDesignRow m_row;
    QList<TZVCounter> m_stored;
    bool m_reserved = false;
};

} // namespace zorvel
