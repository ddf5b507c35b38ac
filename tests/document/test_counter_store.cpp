// Counters of designs stored in SQL rows: the ranges runs take, failures, two processes at once.
#include "document/ZVCustomLab.h"
#include "document/ZVSqlCounterStore.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "tests/document/TestEditorLink.h"
#include "tests/support/PostgresFixture.h"

#include <QDateTime>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

using namespace zorvel;
using ::testing::StartsWith, ::testing::ThrowsMessage;

namespace {

TZVCounter counter(const char* name, std::int64_t start, std::int64_t step, std::uint8_t reset, QDate date)
{
    return {name, start, step, 0, kDecimalAlphabet, cpLabel, reset, date};
}

// With an editor's grid settings, which a label without an editor would write back otherwise.
QByteArray design(const QList<TZVCounter>& counters)
{
    test::TestEditorLink editor;
    TZVLab label;
    label.SetEditor(&editor);
    label.SetCounters(counters);
    TZVMemoryStream stream;
    label.SaveToStream(stream);
    return stream.Bytes();
}

// Table DESIGNS holding `stream` in row 1 (PostgreSQL prepares no DDL).
QSqlDatabase designs(QSqlDatabase db, const char* blob, const QByteArray& stream)
{
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec(QStringLiteral("CREATE TABLE DESIGNS (ID INTEGER PRIMARY KEY, DESIGN %1)").arg(blob)));
    q.prepare("INSERT INTO DESIGNS VALUES (1, ?)");
    q.addBindValue(stream);
    EXPECT_TRUE(q.exec());
    return db;
}

QByteArray stored(QSqlDatabase db)
{
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec("SELECT DESIGN FROM DESIGNS WHERE ID = 1") && q.next());
    return q.value(0).toByteArray();
}

struct SqlCounterStore : ::testing::Test
{
    void TearDown() override { QSqlDatabase::removeDatabase("designs"), QSqlDatabase::removeDatabase("pg"); }
    QSqlDatabase sqlite(const QByteArray& stream)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "designs");
        db.setDatabaseName(dir.filePath("designs.db"));
        EXPECT_TRUE(db.open());
        return designs(db, "BLOB", stream);
    }
    QTemporaryDir dir;
};

} // namespace

// A failing store raises and leaves the design as it was; the next run takes each counter's range
// and rewrites nothing else.
TEST_F(SqlCounterStore, ARunTakesEachCountersRangeOrNothing)
{
    const QDate today(2026, 12, 9), before = today.addDays(-1);
    // The counter as stored, the run's steps, its first value, the counter after the run.
    const std::tuple<TZVCounter, std::int64_t, std::int64_t, TZVCounter> cases[] = {
        {counter("Goes on", 5, 2, crNever, before), 3, 5, counter("Goes on", 11, 2, crNever, today)},
        {counter("Per run", 7, 1, crEveryRun, before), 4, 7, counter("Per run", 7, 1, crEveryRun, before)},
        {counter("new day", 40, 1, crDaily, before), 5, 1, counter("new day", 6, 1, crDaily, today)},
        {counter("Same day", 40, 1, crDaily, today), 5, 40, counter("Same day", 45, 1, crDaily, today)},
        {counter("Unused", 9, 1, crNever, before), 0, 9, counter("Unused", 9, 1, crNever, today)},
    };
    QList<TZVCounter> read, prints, after;
    QHash<QString, std::int64_t> steps;
    for (const auto& [counter, taken, first, next] : cases) {
        read << counter;
        prints << counter;
        prints.back().Start = first;
        after << next;
        if (taken) steps.insert(counter.Name.toUpper(), taken);
    }
    QSqlDatabase db = sqlite(design(read));
    QSqlQuery q(db);
    ASSERT_TRUE(q.exec("CREATE TRIGGER f BEFORE UPDATE ON DESIGNS BEGIN SELECT RAISE(ABORT, 'frozen'); END"));
    for (const auto& [key, message] : {std::pair(2, "CAN'T SAVE COUNTERS : NO DESIGN WHERE id = 2"),
                                       std::pair(1, "CAN'T SAVE COUNTERS : frozen")}) {
        TZVSqlCounterStore failing("designs", {"designs", "id", key, "design"});
        EXPECT_THAT([&] { failing.Reserve(steps, today); }, ThrowsMessage<EZvError>(StartsWith(message)));
        EXPECT_EQ(stored(db), design(read)) << message;
    }
    // Rolled back, so the connection begins the next transaction.
    ASSERT_TRUE(q.exec("DROP TRIGGER f"));
    TZVSqlCounterStore store("designs", {"designs", "id", 1, "design"});
    EXPECT_EQ(store.Reserve(steps, today), prints);
    EXPECT_EQ(store.Stored(), after);
    EXPECT_EQ(stored(db), design(after)) << "only the counters' bytes change";
}

// Two processes take 20 ranges of 7 labels each at the same moment: every value once, and the
// stored counter next after all of them.
TEST_F(SqlCounterStore, TwoProcessesAtOnceNeverTakeAValueTwice)
{
    ZV_REQUIRE_POSTGRES();
    test::PostgresServer& server = test::PostgresServer::shared();
    const QString pgName = server.createDatabase();
    const QDate today = QDate::currentDate();
    const QByteArray original = design({counter("Serial", 1, 1, crNever, today)});
    const std::pair<QString, QSqlDatabase> backends[] = {
        {"sqlite:" + dir.filePath("designs.db"), sqlite(original)},
        {server.url(pgName), designs(server.connect("pg", pgName), "BYTEA", original)}};
    for (const auto& [url, db] : backends) {
        SCOPED_TRACE(url.toStdString());
        QProcess runs[2];
        const QString at = QString::number(QDateTime::currentMSecsSinceEpoch() + 1500);
        for (QProcess& run : runs)
            run.start(ZORVEL_COUNTER_RESERVER, {url, "1", "7", "20", at});
        QHash<std::int64_t, bool> values;
        for (QProcess& run : runs) {
            ASSERT_TRUE(run.waitForFinished(90000));
            ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
            for (const QByteArray& line : run.readAllStandardOutput().split('\n'))
                for (std::int64_t v = line.toLongLong(), end = line.isEmpty() ? v : v + 7; v < end; ++v)
                    EXPECT_FALSE(std::exchange(values[v], true)) << "value " << v << " twice";
        }
        EXPECT_EQ(values.size(), 280);
        EXPECT_EQ(stored(db), design({counter("Serial", 281, 1, crNever, today)}));
    }
}
