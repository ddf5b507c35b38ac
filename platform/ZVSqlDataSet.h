// TZVSqlDataSet: a data set over a table or a SELECT of a named Qt SQL connection.
#pragma once

#include "foundation/ZVDataSet.h"
#include "zorvel_core_export.h"

#include <QSqlDatabase>

class QSqlField;
class QSqlQuery;

namespace zorvel {

class TZVConnections;

/// Prefixes of the write failures; the driver's reason follows.
/// @{
inline constexpr const char* kErrorCantSave = "CAN'T SAVE RECORD : ";
inline constexpr const char* kErrorCantDelete = "CAN'T DELETE RECORD : ";
/// @}

/// The source is a table (TableName) or a query (Sql) of the connection named DatabaseName.
/// Open reads all records into memory, so RecordCount is exact.
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

protected:
    std::vector<TZVFieldDef> DoOpen() override;
    void DoClose() override;
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
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
    QString quote(const QString& identifier) const;
    QString quotedTable() const;
    void orderByAllColumns(const QSqlDatabase& db);
    void requireClosed() const;
    void resolveTable(const QSqlDatabase& db);
    void fetch(bool describe);
    void bindMasterValues(QSqlQuery& query) const;
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

    // Known while open.
    bool m_sqlite = false;
    QString m_table; // as the database spells it
    QStringList m_columns;
    QStringList m_keyNames;
    QStringList m_orderColumns; // quoted; a server table without a key is sorted by all of them
    std::vector<int> m_keyFields;
    bool m_useRowId = false;
    QStringList m_placeholders;
    QHash<QString, QHash<QString, QString>> m_declaredTypes;
    std::vector<TZVFieldDef> m_defs;
    std::vector<TRow> m_rows;
};

} // namespace zorvel
