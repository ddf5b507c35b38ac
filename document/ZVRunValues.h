// What templates are filled from: the print run's position, the job's start and the counters.
#pragma once

#include "document/ZVTemplate.h"
#include "zorvel_core_export.h"

#include <QDateTime>
#include <QHash>

#include <cstdint>

namespace zorvel {

class TZVCustomLab;
class TZVDataSet;

/// Where a print run stands, 1-based.
struct TZVRunPosition
{
    std::int64_t Page = 1;          ///< the page of the run
    std::int64_t Label = 1;         ///< the label in the run
    std::int64_t Record = 1;        ///< the record's number in its data set
    std::int64_t Copy = 1;          ///< the copy of that record
    std::int64_t RecordInRun = 1;   ///< the record among those the run prints (counters per record)
};

/// The template values of one label; the label owns one for its runs and its designer.
class ZORVEL_CORE_EXPORT TZVRunValues final : public TZVTemplateValues
{
public:
    /// Values of `label`'s runs; the label outlives them.
    explicit TZVRunValues(const TZVCustomLab& label) : m_label(label) {}

    /// Starts a run at `jobStart`: the counters begin at `counterStarts` (by upper-case name) and
    /// the position at the first label.
    void Begin(const QDateTime& jobStart, const QHash<QString, std::int64_t>& counterStarts);
    /// The run's position; the walk moves it before each label.
    /// @{
    TZVRunPosition& Position() { return m_position; }
    const TZVRunPosition& Position() const { return m_position; }
    /// @}
    /// The value each counter starts the run from, by upper-case name.
    const QHash<QString, std::int64_t>& CounterStarts() const { return m_counterStarts; }
    /// The data set whose current record gives the fields; null: the label's master.
    void SetFields(const TZVDataSet* fields) { m_fields = fields; }

    QString Field(const QString& name, const QString& format) const override;
    QString Counter(const QString& name) const override;
    QDateTime JobStart() const override { return m_jobStart; }
    std::int64_t Page() const override { return m_position.Page; }
    std::int64_t Label() const override { return m_position.Label; }
    std::int64_t Record() const override { return m_position.Record; }
    std::int64_t Copy() const override { return m_position.Copy; }
    QString Answer(const QString& id) const override;

private:
    const TZVCustomLab& m_label;
    const TZVDataSet* m_fields = nullptr;
    QDateTime m_jobStart = QDateTime::currentDateTime();
    QHash<QString, std::int64_t> m_counterStarts;
    TZVRunPosition m_position;
};

/// The steps each counter of `label` takes in a run of `labels` labels, `records` records and
/// `pages` pages, by upper-case name.
ZORVEL_CORE_EXPORT QHash<QString, std::int64_t> CounterSteps(const TZVCustomLab& label, std::int64_t labels,
                                                            std::int64_t records, std::int64_t pages);

} // namespace zorvel
