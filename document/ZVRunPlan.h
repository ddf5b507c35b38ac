// Which record and which copy of it each label of a print run prints.
#pragma once

#include "zorvel_core_export.h"

#include <cstdint>
#include <vector>

namespace zorvel {

/// The labels of a run, record by record: every record a fixed number of times, or each as many
/// times as its quantity says (a quantity of 0 or less leaves the record out).
class ZORVEL_CORE_EXPORT TZVRunPlan
{
public:
    /// Where one label of the run stands, all 0-based but Copy.
    struct TPlace
    {
        std::int64_t RecordOffset = 0; ///< the record, counted from the run's first
        std::int64_t RecordInRun = 0;  ///< among the records that print
        std::int64_t Copy = 1;         ///< 1-based copy of that record
    };

    TZVRunPlan() = default;
    /// `records` records, each `copies` times.
    TZVRunPlan(std::int64_t records, std::int64_t copies);
    /// One quantity per record, in walk order.
    explicit TZVRunPlan(const std::vector<std::int64_t>& quantities);

    std::int64_t Labels() const { return m_labels; } ///< labels of the whole run
    std::int64_t Records() const; ///< records that print at least one label
    /// The place of label `index` (0-based, below Labels()).
    TPlace Locate(std::int64_t index) const;

private:
    std::int64_t m_labels = 0;
    std::int64_t m_records = 0;
    std::int64_t m_copies = 1;
    // With quantities: for each record that prints, its offset and its first label.
    std::vector<std::int64_t> m_recordOffsets;
    std::vector<std::int64_t> m_firstLabels;
};

} // namespace zorvel
