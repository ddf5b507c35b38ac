// The run plan: labels laid out record by record, found again by binary search.
#include "document/ZVRunPlan.h"

#include <algorithm>
#include <limits>

namespace zorvel {
namespace {

constexpr std::int64_t kMostLabels = std::numeric_limits<std::int32_t>::max();

} // namespace

TZVRunPlan::TZVRunPlan(std::int64_t records, std::int64_t copies)
    : m_records(std::max<std::int64_t>(records, 0)), m_copies(std::max<std::int64_t>(copies, 1))
{
    m_labels = std::min(m_records * m_copies, kMostLabels);
}

TZVRunPlan::TZVRunPlan(const std::vector<std::int64_t>& quantities) : m_copies(0)
{
    for (std::size_t i = 0; i < quantities.size(); ++i) {
        if (quantities[i] <= 0) continue;
        m_recordOffsets.push_back(static_cast<std::int64_t>(i));
        m_firstLabels.push_back(m_labels);
        // A run beyond what a page count can hold stops growing; its first labels stay right.
        m_labels = std::min(m_labels + std::min(quantities[i], kMostLabels), kMostLabels);
    }
    m_records = static_cast<std::int64_t>(m_recordOffsets.size());
}

std::int64_t TZVRunPlan::Records() const
{
    return m_copies == 0 ? m_records : std::min(m_records, (m_labels + m_copies - 1) / m_copies);
}

TZVRunPlan::TPlace TZVRunPlan::Locate(std::int64_t index) const
{
    if (m_copies > 0) return {index / m_copies, index / m_copies, index % m_copies + 1};
    const auto after = std::upper_bound(m_firstLabels.cbegin(), m_firstLabels.cend(), index);
    const auto n = std::max<std::ptrdiff_t>(after - m_firstLabels.cbegin() - 1, 0);
    if (m_firstLabels.empty()) return {};
    return {m_recordOffsets[std::size_t(n)], n, index - m_firstLabels[std::size_t(n)] + 1};
}

} // namespace zorvel
