// Counters of designs stored in SQL rows: the ranges runs take, the bytes kept, failures, two processes at once.
#include "document/ZVCustomLab.h"
#include "document/ZVSqlCounterStore.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "tests/document/TestEditorLink.h"
#include "tests/support/PostgresFixture.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestApplication.h"

#include <QDateTime>
#include <QProcess>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zorvel;

namespace {

const QDate kToday(2026, 12, 9);

TZVCounter counter(const char* name, std::int64_t start, std::int64_t step, std::uint8_t reset, QDate date)
{
    return {name, start, step, 0, kDecimalAlphabet, cpLabel, reset, date};
}

// A design with grid settings that a label without an editor would write back otherwise.
QByteArray design(const QList<TZVCounter>& counters)
{
    test::TestEditorLink editor;
    editor.gridIncX = 37;
    editor.gridColor = 0x123456;
    TZVLab label;
    label.SetEditor(&editor);
    auto* text = new TZVText(label);
    text->SetText("serial");
    label.AddElement(text, false);
    label.SetCounters(counters);
    TZVMemoryStream stream;
    label.SaveToStream(stream);
    label.SetEditor(nullptr);
    return stream.Bytes();
}

void exec(QSqlDatabase db, const QString& sql, const QVariant& value = {})
{
    // PostgreSQL prepares no DDL.
    QSqlQuery q(db);
    if (value.isValid()) {
        q.prepare(sql);
        q.addBindValue(value);
    }
    ASSERT_TRUE(value.isValid() ? q.exec() : q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

QByteArray stored(QSqlDatabase db)
{
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec("SELECT DESIGN FROM DESIGNS WHERE ID = 1") && q.next());
    return q.value(0).toByteArray();
}

QSqlDatabase sqliteDesigns(const QTemporaryDir& dir, const QByteArray& stream)
{
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "designs");
    db.setDatabaseName(dir.filePath("designs.db"));
    EXPECT_TRUE(db.open());
    exec(db, "CREATE TABLE DESIGNS (ID INTEGER PRIMARY KEY, DESIGN BLOB)");
    exec(db, "INSERT INTO DESIGNS VALUES (1, ?)", stream);
    return db;
}

struct SqlCounterStore : ::testing::Test
{
    static void SetUpTestSuite() { test::ensureGuiApplication(); }
    void TearDown() override
    {
        QSqlDatabase::removeDatabase("designs");
        QSqlDatabase::removeDatabase("pg-designs");
    }
    QTemporaryDir dir;
    TZVSqlCounterStore store{"designs", {"designs", "id", 1, "design"}};
};

} // namespace

TEST_F(SqlCounterStore, ARunTakesEachCountersRangeAndRewritesNothingElse)
{
    const QDate before = kToday.addDays(-1);
    struct
    {
        TZVCounter Read;
        std::int64_t Steps;
        std::int64_t Prints; // the run's first value
        TZVCounter After;
    } const cases[] = {
        {counter("Goes on", 5, 2, crNever, before), 3, 5, counter("Goes on", 11, 2, crNever, kToday)},
        {counter("Every run", 7, 1, crEveryRun, before), 4, 7, counter("Every run", 7, 1, crEveryRun, before)},
        {counter("new day", 40, 1, crDaily, before), 5, 1, counter("new day", 6, 1, crDaily, kToday)},
        {counter("Same day", 40, 1, crDaily, kToday), 5, 40, counter("Same day", 45, 1, crDaily, kToday)},
        {counter("Unused", 9, 1, crNever, before), 0, 9, counter("Unused", 9, 1, crNever, kToday)},
    };
    QList<TZVCounter> read, after;
    QHash<QString, std::int64_t> steps;
    for (const auto& c : cases) {
        read.append(c.Read);
        after.append(c.After);
        if (c.Steps) steps.insert(c.Read.Name.toUpper(), c.Steps);
    }
    QSqlDatabase db = sqliteDesigns(dir, design(read));
    const QList<TZVCounter> printed = store.Reserve(steps, kToday);
    ASSERT_EQ(printed.size(), std::size(cases));
    for (qsizetype i = 0; i < printed.size(); ++i) {
        SCOPED_TRACE(read[i].Name.toStdString());
        EXPECT_EQ(printed[i].Start, cases[i].Prints);
        EXPECT_EQ(printed[i].Date, read[i].Date);
    }
    EXPECT_EQ(store.Stored(), after);
    EXPECT_EQ(stored(db), design(after)) << "only the counters' bytes change";
}

TEST_F(SqlCounterStore, AFailureRaisesAndLeavesTheStoredDesign)
{
    const QByteArray original = design({counter("Serial", 5, 1, crNever, kToday)});
    QSqlDatabase db = sqliteDesigns(dir, original);
    exec(db, "CREATE TRIGGER frozen BEFORE UPDATE ON DESIGNS BEGIN SELECT RAISE(ABORT, 'design frozen'); END");
    struct
    {
        TZVDesignRow Row;
        const char* Message;
    } const cases[] = {
        {{"designs", "id", 2, "design"}, "CAN'T SAVE COUNTERS : NO DESIGN WHERE id = 2"},
        {{"designs", "id", 1, "picture"}, "CAN'T SAVE COUNTERS : INVALID FIELD NAME :picture"},
        {{"plans", "id", 1, "design"}, "CAN'T SAVE COUNTERS : UNKNOWN TABLE plans"},
        {{"designs", "id", 1, "design"}, "CAN'T SAVE COUNTERS : design frozen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        TZVSqlCounterStore failing("designs", c.Row);
        try {
            failing.Reserve({{"SERIAL", 3}}, kToday);
            ADD_FAILURE() << "no error";
        } catch (const EZvError& e) {
            EXPECT_TRUE(e.message().startsWith(c.Message)) << e.message().toStdString();
        }
        EXPECT_FALSE(failing.Reserved());
        EXPECT_EQ(stored(db), original);
    }
    // Rolled back: the connection takes the next range.
    exec(db, "DROP TRIGGER frozen");
    EXPECT_EQ(store.Reserve({{"SERIAL", 3}}, kToday).value(0).Start, 5);
    EXPECT_EQ(store.Reserve({{"SERIAL", 3}}, kToday).value(0).Start, 8);
}

// Two processes take 20 ranges of 7 labels each from one design at once: every value once, and
// the stored counter next after all of them.
TEST_F(SqlCounterStore, TwoProcessesAtOnceNeverTakeAValueTwice)
{
    ZV_REQUIRE_POSTGRES();
    test::PostgresServer& server = test::PostgresServer::shared();
    const QString pgName = server.createDatabase();
    const QByteArray original = design({counter("Serial", 1, 1, crNever, kToday)});
    QSqlDatabase pg = server.connect("pg-designs", pgName);
    exec(pg, "CREATE TABLE DESIGNS (ID INTEGER PRIMARY KEY, DESIGN BYTEA)");
    exec(pg, "INSERT INTO DESIGNS VALUES (1, ?)", original);
    const struct
    {
        QString Url;
        QSqlDatabase Db;
    } backends[] = {{"sqlite:" + dir.filePath("designs.db"), sqliteDesigns(dir, original)}, {server.url(pgName), pg}};
    for (const auto& backend : backends) {
        SCOPED_TRACE(backend.Url.toStdString());
        QProcess runs[2];
        const QString at = QString::number(QDateTime::currentMSecsSinceEpoch() + 1500);
        for (QProcess& run : runs)
            run.start(ZORVEL_COUNTER_RESERVER, {backend.Url, "1", "7", "20", at});
        QSet<std::int64_t> values;
        for (QProcess& run : runs) {
            ASSERT_TRUE(run.waitForFinished(90000));
            ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
            for (const QByteArray& line : run.readAllStandardOutput().split('\n')) {
                for (std::int64_t v = line.toLongLong(), end = line.isEmpty() ? v : v + 7; v < end; ++v) {
                    EXPECT_FALSE(values.contains(v)) << "value " << v << " twice";
                    values.insert(v);
                }
            }
        }
        EXPECT_EQ(values.size(), 280);
        TZVLab label;
        TZVMemoryStream after(stored(backend.Db));
        after.SetPosition(0);
        label.LoadFromStreamRaw(after);
        EXPECT_EQ(label.Counters().value(0).Start, 281);
    }
}
