#include "GapLegend.h"

#include "PlotData.h"
#include "format/ScanRecord.h"

#include <algorithm>
#include <limits>

namespace vexa {

GapKind gapKind(std::int16_t status)
{
    if (status == TimedOutStatus)
        return GapKind::TimedOut;
    return status > 0 ? GapKind::Error : GapKind::Flagged;
}

namespace {

constexpr int Lowest = std::numeric_limits<std::int16_t>::min();

// The statuses a channel holds, lowest first, in one pass whatever their
// number.
std::vector<std::int16_t> distinctGaps(const std::vector<std::int16_t> &status)
{
    std::vector<bool> held(1 << 16, false);
    for (const std::int16_t s : status)
        held[static_cast<std::size_t>(s - Lowest)] = true;
    held[static_cast<std::size_t>(-Lowest)] = false; // 0 is no gap
    std::vector<std::int16_t> gaps;
    for (std::size_t i = 0; i < held.size(); ++i)
        if (held[i])
            gaps.push_back(static_cast<std::int16_t>(static_cast<int>(i) + Lowest));
    return gaps;
}

// `statuses` of one kind, lowest first.
QString kindName(GapKind kind, const std::vector<std::int16_t> &statuses)
{
    if (statuses.size() == 1)
        return statusReason(statuses.front());
    // The range and the count first: the legend cuts a long line short.
    const QString text = kind == GapKind::Error
                             ? QStringLiteral("E%1 to E%2: %3 errors the logger reported")
                             : QStringLiteral("S%1 to S%2: %3 statuses the logger flagged");
    return text.arg(statuses.front()).arg(statuses.back()).arg(statuses.size());
}

} // namespace

GapLegend::GapLegend(const std::vector<std::int16_t> &status)
{
    const std::vector<std::int16_t> gaps = distinctGaps(status);
    if (gaps.size() <= NamedStatuses) {
        m_named = gaps;
        for (const std::int16_t s : gaps)
            m_groups.push_back({gapKind(s), statusReason(s)});
        return;
    }
    std::array<std::vector<std::int16_t>, 3> byKind;
    for (const std::int16_t s : gaps)
        byKind[static_cast<std::size_t>(gapKind(s))].push_back(s);
    for (std::size_t k = 0; k < byKind.size(); ++k) {
        if (byKind[k].empty())
            continue;
        m_kinds[k] = m_groups.size();
        m_groups.push_back({static_cast<GapKind>(k), kindName(static_cast<GapKind>(k), byKind[k])});
    }
}

std::size_t GapLegend::groupOf(std::int16_t status) const
{
    if (m_named.empty())
        return m_kinds[static_cast<std::size_t>(gapKind(status))];
    return static_cast<std::size_t>(std::find(m_named.begin(), m_named.end(), status) -
                                    m_named.begin());
}

} // namespace vexa
