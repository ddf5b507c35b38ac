// A private CUPS scheduler for a test process (tests/support/cups_fixture.sh), and what arrives
// at its queues.
#pragma once

#include "tests/support/SharedServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QUuid>

namespace zorvel::test {

// Started on first use and stopped when the tests end, like PostgresServer; it points this
// process's CUPS client at itself, so ask for shared() before anything asks CUPS. Without cupsd
// the script exits with the skip status (tests/support/test_status.sh), which here is a failure
// like any other: the printing tests never skip.
class CupsServer : public SharedServer<CupsServer>
{
public:
    // Queues zv_a (the default) and zv_b; each job overwrites the queue's output file.
    static constexpr const char* kQueueA = "zv_a";
    static constexpr const char* kQueueB = "zv_b";
    // Label printers added on request by addLabelQueue: a Zebra writing ZPL, a DYMO writing its
    // raster, and a queue without driver.
    static constexpr const char* kLabelQueue = "zv_label";
    static constexpr const char* kDymoQueue = "zv_dymo";
    static constexpr const char* kRawQueue = "zv_raw";

    void stop()
    {
        QProcess::execute("sh", {scriptPath(), "stop", m_dir});
        if (m_error.isEmpty()) m_error = QStringLiteral("stopped");
    }

    // Adds the label queues; false, with the reason in `why`, when the driver cannot be had.
    bool addLabelQueue(QString& why) const { return runScript({"label", m_dir}, why); }

    // Removes what addLabelQueue added.
    void removeLabelQueues() const
    {
        for (const char* queue : {kLabelQueue, kDymoQueue, kRawQueue})
            run("lpadmin", {"-x", queue});
    }

    // A CUPS tool against this server; its exit status, stdout and stderr in `output`.
    int run(const QString& tool, const QStringList& args, QString* output = nullptr) const
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(resolve(tool), args);
        process.waitForFinished(30000);
        if (output) *output = QString::fromLocal8Bit(process.readAll());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Empties the queue's output file, so the next job's arrival shows.
    void clear(const QString& queue) const { QFile(output(queue)).resize(0); }

    QString output(const QString& queue) const { return m_dir + "/out/" + queue + suffix(queue); }

    // The scheduler's page log: a line per printed page, with the job's medium.
    QString pageLog() const
    {
        QFile log(m_dir + "/log/page_log");
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    // Waits until the queue has no pending job and its PDF (ZPL for the label queue) is there; a
    // copy of it, or empty when nothing arrived in time.
    QString receivedPdf(const QString& queue, int timeoutMs = 30000) const
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            QString pending;
            run("lpstat", {"-o", queue}, &pending);
            if (pending.trimmed().isEmpty() && QFileInfo(output(queue)).size() > 0) {
                const QString copy = m_dir + "/" + queue + "-" + QString::number(++m_received) + suffix(queue);
                return QFile::copy(output(queue), copy) ? copy : QString();
            }
            QThread::msleep(100);
        }
        return {};
    }

private:
    friend class SharedServer<CupsServer>;
    CupsServer()
        : m_dir(QDir::tempPath() + "/zorvel-cups-" + QUuid::createUuid().toString(QUuid::Id128).left(12))
    {
        if (runScript({"start", m_dir, QString::number(QCoreApplication::applicationPid())}, m_error))
            qputenv("CUPS_SERVER", QFile::encodeName(m_dir + "/cups.sock"));
        else if (m_error.isEmpty())
            m_error = QStringLiteral("cups_fixture.sh did not start");
    }

    // Whether the script succeeded; its stderr in `error`, empty when it did.
    static bool runScript(const QStringList& args, QString& error)
    {
        QProcess script;
        script.start("sh", QStringList{scriptPath()} + args);
        script.waitForFinished(30000);
        const bool ok = script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
        error = ok ? QString() : QString::fromLocal8Bit(script.readAllStandardError()).trimmed();
        return ok;
    }
    static QString scriptPath() { return QStringLiteral(ZORVEL_TEST_DATA_DIR "/../support/cups_fixture.sh"); }
    static QString suffix(const QString& queue)
    {
        return queue == kLabelQueue || queue == kRawQueue ? ".zpl" : queue == kDymoQueue ? ".bin" : ".pdf";
    }
    static QString resolve(const QString& tool)
    {
        for (const char* dir : {"/usr/bin/", "/usr/sbin/"})
            if (QFileInfo::exists(dir + tool)) return dir + tool;
        return tool;
    }

    QString m_dir;
    mutable int m_received = 0;
};

} // namespace zorvel::test

// Fails the current test (nothing skips) when the shared scheduler is not running.
#define ZV_REQUIRE_CUPS() ZV_REQUIRE_SERVER(::zorvel::test::CupsServer, "CUPS")
