#include "CellTable.h"

#include "core/RuntimeError.h"
#include "format/ParamCatalogue.h"
#include "format/ScanRecord.h"

#include <algorithm>
#include <cmath>

namespace vexa {

namespace {

constexpr double SecondsPerScanTime = 0.01;

// The first slot carrying the code's parameter; -1 for none.
int slotOf(const std::array<std::int16_t, 11> &paramCodes, std::string_view code)
{
    const std::int16_t number = findParam(code)->number;
    for (int c = 0; c < ChannelSlots; ++c)
        if (paramCodes[std::size_t(c)] == number)
            return c;
    return -1;
}

// One condition's channel within one log, with what its rate needs of the
// scan before.
struct ConditionState {
    const ChannelCondition *condition;
    int slot;
    bool previousGood = false; // the previous scan's value was read and its duration > 0
    float previousValue = 0;
    double previousSeconds = 0;
};

} // namespace

double CellStats::stat(CellStat s) const
{
    switch (s) {
    case CellStat::Mean:
        return sum / count;
    case CellStat::Min:
        return min;
    case CellStat::Max:
        return max;
    case CellStat::Count:
        return count;
    }
    return 0;
}

TableBuilder::TableBuilder(TableRequest request, vexasync::ByteUtility &bytes)
    : m_request(std::move(request)), m_bytes(bytes)
{
    for (const std::string *code : {&m_request.x, &m_request.y, &m_request.value})
        checkChannelCode(*code);
}

std::vector<std::string>
TableBuilder::addLog(const std::array<std::int16_t, 11> &paramCodes,
                     std::span<const std::span<const std::uint8_t>> records)
{
    std::vector<std::string> lacking;
    const auto need = [&](const std::string &code) {
        const int slot = slotOf(paramCodes, code);
        if (slot < 0 && std::find(lacking.begin(), lacking.end(), code) == lacking.end())
            lacking.push_back(code);
        return slot;
    };
    const int xSlot = need(m_request.x), ySlot = need(m_request.y), vSlot = need(m_request.value);
    std::vector<ConditionState> conditions;
    for (const ChannelCondition &c : m_request.conditions)
        conditions.push_back({&c, need(c.code)});
    if (!lacking.empty())
        return lacking;

    const std::size_t before = m_counted.size();
    try {
        int k = 0;
        for (const std::span<const std::uint8_t> record : records) {
            ++k;
            if (record.size() < ScanRecordSize)
                decodeScanRecord(m_bytes, record, k); // throws, naming the scan
            bool counts = true;
            double seconds = -1;
            for (ConditionState &s : conditions) {
                const bool good = channelStatusIn(m_bytes, record, s.slot) == 0;
                const float value = good ? channelValueIn(m_bytes, record, s.slot) : 0.0f;
                if (!s.condition->isRate()) {
                    counts = counts && good && s.condition->holds(value);
                    continue;
                }
                counts = counts && good && s.previousGood &&
                         s.condition->holds((double(value) - double(s.previousValue)) /
                                            s.previousSeconds);
                if (seconds < 0)
                    seconds = scanTimeIn(m_bytes, record) * SecondsPerScanTime;
                // A duration of 0 or less gives the next scan no rate.
                s.previousGood = good && seconds > 0;
                s.previousValue = value;
                s.previousSeconds = seconds;
            }
            if (!counts || channelStatusIn(m_bytes, record, xSlot) != 0 ||
                channelStatusIn(m_bytes, record, ySlot) != 0 ||
                channelStatusIn(m_bytes, record, vSlot) != 0)
                continue;
            const CountedScan scan{channelValueIn(m_bytes, record, xSlot),
                                   channelValueIn(m_bytes, record, ySlot),
                                   channelValueIn(m_bytes, record, vSlot)};
            if (std::isfinite(scan.x) && std::isfinite(scan.y) && std::isfinite(scan.value))
                m_counted.push_back(scan);
        }
    } catch (...) {
        m_counted.resize(before);
        throw;
    }
    return {};
}

std::optional<CellTable> TableBuilder::table() const
{
    const auto axis = [&](const std::optional<Breakpoints> &given, const std::string &code,
                          float CountedScan::*field) -> Breakpoints {
        if (given)
            return *given;
        if (std::optional<Breakpoints> usual = usualBreakpoints(code))
            return *usual;
        if (m_counted.empty())
            return {};
        const auto [lo, hi] = std::minmax_element(
            m_counted.begin(), m_counted.end(),
            [field](const CountedScan &a, const CountedScan &b) { return a.*field < b.*field; });
        return evenBreakpoints((*lo).*field, (*hi).*field);
    };
    CellTable t{m_request.x,
                m_request.y,
                m_request.value,
                axis(m_request.xAxis, m_request.x, &CountedScan::x),
                axis(m_request.yAxis, m_request.y, &CountedScan::y),
                {},
                m_request.minHits};
    if (t.xAxis.empty() || t.yAxis.empty())
        return std::nullopt;
    t.cells.resize(t.xAxis.size() * t.yAxis.size());
    for (const CountedScan &s : m_counted) {
        CellStats &cell = t.cells[cellOf(t.yAxis, s.y) * t.xAxis.size() + cellOf(t.xAxis, s.x)];
        ++cell.count;
        cell.sum += s.value;
        cell.min = std::min<double>(cell.min, s.value);
        cell.max = std::max<double>(cell.max, s.value);
    }
    return t;
}

} // namespace vexa
