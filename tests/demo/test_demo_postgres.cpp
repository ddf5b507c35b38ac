// The demo's data module on a PostgreSQL server: the sample tables, master/detail, designs saved and loaded.
#include "demo/ZVDemoData.h"

#include "demo/ZVDemoSamples.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "platform/ZVSqlDataSet.h"
#include "tests/support/PostgresFixture.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestApplication.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zorvel;

namespace {

QString createDemoDatabase()
{
    test::PostgresServer& server = test::PostgresServer::shared();
    const QString name = server.createDatabase();
    const QString connection = QStringLiteral("demo-tables");
    {
        QSqlDatabase db = server.connect(connection, name);
        try {
            EXPECT_EQ(CreateSampleTables(db).size(), 6);
            // The server numbers rows added later after the sample rows.
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(QStringLiteral("INSERT INTO MANUFACTERS (NAME) VALUES ('Added later')")))
                << q.lastError().text().toStdString();
        } catch (const EZvError& e) {
            ADD_FAILURE() << "sample tables: " << e.message().toStdString();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return name;
}

class DemoPostgres : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureGuiApplication(); }

    void SetUp() override
    {
        ZV_REQUIRE_POSTGRES();
        ASSERT_TRUE(dir.isValid());
        TDM::SetDataFolder(dir.path());
        url = test::PostgresServer::shared().url(createDemoDatabase());
    }
    void TearDown() override { TDM::SetDataFolder({}); }

    QTemporaryDir dir;
    QString url;
};

TEST_F(DemoPostgres, CharacteristicsFollowThePrinter)
{
    TDM dm(url);
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    EXPECT_EQ(dm.QyPrinters().RecordCount(), 12);
    EXPECT_EQ(dm.TbEmployees().RecordCount(), 6);
    EXPECT_EQ(dm.TbLabels().RecordCount(), 0) << "the demo fills no server's tables";
    TZVDataSet& printers = dm.QyPrinters();
    TZVDataSet& detail = dm.QyCharacteristic();
    int total = 0;
    for (printers.First(); !printers.Eof(); printers.Next()) {
        for (detail.First(); !detail.Eof(); detail.Next())
            EXPECT_EQ(detail.FieldByName("IDPRINTER").AsInteger(), printers.FieldByName("IDPRINTER").AsInteger());
        total += detail.RecordCount();
    }
    EXPECT_EQ(total, 62);
    printers.First();
    EXPECT_EQ(printers.FieldByName("PRINTER").AsWideString(), "NORLAND LT-200");
    EXPECT_TRUE(printers.FieldByName("CE").AsBoolean());
    EXPECT_DOUBLE_EQ(printers.FieldByName("PRICE").AsFloat(), 249.0);
}

TEST_F(DemoPostgres, AnEmptyDatabaseGetsTheSampleTablesAndDesignsOnce)
{
    const QString fresh = test::PostgresServer::shared().url(test::PostgresServer::shared().createDatabase());
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        TDM dm(fresh);
        ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
        EXPECT_EQ(dm.QyPrinters().RecordCount(), 12);
        EXPECT_EQ(dm.TbLabels().RecordCount(), 3) << "the printer label, the badge and the asset label";
    }
}

TEST_F(DemoPostgres, DesignsSavedLoadBackInALaterRun)
{
    const auto design = [](TZVLab& label, const QString& text) {
        label.SetDataAccessType(daNone);
        auto* element = new TZVText(label);
        element->SetText(text);
        label.AddElement(element, false);
    };
    {
        TDM dm(url);
        ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
        TZVLab first;
        design(first, "first");
        dm.SaveDesign(first); // into the empty table: a new row
        TZVLab second;
        design(second, "second");
        dm.AppendDesign(second);
        dm.TbLabels().FieldByName("NAME").SetValue("Second");
        dm.PostLabel();
        EXPECT_FALSE(dm.TbLabels().FieldByName("IDLABEL").IsNull()) << "the server's key is known";
        // Saving again rewrites the row just appended, found by that key.
        design(second, "more");
        dm.SaveDesign(second);
        // An updated row moves to the end of the server's table, not of the list.
        dm.TbLabels().First();
        design(first, "again");
        dm.SaveDesign(first);
        EXPECT_EQ(dm.TbLabels().RecordCount(), 2);
    }
    TDM dm(url);
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    ASSERT_EQ(dm.TbLabels().RecordCount(), 2);
    const struct
    {
        const char* Name;
        QStringList Texts;
    } rows[] = {{"Label", {"first", "again"}}, {"Second", {"second", "more"}}};
    dm.TbLabels().First();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(dm.TbLabels().FieldByName("NAME").AsWideString(), row.Name);
        EXPECT_FALSE(dm.TbLabels().FieldByName("UPDATED").IsNull());
        TZVLab loaded;
        ASSERT_TRUE(dm.LoadDesign(loaded));
        QStringList texts;
        for (TZVElement* element : loaded.Elements())
            texts.append(qobject_cast<TZVText*>(element)->Text());
        EXPECT_EQ(texts, row.Texts);
        dm.TbLabels().Next();
    }
}

} // namespace
