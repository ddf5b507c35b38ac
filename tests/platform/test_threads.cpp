// Labels and data sets on threads of their own; a connection is used only where it was opened.
#include "document/ZVCustomLab.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "platform/ZVConnections.h"
#include "platform/ZVPdfPrinter.h"
#include "platform/ZVSqlDataSet.h"
#include "tests/support/PdfInfo.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestApplication.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace zorvel {
namespace {

// A SQLite file holding NAMES (NAME) with `rows` rows, on `connections` as alias "data".
void addNames(TZVConnections& connections, const QString& file, int rows)
{
    connections.Add("data", "sqlite:" + file + "?mode=rwc");
    QSqlQuery q(connections.Database("data"));
    q.exec("CREATE TABLE NAMES (NAME VARCHAR(20))");
    for (int i = 0; i < rows; ++i)
        q.exec(QString("INSERT INTO NAMES VALUES ('N%1')").arg(i));
}

TEST(Threads, AConnectionOfAnotherThreadIsNamedAsSuch)
{
    test::ensureGuiApplication();
    QTemporaryDir dir;
    TZVConnections connections;
    addNames(connections, dir.filePath("names.db"), 2);
    TZVSqlDataSet names;
    names.SetConnections(&connections);
    names.SetDatabaseName("data");
    names.SetTableName("NAMES");
    QString message;
    std::thread([&] {
        try {
            names.Open();
        } catch (const EZvError& e) {
            message = e.message();
        }
    }).join();
    EXPECT_EQ(message, "CONNECTION BELONGS TO ANOTHER THREAD : data");
    names.Open();
    EXPECT_EQ(names.RecordCount(), 2) << "the thread that opened it still can";
}

// Each thread has its own connections, data set, label and printer: one page per record.
TEST(Threads, ALabelPerThreadPrintsItsOwnRecords)
{
    test::ensureGuiApplication();
    QTemporaryDir dir;
    const std::vector<int> rows = {3, 5, 2, 4};
    std::vector<QString> failures(rows.size());
    std::vector<std::thread> threads;
    for (size_t t = 0; t < rows.size(); ++t) {
        threads.emplace_back([&, t] {
            try {
                TZVConnections connections;
                addNames(connections, dir.filePath(QString("names%1.db").arg(t)), rows[t]);
                TZVSqlDataSet names;
                names.SetConnections(&connections);
                names.SetDatabaseName("data");
                names.SetTableName("NAMES");
                names.Open();
                TZVLab label;
                label.Measure().SetNuHor(1);
                label.Measure().SetNuVer(1);
                label.SetDataAccessType(daDataSet);
                label.SetDataSet(&names);
                label.SetDataEnabled(true);
                auto* text = new TZVText(label);
                text->SetFieldName("NAME");
                text->SetData(true);
                TZVPdfPrinter pdf(dir.filePath(QString("labels%1.pdf").arg(t)));
                label.Print(pdf);
                label.SetDataSet(nullptr);
            } catch (const EZvError& e) {
                failures[t] = e.message();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (size_t t = 0; t < rows.size(); ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(failures[t].toStdString(), "");
        const auto info = test::readPdfInfo(dir.filePath(QString("labels%1.pdf").arg(t)));
        if (!info)
            GTEST_SKIP() << "pdfinfo is not installed";
        EXPECT_EQ(info->pages, rows[t]);
    }
}

} // namespace
} // namespace zorvel
