#include "DeletionPlan.h"

#include <algorithm>

namespace vexa {

std::vector<int> deletionOrder(const std::vector<int> &selectedLines)
{
    std::vector<int> order = selectedLines;
    std::sort(order.begin(), order.end(), std::greater<>());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    return order;
}

ScanRange scanRange(const LogPlace &log)
{
    if (log.scanCount <= 0)
        return {std::max(log.firstScan - 1, 0), 0};
    return {log.firstScan - 1, log.scanCount};
}

std::vector<std::int32_t> repairedFirstScans(const std::vector<LogPlace> &logs,
                                             const std::vector<std::int32_t> &removed)
{
    std::vector<std::int32_t> first(logs.size());
    std::int64_t shift = 0;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        first[i] = static_cast<std::int32_t>(logs[i].firstScan - shift);
        shift += i < removed.size() ? removed[i] : 0;
    }
    return first;
}

} // namespace vexa
