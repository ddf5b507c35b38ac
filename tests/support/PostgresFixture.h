// A private PostgreSQL server for one test process: its own data folder and socket folder, no TCP.
#pragma once

#include "tests/support/SharedServer.h"

#include <QSqlDatabase>
#include <QString>

namespace zorvel::test {

// Started on first use (initdb, pg_ctl start) and stopped when the tests end (pg_ctl stop, the
// folder removed), like CupsServer. Run as root, the server runs as the "postgres" user, which
// initdb demands. Never touches the machine's own clusters: everything lives under one temporary
// folder.
class PostgresServer : public SharedServer<PostgresServer>
{
public:
    // The folder holding the server's socket.
    const QString& socketFolder() const { return m_socketFolder; }
    // The superuser; local connections need no password.
    static QString user() { return QStringLiteral("zorvel"); }
    // postgresql://zorvel@/<database>?host=<socket folder>
    QString url(const QString& database) const;
    // A new empty database of a name not used before in this process; returns its name.
    QString createDatabase();
    // A Qt connection of that name to `database` (closed by QSqlDatabase::removeDatabase).
    QSqlDatabase connect(const QString& connection, const QString& database) const;

    void stop();

private:
    friend class SharedServer<PostgresServer>;
    PostgresServer();
    bool run(const QString& program, const QStringList& arguments, int timeoutMs);
    void watchOver(const QString& pgCtl, const QString& data);

    QString m_root; // everything of the server, removed by stop()
    QString m_socketFolder;
    QString m_binFolder;
    bool m_running = false;
    int m_databases = 0;
};

} // namespace zorvel::test

// Fails the current test (nothing skips) when the shared server could not be started.
#define ZV_REQUIRE_POSTGRES() ZV_REQUIRE_SERVER(::zorvel::test::PostgresServer, "PostgreSQL")
