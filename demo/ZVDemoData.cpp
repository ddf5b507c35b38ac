// The demo's data module: opening (and on first use filling) the database, and the designs table.
#include "demo/ZVDemoData.h"

#include "demo/ZVDemoSamples.h"
#include "document/ZVCustomLab.h"
#include "document/ZVSqlCounterStore.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVConnections.h"
#include "platform/ZVPicture.h"
#include "platform/ZVSqlDataSet.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QStandardPaths>

#include <algorithm>

namespace zorvel {

namespace {

constexpr const char* kAlias = "DEMO";
constexpr const char* kModule = "DM";

QString& dataFolderOverride()
{
    static QString folder;
    return folder;
}

// A SQLite file named without a mode is made, as the sample tables it lacks are; a mode given
// is kept (ro and rw open only a file that exists).
QString fileMadeUrl(const TZVConnections& connections, const QString& url)
{
    TZVConnectionSettings settings;
    try {
        settings = connections.ParseUrl(url);
    } catch (const EZvError&) {
        return url; // opening it says what is wrong
    }
    if (settings.Driver != QLatin1String("QSQLITE") || !settings.MustExist ||
        url.contains(QLatin1String("mode="), Qt::CaseInsensitive))
        return url;
    return QStringLiteral("sqlite:") + settings.DatabaseName + QStringLiteral("?mode=rwc");
}

QString printersSql()
{
    return QStringLiteral(
        "SELECT PRINTERS.IDPRINTER, PRINTERS.CE, PRINTERS.FCC, PRINTERS.IMAGE, PRINTERS.NAME AS PRINTER, "
        "PRINTERS.NOTE, PRINTERS.PRICE, MANUFACTERS.NAME AS MANUFACTER, MANUFACTERS.URL "
        "FROM PRINTERS INNER JOIN MANUFACTERS ON PRINTERS.IDMANUFACTER = MANUFACTERS.IDMANUFACTER "
        "ORDER BY PRINTERS.IDPRINTER");
}

QString characteristicsSql()
{
    return QStringLiteral(
        "SELECT PRINTERCHAR.IDPRINTER, PRINTERCHAR.VALUE, CHARACTERISTICS.NAME "
        "FROM PRINTERCHAR INNER JOIN CHARACTERISTICS ON PRINTERCHAR.IDCHARACTERISTIC = "
        "CHARACTERISTICS.IDCHARACTERISTIC "
        "ORDER BY PRINTERCHAR.IDPRINTER, CHARACTERISTICS.IDCHARACTERISTIC");
}

// Links designs to the module's data sets while they are read, without leaving the label
// pointing at this module's registry afterwards.
class TRegistryScope
{
public:
    TRegistryScope(TZVCustomLab& label, TZVDataSetRegistry& registry) : m_label(label), m_set(!label.DataSetRegistry())
    {
        if (m_set) label.SetDataSetRegistry(&registry);
    }
    ~TRegistryScope()
    {
        if (m_set) m_label.SetDataSetRegistry(nullptr);
    }
    TRegistryScope(const TRegistryScope&) = delete;
    TRegistryScope& operator=(const TRegistryScope&) = delete;

private:
    TZVCustomLab& m_label;
    bool m_set;
};

} // namespace

TDM::TDM(const QString& url, QObject* parent)
    : QObject(parent), m_url(url), m_connections(std::make_unique<TZVConnections>()),
      m_labels(std::make_unique<TZVSqlDataSet>()), m_printers(std::make_unique<TZVSqlDataSet>()),
      m_characteristics(std::make_unique<TZVSqlDataSet>()), m_employees(std::make_unique<TZVSqlDataSet>()),
      m_registry(std::make_unique<TZVDataSetRegistry>())
{
    const struct
    {
        TZVSqlDataSet* DataSet;
        const char* Name;
    } sets[] = {{m_labels.get(), "TbLabels"},
                {m_printers.get(), "QyPrinters"},
                {m_characteristics.get(), "QyCharacteristic"},
                {m_employees.get(), "TbEmployees"}};
    for (const auto& s : sets) {
        s.DataSet->SetName(QLatin1String(s.Name));
        s.DataSet->SetConnections(m_connections.get());
        s.DataSet->SetDatabaseName(QLatin1String(kAlias));
        m_registry->Add(s.DataSet, QLatin1String(kModule));
    }
    m_labels->SetTableName(QStringLiteral("LABELS"));
    m_printers->SetSql(printersSql());
    m_characteristics->SetSql(characteristicsSql());
    m_employees->SetTableName(QStringLiteral("EMPLOYEE"));
    connectGuarded(m_rereading, m_labels.get(), &TZVDataSet::AfterScroll, this, [this] {
        if (m_loadOnScroll) emit DesignRowChanged();
    });

    // Designs made on the original platform name pictures relative to a working folder that
    // was the sibling of DEMOS; DataFolder()/DEMOS plays that part here.
    const QString pictureBase = QDir(DataFolder()).filePath(QStringLiteral("DEMOS"));
    WriteSamplePictures(SamplePictureFolder());
    QStringList bases = PictureBaseFolders();
    if (!bases.contains(pictureBase)) {
        bases.append(pictureBase);
        SetPictureBaseFolders(bases);
    }

    const bool sampleFile = m_url.isEmpty();
    if (sampleFile) m_url = QStringLiteral("sqlite:") + DefaultDatabaseFile() + QStringLiteral("?mode=rwc");
    try {
        connectDatabase(sampleFile);
        m_connected = true;
    } catch (const std::exception& e) {
        const auto* error = dynamic_cast<const EZvError*>(&e);
        m_connectError = error ? error->message() : QString::fromLocal8Bit(e.what());
        closeDataSets();
        m_connections->Remove(QLatin1String(kAlias));
    }
}

TDM::~TDM()
{
    closeDataSets();
    m_connections->Remove(QLatin1String(kAlias));
}

void TDM::connectDatabase(bool sampleFile)
{
    if (sampleFile && !QDir().mkpath(QFileInfo(DefaultDatabaseFile()).absolutePath()))
        throw EZvError(QStringLiteral("CAN'T CREATE FOLDER : ") + QFileInfo(DefaultDatabaseFile()).absolutePath());
    m_connections->Add(QLatin1String(kAlias), fileMadeUrl(*m_connections, m_url));
    QSqlDatabase db = m_connections->Database(QLatin1String(kAlias));
    // SQLite and PostgreSQL get the sample tables they lack (in one transaction: both undo DDL);
    // other engines' types differ too much, so there the tables must exist.
    if (db.driverName() != QLatin1String("QSQLITE") && db.driverName() != QLatin1String("QPSQL")) {
        openDataSets();
        return;
    }
    if (!db.transaction()) throw EZvError(db.lastError().text().simplified());
    m_filling = true;
    auto undoOnFailure = qScopeGuard([this, &db] {
        m_filling = false;
        closeDataSets();
        db.rollback();
    });
    const QStringList created = CreateSampleTables(db);
    openDataSets();
    if (created.contains(QStringLiteral("LABELS"))) addSampleDesigns();
    m_filling = false;
    if (!db.commit()) throw EZvError(db.lastError().text().simplified());
    undoOnFailure.dismiss();
}

void TDM::openDataSets()
{
    m_labels->Open();
    m_printers->Open();
    m_characteristics->SetMaster(m_printers.get(), {QStringLiteral("IDPRINTER")});
    m_characteristics->Open();
    m_employees->Open();
}

void TDM::closeDataSets()
{
    for (TZVSqlDataSet* set : {m_labels.get(), m_characteristics.get(), m_printers.get(), m_employees.get()})
        set->Close();
}

void TDM::addSampleDesigns()
{
    TZVLab label;
    BuildPrinterLabel(label, *m_printers, *m_characteristics);
    AppendDesign(label);
    m_labels->FieldByName(QStringLiteral("NAME")).SetValue(QStringLiteral("Printer label"));
    m_labels->FieldByName(QStringLiteral("NOTE"))
        .SetValue(QStringLiteral("Printers with their picture, price and a table of characteristics."));
    PostLabel();
    BuildEmployeeBadge(label, *m_employees);
    AppendDesign(label);
    m_labels->FieldByName(QStringLiteral("NAME")).SetValue(QStringLiteral("Employee badge"));
    m_labels->FieldByName(QStringLiteral("NOTE")).SetValue(QStringLiteral("Badges from the EMPLOYEE table."));
    PostLabel();
    BuildAssetLabel(label, *m_printers);
    AppendDesign(label);
    m_labels->FieldByName(QStringLiteral("NAME")).SetValue(QStringLiteral("Asset label (roll)"));
    m_labels->FieldByName(QStringLiteral("NOTE"))
        .SetValue(QStringLiteral("One 57 x 32 mm label a printer on a thermal roll: its tag as QR Code and Code 128."));
    PostLabel();
    // The label dies here: nothing may keep pointing at it.
    label.SetDataSet(nullptr);
    label.SetDetail(nullptr);
    m_labels->First();
}

void TDM::requireConnected() const
{
    if (!m_labels->Active()) throw EZvError(QLatin1String(kDemoCantConnect));
}

TZVSqlDataSet& TDM::TbLabels()
{
    return *m_labels;
}

TZVSqlDataSet& TDM::QyPrinters()
{
    return *m_printers;
}

TZVSqlDataSet& TDM::QyCharacteristic()
{
    return *m_characteristics;
}

TZVSqlDataSet& TDM::TbEmployees()
{
    return *m_employees;
}

TZVDataSetRegistry& TDM::DataSets()
{
    return *m_registry;
}

bool TDM::LoadDesign(TZVCustomLab& label)
{
    if (!m_connected || !m_labels->Active() || m_labels->RecordCount() == 0) return false;
    TZVMemoryStream stream(m_labels->FieldByName(QStringLiteral("FILE")).AsBytes());
    stream.SetPosition(0);
    const TRegistryScope scope(label, *m_registry);
    try {
        label.LoadFromStream(stream, false);
    } catch (const EZvError&) {
        // The label keeps the previous row's design; shown beside this row it would be taken
        // for this one and saved over it.
        label.ClearElements();
        label.UndoStack().clear();
        label.SetModified(false);
        throw;
    }
    rememberCounters(label.Counters());
    return true;
}

void TDM::SaveDesign(TZVCustomLab& label)
{
    requireConnected();
    followStoredCounters(label);
    TZVMemoryStream stream;
    label.SaveToStream(stream);
    const bool started = m_labels->State() == dsBrowse;
    if (started) {
        // Nowhere to save into yet: the design becomes the first row rather than being lost.
        if (m_labels->RecordCount() == 0) {
            m_labels->Append();
            m_labels->FieldByName(QStringLiteral("NAME")).SetValue(QStringLiteral("Label"));
            m_labels->FieldByName(QStringLiteral("CREATED")).SetValue(QDateTime::currentDateTime());
        } else {
            m_labels->Edit();
        }
    }
    auto cancelOnFailure = qScopeGuard([this, started] {
        if (started) m_labels->Cancel();
    });
    m_labels->FieldByName(QStringLiteral("FILE")).LoadFromStream(stream);
    PostLabel();
    cancelOnFailure.dismiss();
    rememberCounters(label.Counters());
}

void TDM::AppendDesign(TZVCustomLab& label)
{
    requireConnected();
    TZVMemoryStream stream;
    label.SaveToStream(stream);
    m_labels->Append();
    m_labels->FieldByName(QStringLiteral("CREATED")).SetValue(QDateTime::currentDateTime());
    m_labels->FieldByName(QStringLiteral("FILE")).LoadFromStream(stream);
}

void TDM::PostLabel()
{
    requireConnected();
    m_labels->FieldByName(QStringLiteral("UPDATED")).SetValue(QDateTime::currentDateTime());
    QSqlDatabase db = m_connections->Database(QLatin1String(kAlias));
    // Inside the first run's transaction that one decides (SQLite refuses a nested BEGIN, but
    // PostgreSQL only warns, and the inner COMMIT would end the outer transaction early).
    const bool own = !m_filling && db.driver()->hasFeature(QSqlDriver::Transactions) && db.transaction();
    auto rollBackOnFailure = qScopeGuard([own, &db] {
        if (own) db.rollback();
    });
    m_labels->Post();
    rollBackOnFailure.dismiss();
    if (own && !db.commit()) {
        const QString reason = db.lastError().text().simplified();
        db.rollback();
        // The data set took the row as written; read back what the database really kept.
        rereadLabels();
        throw EZvError(QLatin1String(kErrorCantSave) + reason);
    }
}

std::unique_ptr<TZVSqlCounterStore> TDM::CounterStore()
{
    if (!m_connected || !m_labels->Active() || m_labels->State() != dsBrowse || m_labels->RecordCount() == 0)
        return nullptr;
    const QVariant id = m_labels->FieldByName(QStringLiteral("IDLABEL")).Value();
    if (id.isNull()) return nullptr;
    return std::make_unique<TZVSqlCounterStore>(
        *m_connections, QLatin1String(kAlias),
        TZVDesignRow{QStringLiteral("LABELS"), QStringLiteral("IDLABEL"), id, QStringLiteral("FILE")});
}

void TDM::CountersTaken(TZVCustomLab& label, const TZVSqlCounterStore& store, bool wasModified)
{
    if (!store.Reserved()) return;
    label.SetCounters(store.Stored());
    label.SetModified(wasModified);
    rereadLabels(false);
    rememberCounters(store.Stored());
}

void TDM::rememberCounters(const QList<TZVCounter>& counters)
{
    m_countersRow = m_labels->FieldByName(QStringLiteral("IDLABEL")).Value();
    m_rowCounters = counters;
}

void TDM::followStoredCounters(TZVCustomLab& label)
{
    const std::unique_ptr<TZVSqlCounterStore> store = CounterStore();
    if (!store || m_labels->FieldByName(QStringLiteral("IDLABEL")).Value() != m_countersRow) return;
    QList<TZVCounter> stored;
    try {
        stored = store->Read();
    } catch (const EZvError&) {
        return; // a row that does not load has nothing to keep; the save says what else is wrong
    }
    QList<TZVCounter> counters = label.Counters();
    for (TZVCounter& counter : counters) {
        const auto named = [&counter](const TZVCounter& c) {
            return c.Name.compare(counter.Name, Qt::CaseInsensitive) == 0;
        };
        const auto loaded = std::find_if(m_rowCounters.cbegin(), m_rowCounters.cend(), named);
        const auto now = std::find_if(stored.cbegin(), stored.cend(), named);
        if (loaded != m_rowCounters.cend() && *loaded == counter && now != stored.cend()) counter = *now;
    }
    label.SetCounters(counters);
}

void TDM::rereadLabels(bool loadDesign)
{
    const QVariant id = m_labels->FieldByName(QStringLiteral("IDLABEL")).Value();
    {
        const auto rereading = m_rereading.hold();
        m_labels->Close();
        m_labels->Open();
        while (!m_labels->Eof() && m_labels->FieldByName(QStringLiteral("IDLABEL")).Value() != id)
            m_labels->Next();
        if (m_labels->Eof() && m_labels->FieldByName(QStringLiteral("IDLABEL")).Value() != id) m_labels->First();
    }
    if (loadDesign && m_loadOnScroll) emit DesignRowChanged();
}

TStoredCounters::TStoredCounters(TDM& dm, TZVCustomLab& label)
    : m_dm(dm), m_label(label), m_store(dm.CounterStore()), m_wasModified(label.Modified())
{
    m_label.SetCounterStore(m_store.get());
}

TStoredCounters::~TStoredCounters()
{
    m_label.SetCounterStore(nullptr);
    if (!m_store) return;
    try {
        m_dm.CountersTaken(m_label, *m_store, m_wasModified);
    } catch (const EZvError& e) {
        // The run's outcome is shown already; the designs list says the rest when it is read.
        qWarning("%s", e.what());
    }
}

QString TDM::SamplePictureFolder()
{
    return QDir(DataFolder()).filePath(QStringLiteral("DEMOS/DATA"));
}

QString TDM::DefaultDatabaseFile()
{
    return QDir(DataFolder()).filePath(QStringLiteral("demo_zorvel.db"));
}

void TDM::SetDataFolder(const QString& folder)
{
    dataFolderOverride() = folder;
}

QString TDM::DataFolder()
{
    if (!dataFolderOverride().isEmpty()) return dataFolderOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace zorvel
