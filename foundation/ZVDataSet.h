// Data-set contract: named fields over a record cursor, filters, master-detail links, edits, and a registry of named data sets.
#pragma once

#include "zorvel_core_export.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

namespace zorvel {

class TZVDataSet;
class TZVFilterExpr;
class TZVMemoryStream;

/// Kinds of field. The value a field holds depends only on its kind:
/// \verbatim
///   integer kinds (fkSmallInt, fkInteger, fkWord, fkLargeInt)  qlonglong
///   floating kinds (fkFloat, fkCurrency, fkBCD)                 double
///   fkBoolean bool, fkDate QDate, fkTime QTime, fkDateTime QDateTime (wall-clock time)
///   text kinds (fkString, fkWideString, fkMemo)                 QString
///   binary kinds (fkBlob, fkGraphic)                            QByteArray
///   fkUnknown                                                   whatever the source gave
/// \endverbatim
/// A null value is an invalid QVariant, whatever the kind.
enum TZVFieldKind : std::uint8_t {
    fkUnknown,
    fkSmallInt,
    fkInteger,
    fkWord,
    fkLargeInt,
    fkFloat,
    fkCurrency,
    fkBCD,
    fkBoolean,
    fkDate,
    fkTime,
    fkDateTime,
    fkString,
    fkWideString,
    fkMemo,
    fkBlob,
    fkGraphic
};

/// Which family of value a kind holds (see TZVFieldKind).
/// @{
bool IsIntegerKind(TZVFieldKind kind);
ZORVEL_CORE_EXPORT bool IsFloatKind(TZVFieldKind kind);
ZORVEL_CORE_EXPORT bool IsTemporalKind(TZVFieldKind kind);
ZORVEL_CORE_EXPORT bool IsTextKind(TZVFieldKind kind);
/// @}
/// Blob and graphic: the kinds offered for pictures and stored designs.
ZORVEL_CORE_EXPORT bool IsBinaryKind(TZVFieldKind kind);
/// The kind whose values have the meta type `typeId` (QMetaType::Int -> fkInteger, QString ->
/// fkString, QByteArray -> fkBlob, ...); fkUnknown for any other type.
TZVFieldKind KindOfType(int typeId);

/// Converts `value` to what a field of `kind` holds (table above). Texts are read in the C
/// locale ('.' decimals), dates and times in ISO 8601 ("2024-03-01", "2024-03-01 10:30:00",
/// "10:30"); booleans from true/false/1/0. Returns false when the value does not fit the kind.
bool ConvertToKind(const QVariant& value, TZVFieldKind kind, QVariant& result);

/// A value as printed on a label: empty for null, "True"/"False", decimal numbers with '.'
/// and no exponent between 1e-4 and 1e15, ISO dates ("2024-03-01", "10:30:00",
/// "2024-03-01 10:30:00"), "(BLOB)" and "(GRAPHIC)" for binary kinds.
ZORVEL_CORE_EXPORT QString ValueText(const QVariant& value, TZVFieldKind kind = fkUnknown);

/// Life cycle state of a data set: closed, browsing, editing the current record, or inserting a new one.
enum TZVDataSetState : std::uint8_t { dsInactive, dsBrowse, dsEdit, dsInsert };

/// Message texts raised by data sets.
inline constexpr const char* kErrorCantOpenDataSet = "CAN'T OPEN DATASET";
/// Further exact messages; the field name or index follows those ending with ':'.
/// @{
inline constexpr const char* kErrorInvalidFieldName = "INVALID FIELD NAME :";
inline constexpr const char* kErrorDataSetClosed = "DATASET NOT OPEN";
inline constexpr const char* kErrorDataSetOpen = "DATASET IS OPEN";
inline constexpr const char* kErrorReadOnly = "DATASET IS READ ONLY";
inline constexpr const char* kErrorNotEditing = "DATASET NOT IN EDIT MODE";
inline constexpr const char* kErrorNoRecord = "NO CURRENT RECORD";
inline constexpr const char* kErrorInvalidValue = "INVALID VALUE FOR FIELD :";
inline constexpr const char* kErrorNotBlob = "NOT A BLOB FIELD :";
inline constexpr const char* kErrorFieldIndex = "FIELD INDEX OUT OF RANGE : ";
inline constexpr const char* kErrorMasterLink = "INVALID MASTER LINK";
/// @}

/// One column of an open data set, reading the current record. Fields belong to the data set and
/// live from Open to Close.
class ZORVEL_CORE_EXPORT TZVField
{
    Q_DISABLE_COPY_MOVE(TZVField)

public:
    /// The name the data source gives the column.
    const QString& FieldName() const { return m_name; }
    /// The name shown to users; the field name unless the data set was given another.
    const QString& DisplayLabel() const { return m_displayLabel; }
    /// What values the field holds (see TZVFieldKind).
    TZVFieldKind Kind() const { return m_kind; }
    /// 0-based column position.
    int Index() const { return m_index; }
    /// The data set the field belongs to.
    TZVDataSet& DataSet() const { return m_dataSet; }

    /// Null on an empty data set as well.
    bool IsNull() const { return !Value().isValid(); }
    /// The current record's value; invalid (null) without a current record.
    QVariant Value() const;
    /// The value as printed on a label (see ValueText).
    QString AsWideString() const { return ValueText(Value(), m_kind); }
    /// 0, 0.0, false, an invalid date-time when null or not convertible. Dates read as floats
    /// give days since 1899-12-30 with the time of day as the fraction.
    /// @{
    qint64 AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    /// @}
    /// Bytes of a binary field, UTF-8 of a text; empty when null.
    QByteArray AsBytes() const;
    /// Blob, graphic and memo fields: writes the bytes at the stream's position.
    void SaveToStream(TZVMemoryStream& stream) const;

    /// While the data set is in edit or insert state: the value converted to the field's kind.
    void SetValue(const QVariant& value);
    /// Sets the value to null; the same state rules as SetValue.
    void Clear() { SetValue(QVariant()); }
    /// Blob, graphic and memo fields: the whole content of the stream, whatever its position.
    void LoadFromStream(TZVMemoryStream& stream);

private:
    friend class TZVDataSet;
    TZVField(TZVDataSet& dataSet, int index, QString name, TZVFieldKind kind, QString displayLabel);
    void requireBlob() const;

    TZVDataSet& m_dataSet;
    int m_index;
    QString m_name;
    TZVFieldKind m_kind;
    QString m_displayLabel;
};

/// An open, navigable table of records whose fields are reached by name.
///
/// Cursor: Open and First put the cursor on the first record with Bof true; Next past the last
/// record leaves it there and sets Eof; MoveBy moves as far as it can and returns the distance
/// moved. An empty data set has Bof and Eof both true and RecNo 0. Moving while in edit or
/// insert state posts the record first, as does changing the filter. RecordCount counts the
/// records that pass the filter and the master link. A closed data set has no fields, and moving
/// it raises "DATASET NOT OPEN".
///
/// Filter: SetFilter parses the text at once (a syntax error raises and keeps the old filter);
/// field names are checked when the filter takes effect: at Open, SetFiltered(true) or SetFilter
/// while filtered. The grammar is in ZVFilterExpr.h.
///
/// Master-detail: a detail shows only the records whose detail fields equal the master's
/// fields in the master's current record, and follows every move of the master, its Open and
/// its Close (no records while the master is closed or empty). The link is not a control: it
/// follows even while the master's controls are disabled.
///
/// Controls: DataChanged tells attached views that the current record or the content changed.
/// DisableControls and EnableControls are counted; while the count is above zero DataChanged
/// is held back and fires once when the count returns to zero. AfterScroll always fires.
class ZORVEL_CORE_EXPORT TZVDataSet : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TZVDataSet)

public:
    /// A closed data set without fields; subclasses name their source.
    explicit TZVDataSet(QObject* parent = nullptr);
    ~TZVDataSet() override;

    /// The component name, by which labels find their data sets.
    QString Name() const { return objectName(); }
    /// Renames the data set (its QObject name).
    void SetName(const QString& name) { setObjectName(name); }

    /// Opens or closes the data set (see Open and Close).
    /// @{
    bool Active() const { return m_state != dsInactive; }
    void SetActive(bool active);
    /// @}
    /// Failures raise EZvError and leave the data set closed.
    void Open();
    /// Discards a pending edit.
    void Close();
    /// Closed, browsing, editing or inserting.
    TZVDataSetState State() const { return m_state; }

    /// Cursor moves (see the class description); they raise "DATASET NOT OPEN" when closed.
    /// @{
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int distance);
    /// @}
    /// True once a move went past the last record, or on an empty data set.
    bool Eof() const { return m_eof; }
    /// True on the first record after Open or First, or on an empty data set.
    bool Bof() const { return m_bof; }
    /// Records that pass the filter and the master link.
    int RecordCount() const { return static_cast<int>(m_visible.size()); }
    /// 1-based position of the current record; 0 on an empty data set.
    int RecNo() const { return m_pos + 1; }

    /// The filter text as last set, whether or not it is in effect.
    const QString& Filter() const { return m_filterText; }
    /// Parses the text at once; a syntax error raises and keeps the old filter.
    void SetFilter(const QString& text);
    /// Whether the filter is in effect.
    bool Filtered() const { return m_filtered; }
    /// Puts the filter in or out of effect; binding a field name that does not exist raises.
    void SetFiltered(bool filtered);

    /// Fields of the open data set; 0 when closed.
    int FieldCount() const { return static_cast<int>(m_fields.size()); }
    /// Raises "FIELD INDEX OUT OF RANGE : n".
    TZVField& Fields(int index) const;
    /// Names match without regard to case; the first field of a name wins.
    /// Raises "INVALID FIELD NAME :" followed directly by the name.
    TZVField& FieldByName(const QString& name) const;
    /// The field of that name, or null; same matching as FieldByName.
    TZVField* FindField(const QString& name) const;
    /// Kept across Close and Open; an empty label restores the field name.
    void SetDisplayLabel(const QString& fieldName, const QString& label);

    /// Counted pair that holds back DataChanged while the count is above zero.
    /// @{
    void DisableControls();
    void EnableControls();
    /// @}
    /// True while the DisableControls count is above zero.
    bool ControlsDisabled() const { return m_disableCount > 0; }

    /// An independent data set over the same source for a worker of a print run: the same fields
    /// and records in the same order, filter and sort as this one has them, its own cursor. Made in
    /// the calling thread, then used by one worker thread only (an SQL copy opens its own connection
    /// in the thread that first uses it). Null when the source cannot be read twice; the run then
    /// stays on one thread.
    virtual std::unique_ptr<TZVDataSet> OpenCopy() const { return nullptr; }

    /// Whether Edit, Append, Delete and Post are possible now; they raise "DATASET IS READ ONLY"
    /// otherwise.
    virtual bool CanModify() const { return false; }
    /// Edit and Delete need a current record ("NO CURRENT RECORD").
    void Edit();
    /// The new record starts null, with the detail fields of a master link set from the master.
    void Append();
    /// Removes the current record; raises when read-only or without a current record.
    void Delete();
    /// Writes the record; on failure the data set stays in edit or insert state. The cursor
    /// stays on the record unless the filter or the master link hides it.
    void Post();
    /// Leaves edit or insert state, discarding the changes.
    void Cancel();

    /// `detailFields` defaults to `masterFields`; both name the fields in the same order.
    /// Raises "INVALID MASTER LINK" for a link to itself, a cycle or lists of unequal length.
    void SetMaster(TZVDataSet* master, const QStringList& masterFields, const QStringList& detailFields = {});
    /// Removes the master link; the data set shows all its records again.
    void ClearMaster();
    /// The master of the link, or null.
    TZVDataSet* Master() const { return m_master; }
    /// Link fields of the master and of this data set, in pairs.
    /// @{
    const QStringList& MasterFields() const { return m_masterFields; }
    const QStringList& DetailFields() const { return m_detailFields; }
    /// @}

signals:
    /// After Open and after every change of the current record.
    void AfterScroll();
    /// After Close, and after a master link closes the detail.
    void AfterClose();
    /// For attached views; held back while controls are disabled.
    void DataChanged();

protected:
    /// A column the implementation describes at Open.
    struct TZVFieldDef
    {
        QString Name; ///< field name
        TZVFieldKind Kind = fkUnknown; ///< kind of its values
    };

    /// Opens the source, reads its records (for a link at the source: those of the master's
    /// current record, see CurrentMasterValues) and describes the fields. Raises on failure.
    virtual std::vector<TZVFieldDef> DoOpen() = 0;
    /// Releases the source after the fields were dropped.
    virtual void DoClose() {}
    /// The records the data set holds, in their order; values as the field kinds say.
    virtual int RowCount() const = 0;
    /// Value of column `field` in row `row`, as the field kind says.
    virtual QVariant RowValue(int row, int field) const = 0;
    /// Writes `values` (converted to the field kinds) over row `row`, or as a new row when `row`
    /// is -1. Returns the row that holds them afterwards.
    virtual int DoPost(int row, const QVariantList& values);
    /// Removes row `row` from the source; the default raises "DATASET IS READ ONLY".
    virtual void DoDelete(int row);
    /// True when the implementation asks its source for the master's records itself; then
    /// FetchForMaster runs on every master move instead of the base comparing link fields, and
    /// the detail fields need not be among the fields.
    virtual bool LinksAtSource() const { return false; }
    /// Re-reads the records of the master's current record or, without a link, all records.
    /// Also runs when the link is set or cleared while open.
    virtual void FetchForMaster() {}
    /// The master's values of the link fields in its current record; false without a master
    /// link or when the master has no current record.
    bool CurrentMasterValues(QVariantList& values) const;
    /// Implementations call this when their rows changed outside Post and Delete.
    void RowsChanged();
    /// Gives a copy made by OpenCopy, before it opens, this one's name, filter and display labels.
    void CopyViewTo(TZVDataSet& copy) const;

private:
    friend class TZVField;

    QVariant currentValue(int field) const;
    void setBufferValue(int field, const QVariant& value);
    void requireActive() const;
    void requireModifiable() const;
    void checkBrowseMode();
    void bindFilter(TZVFilterExpr& filter) const;
    void rebuildIndex();
    void reposition(int row, int fallback);
    void scrolled();
    void notifyControls();
    void followMaster();
    std::vector<int> resolveDetailFields() const;
    void refetchUnlinked();
    void closeInternal();

    TZVDataSetState m_state = dsInactive;
    std::vector<std::unique_ptr<TZVField>> m_fields;
    QHash<QString, int> m_fieldIndex;
    QHash<QString, QString> m_displayLabels;

    std::vector<int> m_visible;
    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;

    QVariantList m_buffer;
    int m_editRow = -1;

    QString m_filterText;
    std::unique_ptr<TZVFilterExpr> m_filter;
    bool m_filtered = false;

    int m_disableCount = 0;
    bool m_changedWhileDisabled = false;

    QPointer<TZVDataSet> m_master;
    QStringList m_masterFields;
    QStringList m_detailFields;
    std::vector<int> m_detailFieldIndex;
    std::vector<QPointer<TZVDataSet>> m_details;
};

/// Data sets known by name, as a label finds them from the names kept in a design. Holds no
/// ownership: a destroyed data set drops out by itself.
class ZORVEL_CORE_EXPORT TZVDataSetRegistry
{
public:
    /// `module` groups data sets the way a data module does; it may be empty.
    void Add(TZVDataSet* dataSet, const QString& module = {});
    /// Forgets the data set; nothing when it is not registered.
    void Remove(TZVDataSet* dataSet);
    /// Without regard to case: `name` is the data set's name, or with `withModule` the module
    /// name, a full stop and the data set's name. Null when none matches.
    TZVDataSet* Find(const QString& name, bool withModule = false) const;
    /// Names of the live data sets, in the order of registration; see Find for `withModule`.
    QStringList Names(bool withModule = false) const;

private:
    struct TEntry
    {
        QPointer<TZVDataSet> DataSet;
        QString Module;
    };
    static QString qualifiedName(const TEntry& entry, bool withModule);

    std::vector<TEntry> m_entries;
};

} // namespace zorvel
