// TZVSqlDataSet: a data set over a table or a SELECT of a named Qt SQL connection.
#pragma once

#include "foundation/ZVDataSet.h"
#include "zorvel_core_export.h"

#include <QSqlDatabase>

#include <functional>

class QSqlField;
class QSqlQuery;
class QSqlRecord;
class QThread;

namespace zorvel {

class TZVConnections;

/// Prefixes of the write failures; the driver's reason follows.
/// @{
inline constexpr const char* kErrorCantSave = "CAN'T SAVE RECORD : ";
inline constexpr const char* kErrorCantDelete = "CAN'T DELETE RECORD : ";
/// @}

/// The source is a table (TableName) or a query (Sql) of the connection named DatabaseName.
/// Records are read a window of kWindowRows at a time, each window by its own forward-only
/// statement that is finished before the records are used, so no read lock or pending result
/// outlasts the read. A result that fits one window is read whole, as at Open; a larger one is
/// counted with COUNT(*) and its windows are read as they are reached: the next one after the
/// last record of the window before (by rowid or key) where the order allows, else by OFFSET.
/// A query is paged as a subquery; one that cannot be (a PRAGMA, say) is read again from its
/// start for each window. A SELECT without ORDER BY must return its rows in the same order each
/// time it runs.
///
/// Field kinds come from the declared column types where the driver keeps none of its own
/// (SQLite: "DATE" -> fkDate, "BOOLEAN" -> fkBoolean, "DECIMAL" -> fkBCD, "BLOB" -> fkBlob, ...),
/// else from the driver's value types. SQLite stores dates as ISO texts.
///
/// Master-detail: a table detail asks for "<detail field> = <master value>"; a query detail binds
/// each placeholder (":IDPRINTER") to the master field linked to it by DetailFields, or else to the
/// master field of the same name; either is re-queried on every master move. A query without
/// placeholders is linked by comparing the fetched records. Values are always bound, never pasted.
///
/// Edit, Append, Delete and Post write back only to a table with a primary key (or, in SQLite, a
/// rowid); a query is read-only. Failures raise "CAN'T SAVE RECORD : <reason>" and
/// "CAN'T DELETE RECORD : <reason>"; opening raises "CAN'T OPEN DATASET : <reason>".
class ZORVEL_CORE_EXPORT TZVSqlDataSet : public TZVDataSet
{
    Q_OBJECT

public:
    /// A closed data set on the default connections, without a source.
    explicit TZVSqlDataSet(QObject* parent = nullptr);
    ~TZVSqlDataSet() override;

    /// Null means TZVConnections::Default(). The setters below raise "DATASET IS OPEN" while open.
    void SetConnections(TZVConnections* connections);
    /// The connections given by SetConnections; null for TZVConnections::Default(). Its
    /// TableNames(DatabaseName()) lists the tables the data set could read.
    TZVConnections* Connections() const { return m_connections; }
    /// Alias of the connection (see TZVConnections).
    /// @{
    const QString& DatabaseName() const { return m_databaseName; }
    void SetDatabaseName(const QString& alias);
    /// @}
    /// Setting one of TableName and Sql clears the other. A table's rows come in the order of its
    /// primary key (SQLite: of its rowid); a server table without one, in the order of all its
    /// columns. A table of another schema than public is named "schema.table".
    /// @{
    const QString& TableName() const { return m_tableName; }
    void SetTableName(const QString& table);
    /// @}
    /// The SELECT the data set reads.
    /// @{
    const QString& Sql() const { return m_sql; }
    void SetSql(const QString& select);
    /// @}

    bool CanModify() const override;

    /// The same source, filter and display labels, open, without a master link, reading through a
    /// clone of this one's connection made in the thread that reads it. Null when closed or when
    /// the database lives only in this connection's memory.
    std::unique_ptr<TZVDataSet> OpenCopy() const override;

    /// Records held in memory at a time.
    static constexpr int kWindowRows = 4096;

protected:
    std::vector<TZVFieldDef> DoOpen() override;
    void DoClose() override;
    int RowCount() const override { return m_source.Count; }
    QVariant RowValue(int row, int field) const override;
    int DoPost(int row, const QVariantList& values) override;
    void DoDelete(int row) override;
    bool LinksAtSource() const override;
    void FetchForMaster() override { fetch(false); }

private:
    struct TRow
    {
        QVariantList Values;
        QVariant RowId;
    };

    QSqlDatabase database() const;
    QSqlDatabase cloned() const;
    void dropClone() const;
    QString quote(const QString& identifier) const;
    QString quotedTable() const;
    void orderByAllColumns(const QSqlDatabase& db);
    void requireClosed() const;
    void resolveTable(const QSqlDatabase& db);
    void fetch(bool describe);
    void describeFields(const QSqlRecord& record);
    void bindMasterValues();
    void bindSelect(QSqlQuery& query) const;
    QString pagedQuery() const;
    bool seekable() const;
    void readWindow(int first, const std::function<void(const QSqlRecord&)>& described = {}) const;
    QString seekCondition() const;
    int countRows() const;
    const TRow* rowAt(int row) const;
    bool whole() const;
    int placeOfAdded(const TRow& added);
    bool sameKey(const TRow& a, const TRow& b) const;
    TZVFieldKind kindOf(const QSqlField& field);
    TRow readRow(const QSqlQuery& query) const;
    QVariant toSqlValue(const QVariant& value) const;
    QString keyCondition() const;
    void bindKey(QSqlQuery& query, const TRow& row) const;
    bool reread(TRow& row) const;

    TZVConnections* m_connections = nullptr;
    QString m_databaseName;
    QString m_tableName;
    QString m_sql;

    // What Open found out about the source; a copy opens with it as it stands.
    struct TSource
    {
        bool Sqlite = false;
        QString Table; // as the database spells it
        QStringList Columns;
        QStringList KeyNames;
        QStringList OrderColumns; // quoted; a server table without a key is sorted by all of them
        std::vector<int> KeyFields;
        bool UseRowId = false;
        QStringList Placeholders;
        QHash<QString, QHash<QString, QString>> DeclaredTypes;
        std::vector<TZVFieldDef> Defs;
        QString Select;                        // the SELECT of the records, without ORDER BY
        QStringList Conditions;                // a table's WHERE conditions, "?" bound in order
        QString Order;                         // " ORDER BY ...", or empty
        QList<QPair<QString, QVariant>> Binds; // its values; a name for a named placeholder
        bool RowIdOrder = false;               // an SQLite table: rowid leads and orders the records
        int Count = 0;
        mutable bool PagesAsSubquery = true; // false once a query refused to be one
    };
    TSource m_source;

    // A copy reads through its own clone of the connection named m_cloneOf, made in its thread.
    QString m_cloneOf;
    bool m_presetOpen = false;
    mutable QSqlDatabase m_clone;
    mutable const QThread* m_cloneThread = nullptr;

    // The window of records held: rows m_first .. m_first + m_rows.size() - 1.
    mutable std::vector<TRow> m_rows;
    mutable int m_first = 0;
    mutable bool m_more = false; // records follow the window
};

} // namespace zorvel
