// A private PostgreSQL server for one test process: its own data folder and socket folder, no TCP.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace zorvel::test {

// Started on first use (initdb, pg_ctl start) and stopped when the tests end (pg_ctl stop, the
// folder removed). Run as root, the server runs as the "postgres" user, which initdb demands.
// Never touches the machine's own clusters: everything lives under one temporary folder.
class PostgresServer
{
public:
    // The process's server, started if need be; check Error() before use.
    static PostgresServer& Shared();

    // Empty while the server runs; otherwise why it could not be started.
    const QString& Error() const { return m_error; }
    // The folder holding the server's socket.
    const QString& SocketFolder() const { return m_socketFolder; }
    // The superuser; local connections need no password.
    static QString User() { return QStringLiteral("zorvel"); }
    // postgresql://zorvel@/<database>?host=<socket folder>
    QString Url(const QString& database) const;
    // A new empty database of a name not used before in this process; returns its name.
    QString CreateDatabase();
    // A Qt connection of that name to `database` (closed by QSqlDatabase::removeDatabase).
    QSqlDatabase Connect(const QString& connection, const QString& database) const;

    void Stop();

private:
    PostgresServer();
    ~PostgresServer() = default;
    bool run(const QString& program, const QStringList& arguments, int timeoutMs);
    void watchOver(const QString& pgCtl, const QString& data);

    QString m_error;
    QString m_root; // everything of the server, removed by Stop()
    QString m_socketFolder;
    QString m_binFolder;
    bool m_running = false;
    int m_databases = 0;
};

} // namespace zorvel::test

// Fails the current test (nothing skips) when the shared server could not be started.
#define ZV_REQUIRE_POSTGRES()                                                                            \
    do {                                                                                                 \
        if (!::zorvel::test::PostgresServer::Shared().Error().isEmpty())                                 \
            GTEST_FAIL() << "PostgreSQL: " << ::zorvel::test::PostgresServer::Shared().Error().toStdString(); \
    } while (false)
