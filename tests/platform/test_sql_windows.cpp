// SQL data sets larger than the window held in memory: every record reads back wherever the walk
// goes, edits land on their record, and no read lock outlasts a read.
#include "dataset_test_support.h"

#include "platform/ZVConnections.h"
#include "platform/ZVSqlDataSet.h"
#ifdef ZORVEL_TEST_POSTGRES
#include "tests/support/PostgresFixture.h"
#endif

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zorvel {
namespace {

// Two windows and a part: record i holds N = 3i and LABEL "L" and i in six digits.
constexpr int kRecords = 2 * TZVSqlDataSet::kWindowRows + 123;

struct TWindowCase
{
    const char* Name;
    const char* Create;
    const char* Fill; // %1 is the last i
    const char* Source; // a table name, or a SELECT
    bool Writable;
};

#ifdef ZORVEL_TEST_POSTGRES
const TWindowCase kCases[] = {
    {"key", "CREATE TABLE items (id SERIAL PRIMARY KEY, n INTEGER, label TEXT)",
     "INSERT INTO items (n, label) SELECT 3 * i, 'L' || lpad(i::text, 6, '0') FROM generate_series(0, %1) i", "items", true},
    {"no key", "CREATE TABLE items (n INTEGER, label TEXT)",
     "INSERT INTO items SELECT 3 * i, 'L' || lpad(i::text, 6, '0') FROM generate_series(0, %1) i", "items", false},
    {"query", "CREATE TABLE items (n INTEGER, label TEXT)",
     "INSERT INTO items SELECT 3 * i, 'L' || lpad(i::text, 6, '0') FROM generate_series(0, %1) i",
     "SELECT n, label FROM items ORDER BY n -- last line\n;", false},
};
#else
#define ZV_SQLITE_FILL                                                                                       \
    "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i < %1) "                          \
    "INSERT INTO items (n, label) SELECT 3 * i, printf('L%06d', i) FROM c"
const TWindowCase kCases[] = {
    {"rowid", "CREATE TABLE items (n INTEGER, label TEXT)", ZV_SQLITE_FILL, "items", true},
    {"text key without rowid", "CREATE TABLE items (label TEXT PRIMARY KEY, n INTEGER) WITHOUT ROWID", ZV_SQLITE_FILL,
     "items", true},
    {"query", "CREATE TABLE items (n INTEGER, label TEXT)", ZV_SQLITE_FILL, "SELECT n, label FROM items ORDER BY n;",
     false},
};
#endif

class SqlWindows : public ::testing::TestWithParam<TWindowCase>
{
protected:
    void SetUp() override
    {
#ifdef ZORVEL_TEST_POSTGRES
        test::PostgresServer& server = test::PostgresServer::shared();
        m_url = server.url(server.createDatabase());
#else
        m_url = "sqlite:" + m_dir.path() + "/items.db?mode=rwc";
#endif
        m_connections.Add("items", m_url);
        QSqlQuery q(m_connections.Database("items"));
        ASSERT_TRUE(q.exec(GetParam().Create)) << q.lastError().text().toStdString();
        ASSERT_TRUE(q.exec(QString(GetParam().Fill).arg(kRecords - 1))) << q.lastError().text().toStdString();
        m_items.SetConnections(&m_connections);
        m_items.SetDatabaseName("items");
        if (QString(GetParam().Source).startsWith("SELECT"))
            m_items.SetSql(GetParam().Source);
        else
            m_items.SetTableName(GetParam().Source);
        m_items.Open();
    }

    // Which record the cursor is on, by its N.
    int record() { return m_items.FieldByName("N").AsInteger() / 3; }

    QTemporaryDir m_dir;
    QString m_url;
    TZVConnections m_connections;
    TZVSqlDataSet m_items;
};

TEST_P(SqlWindows, EveryRecordReadsBackWhereverTheWalkGoes)
{
    ASSERT_EQ(m_items.RecordCount(), kRecords);
    int expected = 0;
    for (m_items.First(); !m_items.Eof(); m_items.Next())
        ASSERT_EQ(record(), expected++);
    EXPECT_EQ(expected, kRecords);
    for (m_items.Last(); !m_items.Bof(); m_items.Prior())
        ASSERT_EQ(record(), --expected);
    constexpr int window = TZVSqlDataSet::kWindowRows;
    for (const int jump : {window + 7, -window, 2 * window, -2 * window - 5, 1}) {
        const int from = m_items.RecNo() - 1;
        m_items.MoveBy(jump);
        EXPECT_EQ(record(), std::clamp(from + jump, 0, kRecords - 1)) << jump;
        EXPECT_EQ(m_items.FieldByName("LABEL").AsWideString(), QString("L%1").arg(record(), 6, 10, QChar('0')));
    }
}

// The tables, which write back.
class SqlWindowEdits : public SqlWindows
{
};

std::vector<TWindowCase> writableCases()
{
    std::vector<TWindowCase> cases;
    std::copy_if(std::begin(kCases), std::end(kCases), std::back_inserter(cases),
                 [](const TWindowCase& c) { return c.Writable; });
    return cases;
}

TEST_P(SqlWindowEdits, LandOnTheirRecordWhileOthersMayWrite)
{
    // Standing mid-way through a large table holds no lock against another connection's write.
    m_items.MoveBy(TZVSqlDataSet::kWindowRows + 10);
    TZVConnections other;
    other.Add("other", m_url);
    QSqlQuery write(other.Database("other"));
    EXPECT_TRUE(write.exec("CREATE TABLE notes (x INTEGER)")) << write.lastError().text().toStdString();

    m_items.Edit();
    m_items.FieldByName("LABEL").SetValue("edited");
    m_items.Post();
    m_items.MoveBy(-TZVSqlDataSet::kWindowRows);
    m_items.MoveBy(TZVSqlDataSet::kWindowRows);
    EXPECT_EQ(record(), TZVSqlDataSet::kWindowRows + 10);
    EXPECT_EQ(m_items.FieldByName("LABEL").AsWideString(), "edited");

    m_items.Delete();
    EXPECT_EQ(m_items.RecordCount(), kRecords - 1);
    EXPECT_EQ(record(), TZVSqlDataSet::kWindowRows + 11) << "the next record takes the deleted one's place";
    m_items.Append();
    m_items.FieldByName("N").SetValue(3 * kRecords);
    m_items.FieldByName("LABEL").SetValue("L999999");
    m_items.Post();
    EXPECT_EQ(m_items.RecordCount(), kRecords);
    EXPECT_EQ(record(), kRecords) << "the cursor stays on the appended record";
    EXPECT_EQ(m_items.RecNo(), kRecords);
}

#ifdef ZORVEL_TEST_POSTGRES
#define ZV_WINDOW_SOURCES Postgres
#else
#define ZV_WINDOW_SOURCES Sqlite
#endif
const auto caseName = [](const auto& info) { return QString(info.param.Name).replace(' ', '_').toStdString(); };
INSTANTIATE_TEST_SUITE_P(ZV_WINDOW_SOURCES, SqlWindows, ::testing::ValuesIn(kCases), caseName);
INSTANTIATE_TEST_SUITE_P(ZV_WINDOW_SOURCES, SqlWindowEdits, ::testing::ValuesIn(writableCases()), caseName);

} // namespace
} // namespace zorvel
