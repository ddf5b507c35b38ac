// The demo's data module: the designs table and the sample data sets of one database.
#pragma once

#include "controls/ZVGuard.h"
#include "document/ZVCounters.h"

#include <QObject>
#include <QString>

#include <memory>

namespace zorvel {

class TZVConnections;
class TZVCustomLab;
class TZVDataSetRegistry;
class TZVSqlCounterStore;
class TZVSqlDataSet;

// The message shown when the database cannot be opened; the demo goes on without data.
inline constexpr const char* kDemoCantConnect = "CAN'T CONNECT TO DATABASE";

class TDM : public QObject
{
    Q_OBJECT

public:
    // Opens the database at `url` (any Qt SQL URL the connections understand; a SQLite file named
    // without a mode is made when missing). An empty URL means the sample SQLite file
    // "demo_zorvel.db" in the user's data folder. Either is filled with the sample tables it
    // lacks. Never throws: see Connected() and ConnectError().
    explicit TDM(const QString& url = {}, QObject* parent = nullptr);
    ~TDM() override;

    bool Connected() const { return m_connected; }
    // Why the database could not be opened (the driver's or the library's message).
    const QString& ConnectError() const { return m_connectError; }
    const QString& Url() const { return m_url; }

    // LABELS (IDLABEL, NAME, CREATED, UPDATED, FILE, NOTE); open while connected.
    TZVSqlDataSet& TbLabels();
    // The sample master (printers with their manufacturers) and its detail (characteristics,
    // linked by IDPRINTER), and the employees table.
    TZVSqlDataSet& QyPrinters();
    TZVSqlDataSet& QyCharacteristic();
    TZVSqlDataSet& TbEmployees();
    // The four data sets by name ("TbLabels", "QyPrinters", ...), as designs name them.
    TZVDataSetRegistry& DataSets();

    // While set, every move in LABELS fires DesignRowChanged so that the window loads that row.
    bool LoadOnScroll() const { return m_loadOnScroll; }
    void SetLoadOnScroll(bool value) { m_loadOnScroll = value; }

    // Loads the current row's design into `label`; false when LABELS has no row. A damaged
    // design raises the label's load error and leaves the label without elements.
    bool LoadDesign(TZVCustomLab& label);
    // Writes `label` into the current row's FILE and posts it with UPDATED = now, in one
    // transaction: a failure raises EZvError and leaves the stored row as it was. Counters the
    // label still has as they were loaded take the row's values first: runs elsewhere may have
    // moved them on since, and writing them back would print those values again.
    void SaveDesign(TZVCustomLab& label);
    // Appends a row (CREATED = now) holding `label`'s design, unposted, for the name dialog.
    void AppendDesign(TZVCustomLab& label);
    // Posts the pending edit or append of LABELS with UPDATED = now, in one transaction; on
    // failure raises EZvError and LABELS stays in edit or insert state.
    void PostLabel();
    // Where print runs take the current row's counters from (in one transaction, so that two
    // demos printing the design never print the same value); null when no stored row is current
    // (not connected, no row, a row not yet posted).
    std::unique_ptr<TZVSqlCounterStore> CounterStore();
    // After print runs of `label` took counters from `store`: the label shows the counters the
    // row now holds, modified only if `wasModified`, and LABELS is read again so that the row's
    // design is the stored one, without loading it into the label.
    void CountersTaken(TZVCustomLab& label, const TZVSqlCounterStore& store, bool wasModified);

    // The folder of the sample pictures the demo ships ("PC1.jpg" ...); designs made on the
    // original platform name them "..\DEMOS\DATA\PC1.jpg".
    static QString SamplePictureFolder();
    // Where the sample database lives when no URL is given.
    static QString DefaultDatabaseFile();
    // The folder that holds the sample database and DEMOS/DATA; empty (the default) means the
    // user's data folder. Set it before making a TDM.
    static void SetDataFolder(const QString& folder);
    static QString DataFolder();

signals:
    void DesignRowChanged();

private:
    void connectDatabase(bool sampleFile);
    void openDataSets();
    void closeDataSets();
    void addSampleDesigns();
    void requireConnected() const;
    void rereadLabels(bool loadDesign = true);
    void rememberCounters(const QList<TZVCounter>& counters);
    void followStoredCounters(TZVCustomLab& label);

    QString m_url;
    QString m_connectError;
    bool m_connected = false;
    bool m_filling = false; // inside the first run's transaction
    bool m_loadOnScroll = false;
    std::unique_ptr<TZVConnections> m_connections;
    std::unique_ptr<TZVSqlDataSet> m_labels;
    std::unique_ptr<TZVSqlDataSet> m_printers;
    std::unique_ptr<TZVSqlDataSet> m_characteristics;
    std::unique_ptr<TZVSqlDataSet> m_employees;
    std::unique_ptr<TZVDataSetRegistry> m_registry;
    /// Held while the designs are read again after a failed save: the cursor's moves then are
    /// no choice of the user.
    FeedbackGuard m_rereading;
    // The counters the row of key m_countersRow held when its design was last loaded, saved or
    // printed here.
    QVariant m_countersRow;
    QList<TZVCounter> m_rowCounters;
};

// While it lives, print runs of the label take their counters from the current row (not a
// preview: it takes none); at its end the label and LABELS show what the row holds.
class TStoredCounters
{
public:
    TStoredCounters(TDM& dm, TZVCustomLab& label);
    ~TStoredCounters();
    Q_DISABLE_COPY_MOVE(TStoredCounters)

private:
    TDM& m_dm;
    TZVCustomLab& m_label;
    std::unique_ptr<TZVSqlCounterStore> m_store;
    bool m_wasModified;
};

} // namespace zorvel
