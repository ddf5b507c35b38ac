// A private CUPS scheduler for a test process (tests/support/cups_fixture.sh), and what arrives
// at its queues as PDF pages and words.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QUuid>

#include <vector>

namespace zorvel::test {

class CupsServer
{
public:
    // Queues zv_a (the default) and zv_b; each job overwrites the queue's output file.
    static constexpr const char* kQueueA = "zv_a";
    static constexpr const char* kQueueB = "zv_b";
    // A Zebra label printer writing ZPL, added on request by addLabelQueue.
    static constexpr const char* kLabelQueue = "zv_label";

    // Points this process's CUPS client at the new server: call before anything asks CUPS.
    CupsServer()
        : m_dir(QDir::tempPath() + "/zorvel-cups-" + QUuid::createUuid().toString(QUuid::Id128).left(12))
    {
        QProcess script;
        script.start("sh", {scriptPath(), "start", m_dir, QString::number(QCoreApplication::applicationPid())});
        script.waitForFinished(30000);
        m_error = QString::fromLocal8Bit(script.readAllStandardError()).trimmed();
        m_ok = script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
        if (m_ok) qputenv("CUPS_SERVER", QFile::encodeName(m_dir + "/cups.sock"));
    }
    ~CupsServer()
    {
        QProcess::execute("sh", {scriptPath(), "stop", m_dir});
    }
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // Adds kLabelQueue; false, with the reason in error(), when the driver cannot be had.
    bool addLabelQueue()
    {
        QProcess script;
        script.start("sh", {scriptPath(), "label", m_dir});
        script.waitForFinished(30000);
        m_error = QString::fromLocal8Bit(script.readAllStandardError()).trimmed();
        return script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
    }

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    QString dir() const { return m_dir; }

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
    static QString scriptPath() { return QStringLiteral(ZORVEL_TEST_DATA_DIR "/../support/cups_fixture.sh"); }
    static QString suffix(const QString& queue) { return queue == kLabelQueue ? ".zpl" : ".pdf"; }
    static QString resolve(const QString& tool)
    {
        for (const char* dir : {"/usr/bin/", "/usr/sbin/"})
            if (QFileInfo::exists(dir + tool)) return dir + tool;
        return tool;
    }

    QString m_dir;
    QString m_error;
    bool m_ok = false;
    mutable int m_received = 0;
};

struct PdfWord
{
    QString text;
    int page = 0; // from 1
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0; // mm from the page's top-left corner
};

// Every word of the PDF with its box (pdftotext -bbox).
inline std::vector<PdfWord> readPdfWords(const QString& pdf)
{
    QProcess process;
    process.start("pdftotext", {"-bbox", pdf, "-"});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression item(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<PdfWord> words;
    int page = 0;
    const double mm = 25.4 / 72;
    for (const auto& m : item.globalMatch(html)) {
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        words.push_back({m.captured(5), page, m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                         m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm});
    }
    return words;
}

} // namespace zorvel::test
