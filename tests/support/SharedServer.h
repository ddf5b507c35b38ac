// How the tests' private servers live: one of a kind per test process, started on first use and
// stopped when the tests end.
#pragma once

#include <QString>

#include <gtest/gtest.h>

namespace zorvel::test {

// Server derives from SharedServer<Server>, lets this base make it (friend), sets m_error when it
// cannot start and ends in stop(). A test process that crashes or is killed on its timeout never
// reaches the end: each server also leaves a watcher behind that stops it once the process is gone.
template <class Server>
class SharedServer
{
public:
    // The process's server, started if need be; check error() before use.
    static Server& shared()
    {
        if (!s_server) {
            s_server = new Server;
            ::testing::AddGlobalTestEnvironment(new StopAtTheEnd);
        }
        return *s_server;
    }

    // Empty while the server runs; otherwise why it could not be started (or "stopped").
    const QString& error() const { return m_error; }

protected:
    SharedServer() = default;
    SharedServer(const SharedServer&) = delete;

    QString m_error;

private:
    struct StopAtTheEnd : ::testing::Environment
    {
        void TearDown() override { s_server->stop(); }
    };
    static inline Server* s_server = nullptr;
};

} // namespace zorvel::test

// Fails the current test when the shared server of that class is not running: nothing skips, even
// when the server's script exited with the skip status (tests/support/test_status.sh).
#define ZV_REQUIRE_SERVER(Server, name)                                                              \
    do {                                                                                             \
        if (!Server::shared().error().isEmpty())                                                     \
            GTEST_FAIL() << name ": " << Server::shared().error().toStdString();                     \
    } while (false)
