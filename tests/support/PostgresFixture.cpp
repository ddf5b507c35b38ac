// The private PostgreSQL server: initdb and pg_ctl on a temporary folder, socket only.
#include "tests/support/PostgresFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

namespace zorvel::test {

namespace {

// The newest installed server's programs, or whatever PATH finds.
QString findBinFolder()
{
    const QString given = qEnvironmentVariable("ZORVEL_PG_BINDIR");
    if (!given.isEmpty())
        return given;
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& version : found)
        if (QFile::exists(versions.filePath(version + QStringLiteral("/bin/initdb"))))
            return versions.filePath(version + QStringLiteral("/bin"));
    return {};
}

} // namespace

PostgresServer::PostgresServer()
{
    m_binFolder = findBinFolder();
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/zorvel-pg-XXXXXX"));
    if (!root.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    root.setAutoRemove(false);
    m_root = root.path();
    m_socketFolder = m_root;
    // initdb refuses root: hand the folder to the server's own account.
    if (geteuid() == 0) {
        const passwd* account = getpwnam("postgres");
        if (!account) {
            m_error = QStringLiteral("running as root and there is no postgres user");
            return;
        }
        if (chown(QFile::encodeName(m_root).constData(), account->pw_uid, account->pw_gid) != 0) {
            m_error = QStringLiteral("cannot hand %1 to postgres").arg(m_root);
            return;
        }
    }
    const QString data = m_root + QStringLiteral("/data");
    const QString pgCtl = m_binFolder.isEmpty() ? QStringLiteral("pg_ctl") : m_binFolder + QStringLiteral("/pg_ctl");
    watchOver(pgCtl, data);
    const QString initdb = m_binFolder.isEmpty() ? QStringLiteral("initdb") : m_binFolder + QStringLiteral("/initdb");
    if (!run(initdb,
             {QStringLiteral("-D"), data, QStringLiteral("-U"), user(), QStringLiteral("--auth=trust"),
              QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"), QStringLiteral("--no-sync")},
             60000))
        return;
    QFile conf(data + QStringLiteral("/postgresql.conf"));
    if (!conf.open(QIODevice::Append)) {
        m_error = QStringLiteral("cannot write ") + conf.fileName();
        return;
    }
    // Socket only, in our folder; a scratch server need not wait for the disk.
    conf.write(QStringLiteral("listen_addresses = ''\nunix_socket_directories = '%1'\n"
                              "fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n")
                   .arg(m_socketFolder)
                   .toUtf8());
    conf.close();
    if (!run(pgCtl,
             {QStringLiteral("-D"), data, QStringLiteral("-l"), m_root + QStringLiteral("/server.log"),
              QStringLiteral("-w"), QStringLiteral("-s"), QStringLiteral("start")},
             60000)) {
        QFile log(m_root + QStringLiteral("/server.log"));
        if (log.open(QIODevice::ReadOnly))
            m_error += QStringLiteral(" : ") + QString::fromLocal8Bit(log.readAll()).simplified();
        return;
    }
    m_running = true;
}

// A test process that crashes or is killed by a timeout never calls stop(): a watcher stops the
// server and removes the folder once the process is gone.
void PostgresServer::watchOver(const QString& pgCtl, const QString& data)
{
    QProcess watcher;
    watcher.setProgram(QStringLiteral("sh"));
    watcher.setArguments({QStringLiteral("-c"),
                          QStringLiteral("while kill -0 \"$1\" 2>/dev/null; do sleep 1; done; "
                                         "if [ -f \"$3/postmaster.pid\" ]; then $4 \"$2\" -D \"$3\" -m immediate -w -s stop; fi; "
                                         "rm -rf \"$5\""),
                          QStringLiteral("zorvel-pg-watch"), QString::number(QCoreApplication::applicationPid()), pgCtl,
                          data, geteuid() == 0 ? QStringLiteral("setpriv --reuid=postgres --regid=postgres --init-groups")
                                               : QString(),
                          m_root});
    // Not the test's own output: ctest would wait for the watcher to close it.
    watcher.setStandardInputFile(QProcess::nullDevice());
    watcher.setStandardOutputFile(QProcess::nullDevice());
    watcher.setStandardErrorFile(QProcess::nullDevice());
    watcher.startDetached();
}

bool PostgresServer::run(const QString& program, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (geteuid() == 0)
        process.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=postgres"),
                                                             QStringLiteral("--regid=postgres"),
                                                             QStringLiteral("--init-groups"), program} +
                                                     arguments);
    else
        process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        m_error = QStringLiteral("%1 failed: %2 %3")
                      .arg(program, process.errorString(), QString::fromLocal8Bit(process.readAll()).simplified());
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return true;
}

QString PostgresServer::url(const QString& database) const
{
    return QStringLiteral("postgresql://%1@/%2?host=%3").arg(user(), database, m_socketFolder);
}

QSqlDatabase PostgresServer::connect(const QString& connection, const QString& database) const
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
    db.setHostName(m_socketFolder);
    db.setUserName(user());
    db.setDatabaseName(database);
    EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    return db;
}

QString PostgresServer::createDatabase()
{
    const QString name = QStringLiteral("zv%1").arg(++m_databases);
    const QString connection = QStringLiteral("zorvel-test-admin");
    {
        QSqlDatabase db = connect(connection, QStringLiteral("postgres"));
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(QStringLiteral("CREATE DATABASE ") + name)) << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(connection);
    return name;
}

void PostgresServer::stop()
{
    if (m_running) {
        const QString pgCtl = m_binFolder.isEmpty() ? QStringLiteral("pg_ctl") : m_binFolder + QStringLiteral("/pg_ctl");
        run(pgCtl, {QStringLiteral("-D"), m_root + QStringLiteral("/data"), QStringLiteral("-m"), QStringLiteral("fast"),
                    QStringLiteral("-w"), QStringLiteral("-s"), QStringLiteral("stop")},
            60000);
        m_running = false;
    }
    if (!m_root.isEmpty())
        QDir(m_root).removeRecursively();
    m_root.clear();
    if (m_error.isEmpty())
        m_error = QStringLiteral("stopped");
}

} // namespace zorvel::test
