// TZVMemoryDataSet: a data set whose fields and records are filled in code.
#pragma once

#include "foundation/ZVDataSet.h"
#include "zorvel_core_export.h"

namespace zorvel {

/// Records live in memory; Edit, Append, Delete and Post change them there.
class ZORVEL_CORE_EXPORT TZVMemoryDataSet : public TZVDataSet
{
    Q_OBJECT

public:
    /// A closed data set without fields or records.
    explicit TZVMemoryDataSet(QObject* parent = nullptr);

    /// Only while closed ("DATASET IS OPEN"); a second field of the same name (without regard to
    /// case) raises "INVALID FIELD NAME :NAME".
    void AddField(const QString& name, TZVFieldKind kind);
    /// Removes the fields and records; only while closed ("DATASET IS OPEN").
    void ClearFields();
    /// One value per field, converted to the field's kind: "INVALID VALUE FOR FIELD :NAME" when
    /// one does not fit, "INVALID RECORD : n VALUES FOR m FIELDS" for a wrong count. Allowed while
    /// open: the cursor stays where it is.
    void AppendRecord(const QVariantList& values);
    /// Removes every record; allowed while open.
    void ClearRecords();

    bool CanModify() const override { return Active(); }
    /// A copy of the fields and records, with this one's filter, open when this one is open.
    std::unique_ptr<TZVDataSet> OpenCopy() const override;

protected:
    std::vector<TZVFieldDef> DoOpen() override { return m_defs; }
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    QVariant RowValue(int row, int field) const override;
    int DoPost(int row, const QVariantList& values) override;
    void DoDelete(int row) override;

private:
    std::vector<TZVFieldDef> m_defs;
    std::vector<QVariantList> m_rows;
};

} // namespace zorvel
