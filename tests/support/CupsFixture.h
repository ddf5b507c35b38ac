// A private CUPS scheduler for a test process (tests/support/cups_fixture.sh), and what arrives
// at its queues.
#pragma once

#include "tests/support/SharedServer.h"

#include <QString>
#include <QStringList>

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
    // A Zebra label printer writing ZPL, added on request by addLabelQueue.
    static constexpr const char* kLabelQueue = "zv_label";

    // Adds kLabelQueue; false, with the reason in `why`, when the driver cannot be had.
    bool addLabelQueue(QString& why) const;

    // A CUPS tool against this server; its exit status, stdout and stderr in `output`.
    int run(const QString& tool, const QStringList& args, QString* output = nullptr) const;

    // Empties the queue's output file, so the next job's arrival shows.
    void clear(const QString& queue) const;

    QString output(const QString& queue) const;

    // Waits until the queue has no pending job and its PDF (ZPL for the label queue) is there; a
    // copy of it, or empty when nothing arrived in time.
    QString receivedPdf(const QString& queue, int timeoutMs = 30000) const;

    void stop();

private:
    friend class SharedServer<CupsServer>;
    CupsServer();

    QString m_dir;
    mutable int m_received = 0;
};

} // namespace zorvel::test

// Fails the current test (nothing skips) when the shared scheduler is not running.
#define ZV_REQUIRE_CUPS() ZV_REQUIRE_SERVER(::zorvel::test::CupsServer, "CUPS")
