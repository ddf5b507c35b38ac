// The private CUPS scheduler: cups_fixture.sh on a temporary folder, reached through its socket.
#include "tests/support/CupsFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QUuid>

namespace zorvel::test {

namespace {

QString scriptPath()
{
    return QStringLiteral(ZORVEL_TEST_DATA_DIR "/../support/cups_fixture.sh");
}

QString suffix(const QString& queue)
{
    return queue == CupsServer::kLabelQueue ? ".zpl" : ".pdf";
}

QString resolve(const QString& tool)
{
    for (const char* dir : {"/usr/bin/", "/usr/sbin/"})
        if (QFileInfo::exists(dir + tool)) return dir + tool;
    return tool;
}

// The script's exit status; its stderr in `error`.
int runScript(const QStringList& args, QString& error)
{
    QProcess script;
    script.start("sh", QStringList{scriptPath()} + args);
    script.waitForFinished(30000);
    error = QString::fromLocal8Bit(script.readAllStandardError()).trimmed();
    return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
}

} // namespace

CupsServer::CupsServer()
    : m_dir(QDir::tempPath() + "/zorvel-cups-" + QUuid::createUuid().toString(QUuid::Id128).left(12))
{
    QString error;
    if (runScript({"start", m_dir, QString::number(QCoreApplication::applicationPid())}, error) != 0) {
        m_error = error.isEmpty() ? QStringLiteral("cups_fixture.sh start failed") : error;
        return;
    }
    qputenv("CUPS_SERVER", QFile::encodeName(m_dir + "/cups.sock"));
}

void CupsServer::stop()
{
    QProcess::execute("sh", {scriptPath(), "stop", m_dir});
    if (m_error.isEmpty()) m_error = QStringLiteral("stopped");
}

bool CupsServer::addLabelQueue(QString& why) const
{
    return runScript({"label", m_dir}, why) == 0;
}

int CupsServer::run(const QString& tool, const QStringList& args, QString* output) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(resolve(tool), args);
    process.waitForFinished(30000);
    if (output) *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void CupsServer::clear(const QString& queue) const
{
    QFile(output(queue)).resize(0);
}

QString CupsServer::output(const QString& queue) const
{
    return m_dir + "/out/" + queue + suffix(queue);
}

QString CupsServer::receivedPdf(const QString& queue, int timeoutMs) const
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

} // namespace zorvel::test
