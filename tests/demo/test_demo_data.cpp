// The demo's data module: first run, reuse, failures to connect, and designs kept in LABELS.
#include "demo/ZVDemoData.h"

#include "document/ZVCustomLab.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "platform/ZVJpeg.h"
#include "platform/ZVSqlDataSet.h"
#include "tests/support/TestApplication.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QSet>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <functional>

using namespace zorvel;

namespace {

// The printer label, the employee badge and the asset label on a roll.
constexpr int kSampleDesigns = 3;

// A second connection to the sample file, to look at and tamper with what the module stored.
class SideConnection
{
public:
    explicit SideConnection(const QString& file)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    ~SideConnection() { QSqlDatabase::removeDatabase(kName); }

    QVariant value(const QString& sql) const
    {
        QSqlQuery query(QSqlDatabase::database(kName));
        EXPECT_TRUE(query.exec(sql) && query.next()) << sql.toStdString();
        return query.value(0);
    }
    void exec(const QString& sql) const
    {
        QSqlQuery query(QSqlDatabase::database(kName));
        EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
    }

private:
    static constexpr const char* kName = "side";
};

class DemoData : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureGuiApplication(); }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        TDM::SetDataFolder(dir.path());
    }
    void TearDown() override { TDM::SetDataFolder({}); }

    // Runs `change` on the sample file between the first run and the next.
    void firstRunThen(const std::function<void(SideConnection&)>& change)
    {
        {
            TDM first;
            ASSERT_TRUE(first.Connected()) << first.ConnectError().toStdString();
        }
        SideConnection side(TDM::DefaultDatabaseFile());
        change(side);
    }

    static QString fileOfFirstLabel(SideConnection& side)
    {
        return QString::fromLatin1(
            side.value(QStringLiteral("SELECT hex(FILE) FROM LABELS ORDER BY IDLABEL LIMIT 1")).toByteArray());
    }

    QTemporaryDir dir;
};

TEST_F(DemoData, FirstRunCreatesTheFileAndFillsEveryTable)
{
    {
        TDM dm;
        ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
        EXPECT_TRUE(QFileInfo::exists(QDir(dir.path()).filePath("demo_zorvel.db")));
        EXPECT_EQ(dm.QyPrinters().RecordCount(), 12);
        EXPECT_EQ(dm.TbEmployees().RecordCount(), 6);
        EXPECT_EQ(dm.TbLabels().RecordCount(), kSampleDesigns);
    }
    SideConnection side(TDM::DefaultDatabaseFile());
    const struct
    {
        const char* table;
        int rows;
    } counts[] = {{"MANUFACTERS", 5}, {"PRINTERS", 12}, {"CHARACTERISTICS", 6},
                  {"PRINTERCHAR", 62}, {"EMPLOYEE", 6},  {"LABELS", kSampleDesigns}};
    for (const auto& c : counts)
        EXPECT_EQ(side.value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(c.table)).toInt(), c.rows) << c.table;
    EXPECT_EQ(side.value("SELECT COUNT(*) FROM LABELS WHERE CREATED IS NULL OR UPDATED IS NULL OR FILE IS NULL").toInt(), 0);
}

TEST_F(DemoData, SamplePicturesAreDecodableJpegs)
{
    TDM dm;
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    const struct
    {
        TZVDataSet* set;
        const char* field;
    } blobs[] = {{&dm.QyPrinters(), "IMAGE"}, {&dm.TbEmployees(), "PHOTO"}};
    for (const auto& b : blobs) {
        EXPECT_EQ(b.set->FieldByName(b.field).Kind(), fkBlob) << b.field;
        QSet<QByteArray> distinct;
        for (b.set->First(); !b.set->Eof(); b.set->Next()) {
            const QByteArray bytes = b.set->FieldByName(b.field).AsBytes();
            EXPECT_FALSE(DecodeJpeg(bytes).isNull()) << b.field << " of record " << b.set->RecNo();
            distinct.insert(bytes);
        }
        EXPECT_EQ(distinct.size(), b.set->RecordCount()) << b.field << ": every record has its own picture";
    }
}

TEST_F(DemoData, CharacteristicsFollowThePrinter)
{
    TDM dm;
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    TZVDataSet& printers = dm.QyPrinters();
    TZVDataSet& detail = dm.QyCharacteristic();
    int total = 0;
    for (printers.First(); !printers.Eof(); printers.Next()) {
        const qint64 id = printers.FieldByName("IDPRINTER").AsInteger();
        EXPECT_GE(detail.RecordCount(), 4) << "printer " << id;
        for (detail.First(); !detail.Eof(); detail.Next())
            EXPECT_EQ(detail.FieldByName("IDPRINTER").AsInteger(), id);
        total += detail.RecordCount();
    }
    EXPECT_EQ(total, 62);

    printers.First();
    detail.First();
    EXPECT_EQ(printers.FieldByName("PRINTER").AsWideString(), "NORLAND LT-200");
    EXPECT_EQ(printers.FieldByName("MANUFACTER").AsWideString(), "NORLAND");
    EXPECT_EQ(detail.FieldByName("NAME").AsWideString(), "TECHNOLOGY");
    EXPECT_EQ(detail.FieldByName("VALUE").AsWideString(), "DIRECT THERMAL");
    const struct
    {
        const char* field;
        TZVFieldKind kind;
    } kinds[] = {{"CE", fkBoolean}, {"FCC", fkBoolean}, {"PRICE", fkBCD}, {"PRINTER", fkString}};
    for (const auto& k : kinds)
        EXPECT_EQ(printers.FieldByName(k.field).Kind(), k.kind) << k.field;
    EXPECT_DOUBLE_EQ(printers.FieldByName("PRICE").AsFloat(), 249.0);
}

TEST_F(DemoData, SecondRunReusesTheFileWithoutAddingRows)
{
    firstRunThen([](SideConnection& side) { side.exec("UPDATE PRINTERS SET NAME = 'KEPT' WHERE IDPRINTER = 1"); });
    TDM again;
    ASSERT_TRUE(again.Connected()) << again.ConnectError().toStdString();
    EXPECT_EQ(again.QyPrinters().RecordCount(), 12);
    EXPECT_EQ(again.TbEmployees().RecordCount(), 6);
    EXPECT_EQ(again.TbLabels().RecordCount(), kSampleDesigns);
    again.QyPrinters().First();
    EXPECT_EQ(again.QyPrinters().FieldByName("PRINTER").AsWideString(), "KEPT");
}

TEST_F(DemoData, ADatabaseThatCannotBeOpenedLeavesTheModuleWithoutData)
{
    const char* urls[] = {
        "sqlite:/no/such/folder/demo.db",   // a file that must exist
        "nosuchdb://host/name",             // no scheme reads it
        "postgresql://h/db?nosuch=1",       // a parameter the client library does not know
    };
    for (const char* url : urls) {
        TDM dm(QString::fromLatin1(url));
        EXPECT_FALSE(dm.Connected()) << url;
        EXPECT_FALSE(dm.ConnectError().isEmpty()) << url;
        EXPECT_FALSE(dm.TbLabels().Active()) << url;
        TZVLab label;
        EXPECT_FALSE(dm.LoadDesign(label)) << url;
        try {
            dm.SaveDesign(label);
            ADD_FAILURE() << "saved without a database: " << url;
        } catch (const EZvError& e) {
            EXPECT_EQ(e.message(), QLatin1String(kDemoCantConnect));
        }
    }
}

TEST_F(DemoData, AnSqliteFileWithoutTheTablesGetsThem)
{
    const QString other = QDir(dir.path()).filePath("other.db");
    TDM dm(QStringLiteral("sqlite:") + other + QStringLiteral("?mode=rwc"));
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    EXPECT_EQ(dm.QyPrinters().RecordCount(), 12);
    EXPECT_EQ(dm.Url(), QStringLiteral("sqlite:") + other + QStringLiteral("?mode=rwc"));
}

namespace {

// Texts whose corner an opaque rectangle covers must be listed before it: the first element is
// drawn last, on top.
void expectTextsInFrontOfFills(const TZVCustomLab& label)
{
    const QList<TZVElement*>& elements = label.Elements();
    for (qsizetype t = 0; t < elements.size(); ++t) {
        const auto* text = qobject_cast<const TZVText*>(elements[t]);
        if (!text) continue;
        for (qsizetype r = 0; r < t; ++r) {
            const auto* fill = qobject_cast<const TZVRect*>(elements[r]);
            if (!fill || fill->Transparent()) continue;
            const bool covered = text->GetX1() >= fill->GetX1() && text->GetX1() < fill->GetX2() &&
                                 text->GetY1() >= fill->GetY1() && text->GetY1() < fill->GetY2();
            EXPECT_FALSE(covered) << text->Text().toStdString() << " is hidden behind a filled rectangle";
        }
    }
}

} // namespace

TEST_F(DemoData, SampleDesignsLoadBoundToTheModulesDataSets)
{
    TDM dm;
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    TZVLab label;
    dm.TbLabels().First();
    ASSERT_TRUE(dm.LoadDesign(label));
    EXPECT_EQ(label.DataSet(), &dm.QyPrinters());
    EXPECT_EQ(label.Detail(), &dm.QyCharacteristic());
    EXPECT_GE(label.Elements().size(), 5);
    EXPECT_EQ(label.DataSetRegistry(), nullptr) << "the label must not keep the module's registry";
    expectTextsInFrontOfFills(label);

    dm.TbLabels().Next();
    ASSERT_TRUE(dm.LoadDesign(label));
    EXPECT_EQ(label.DataSet(), &dm.TbEmployees());
    expectTextsInFrontOfFills(label);
    label.SetDataSet(nullptr);
    label.SetDetail(nullptr);
}

TEST_F(DemoData, TheAssetLabelPrintsOneRollLabelAPrinterWithItsTagReadable)
{
    TDM dm;
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    TZVLab label;
    dm.TbLabels().Last();
    ASSERT_TRUE(dm.LoadDesign(label));
    EXPECT_EQ(label.DataSet(), &dm.QyPrinters());
    ASSERT_TRUE(label.PreparePreview());
    EXPECT_EQ(label.PrintInfo().PageCount, 12) << "one page a printer";
    const QPicture* page = label.GetPreviewPage(1);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->boundingRect(), QRect(0, 0, 570, 320)) << "the page is the 57 x 32 mm label";
    // Played at 508 dpi, both symbols read back the first printer's tag.
    QImage image(1140, 640, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(2, 2);
        painter.drawPicture(0, 0, *page);
    }
    for (const auto format : {ZXing::BarcodeFormat::QRCode, ZXing::BarcodeFormat::Code128}) {
        ZXing::DecodeHints hints;
        hints.setFormats(format);
        const ZXing::ImageView view(image.constBits(), image.width(), image.height(), ZXing::ImageFormat::Lum,
                                    int(image.bytesPerLine()));
        EXPECT_EQ(ZXing::ReadBarcode(view, hints).text(), "AS-00001") << ZXing::ToString(format);
    }
    label.SetDataSet(nullptr);
}

TEST_F(DemoData, SavedDesignLoadsBackInALaterRun)
{
    QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    {
        TDM dm;
        ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
        TZVLab label;
        label.SetDataAccessType(daNone);
        auto* text = new TZVText(label);
        text->SetText("saved text");
        text->SetX1(12);
        label.AddElement(text, false);
        dm.TbLabels().Last();
        dm.SaveDesign(label);
        EXPECT_EQ(dm.TbLabels().State(), dsBrowse);
        EXPECT_GE(dm.TbLabels().FieldByName("UPDATED").AsDateTime(), before);
    }
    TDM dm;
    TZVLab loaded;
    dm.TbLabels().Last();
    ASSERT_TRUE(dm.LoadDesign(loaded));
    ASSERT_EQ(loaded.Elements().size(), 1);
    auto* text = qobject_cast<TZVText*>(loaded.Elements().front());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text(), "saved text");
    EXPECT_FLOAT_EQ(text->GetX1(), 12);
    EXPECT_EQ(dm.TbLabels().RecordCount(), kSampleDesigns);
}

TEST_F(DemoData, FailedSaveKeepsTheStoredDesignAndRaises)
{
    QString stored;
    firstRunThen([&stored](SideConnection& side) {
        stored = fileOfFirstLabel(side);
        side.exec("CREATE TRIGGER LOCKED BEFORE UPDATE ON LABELS BEGIN SELECT RAISE(ABORT, 'LABELS ARE LOCKED'); END");
    });
    {
        TDM dm;
        ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
        dm.TbLabels().First();
        const QByteArray inMemory = dm.TbLabels().FieldByName("FILE").AsBytes();
        TZVLab label;
        label.AddElement(new TZVText(label), false);
        try {
            dm.SaveDesign(label);
            ADD_FAILURE() << "the save went through a locked table";
        } catch (const EZvError& e) {
            EXPECT_TRUE(e.message().contains("LABELS ARE LOCKED")) << e.message().toStdString();
        }
        EXPECT_EQ(dm.TbLabels().State(), dsBrowse);
        EXPECT_EQ(dm.TbLabels().FieldByName("FILE").AsBytes(), inMemory);
        EXPECT_EQ(label.Elements().size(), 1) << "the design on screen is kept";
    }
    SideConnection side(TDM::DefaultDatabaseFile());
    EXPECT_EQ(fileOfFirstLabel(side), stored);
}

TEST_F(DemoData, AppendedDesignCancelledLeavesTheTableUnchanged)
{
    {
        TDM dm;
        ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
        TZVLab label;
        label.AddElement(new TZVText(label), false);
        dm.AppendDesign(label);
        EXPECT_EQ(dm.TbLabels().State(), dsInsert);
        EXPECT_FALSE(dm.TbLabels().FieldByName("FILE").IsNull());
        EXPECT_FALSE(dm.TbLabels().FieldByName("CREATED").IsNull());
        dm.TbLabels().Cancel();
        EXPECT_EQ(dm.TbLabels().RecordCount(), kSampleDesigns);
        EXPECT_EQ(label.Elements().size(), 1);
    }
    SideConnection side(TDM::DefaultDatabaseFile());
    EXPECT_EQ(side.value("SELECT COUNT(*) FROM LABELS").toInt(), kSampleDesigns);
}

TEST_F(DemoData, AppendedDesignPostedGetsBothDates)
{
    TDM dm;
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    TZVLab label;
    dm.AppendDesign(label);
    dm.TbLabels().FieldByName("NAME").SetValue("NEW");
    dm.PostLabel();
    EXPECT_EQ(dm.TbLabels().RecordCount(), kSampleDesigns + 1);
    EXPECT_FALSE(dm.TbLabels().FieldByName("UPDATED").IsNull());
    EXPECT_FALSE(dm.TbLabels().FieldByName("IDLABEL").IsNull());
}

TEST_F(DemoData, EmptyTableLoadsNothingAndLeavesTheLabel)
{
    firstRunThen([](SideConnection& side) { side.exec("DELETE FROM LABELS"); });
    TDM dm;
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    TZVLab label;
    label.Measure().SetLabelName("design time");
    label.AddElement(new TZVText(label), false);
    EXPECT_FALSE(dm.LoadDesign(label));
    EXPECT_EQ(label.Elements().size(), 1);
    EXPECT_EQ(label.Measure().LabelName(), "design time");
}

TEST_F(DemoData, DamagedDesignRaisesAndLeavesNoElements)
{
    firstRunThen([](SideConnection& side) { side.exec("UPDATE LABELS SET FILE = x'0102030405'"); });
    TDM dm;
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    TZVLab label;
    label.AddElement(new TZVText(label), false);
    try {
        dm.LoadDesign(label);
        ADD_FAILURE() << "a damaged design loaded";
    } catch (const EZvError& e) {
        EXPECT_EQ(e.message(), QLatin1String(kErrorReadingFile));
    }
    EXPECT_TRUE(label.Elements().isEmpty());
}

TEST_F(DemoData, RowMovesAnnounceTheDesignOnlyWhileLoadingOnScroll)
{
    TDM dm;
    ASSERT_TRUE(dm.Connected()) << dm.ConnectError().toStdString();
    QSignalSpy spy(&dm, &TDM::DesignRowChanged);
    dm.TbLabels().Last();
    EXPECT_EQ(spy.count(), 0);
    dm.SetLoadOnScroll(true);
    dm.TbLabels().First();
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(DemoData, OriginalPicturePathFindsTheShippedPicture)
{
    TDM dm;
    const QString cwd = QDir::currentPath();
    EXPECT_TRUE(QFileInfo::exists(QDir(TDM::SamplePictureFolder()).filePath("PC1.jpg")));
    TZVLab label;
    QStringList messages;
    label.OnMessage = [&messages](QObject*, const QString& m) { messages.append(m); };
    TZVImage image(label);
    image.SetFileImage("..\\DEMOS\\DATA\\PC1.jpg");
    EXPECT_TRUE(image.HasPicture());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(", ").toStdString();
    EXPECT_EQ(image.FileImage(), "..\\DEMOS\\DATA\\PC1.jpg") << "the design keeps the path as given";
    EXPECT_EQ(QDir::currentPath(), cwd);

    image.SetFileImage("..\\DEMOS\\DATA\\NOPE.jpg");
    EXPECT_FALSE(image.HasPicture());
    EXPECT_EQ(messages.size(), 1);
}

} // namespace

// Print runs take the current row's counters; then the label (as unmodified as before) and LABELS
// show the row's. Another demo's save keeps what the runs moved on, except what its user changed.
TEST_F(DemoData, PrintRunsTakeTheRowsCountersAndSavesElsewhereKeepThem)
{
    TDM printing;
    TZVLab label, edited, row;
    label.SetCounters({{"Serial", 1}, {"Lot", 5}});
    printing.SaveDesign(label);
    TDM editing;
    ASSERT_TRUE(editing.LoadDesign(edited));
    {
        const TStoredCounters counters(printing, label);
        ASSERT_NE(label.CounterStore(), nullptr);
        EXPECT_EQ(label.CounterStore()->Reserve({{"SERIAL", 10}, {"LOT", 1}}, {}).value(0).Start, 1);
    }
    EXPECT_EQ(label.CounterStore(), nullptr);
    EXPECT_FALSE(label.Modified());
    EXPECT_EQ(label.Counters().value(0).Start, 11);
    ASSERT_TRUE(printing.LoadDesign(row));
    EXPECT_EQ(row.Counters(), label.Counters());
    edited.SetCounters({{"Serial", 1}, {"Lot", 100}});
    editing.SaveDesign(edited);
    const QList<TZVCounter> expected = {{"Serial", 11}, {"Lot", 100}};
    EXPECT_EQ(edited.Counters(), expected);
    ASSERT_TRUE(editing.LoadDesign(row));
    EXPECT_EQ(row.Counters(), expected);
}
