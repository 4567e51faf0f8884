// A Rirod log made by hand, scan by scan, as the tables' tests read it.
#pragma once

#include "support/LogRecords.h"
#include "support/TestHandheld.h"

#include "analysis/LogbookTable.h"
#include "format/ScanRecord.h"

#include <array>
#include <span>
#include <vector>

namespace vexa::test {

// Slots 0-5: RPM, MAP, LFT1, ECT, TPS, CLSD.
inline constexpr Params Usual{15, 9, 6, 2, 18, 1};
enum Slot { Rpm, Map, Lft, Ect, Tps, Clsd };

struct Scan {
    std::int16_t time = 10; // 0.1 s
    float rpm = 800, map = 10, lft = 0, ect = 180, tps = 5, clsd = 1;
    int gap = -1; // a slot whose status is not 0
};

struct HandLog {
    std::vector<Bytes> bytes;
    std::vector<std::span<const std::uint8_t>> records;
    std::array<std::int16_t, 11> params{};

    HandLog(const std::vector<Scan> &scans, const Params &p = Usual)
    {
        for (std::size_t c = 0; c < p.size(); ++c)
            params[c] = p[c];
        for (const Scan &s : scans) {
            Channels ch;
            const float values[] = {s.rpm, s.map, s.lft, s.ect, s.tps, s.clsd};
            for (int c = 0; c < 6; ++c)
                ch[std::size_t(c)] = {std::int16_t(c == s.gap ? TimedOutStatus : 0), values[c]};
            bytes.push_back(scanRecord(s.time, ch));
        }
        for (const Bytes &b : bytes)
            records.emplace_back(b);
    }
};

// The table of `scans` as a window's source makes it: log 7 left out when
// it lacks a channel the request needs.
inline LogbookTable handTable(const std::vector<Scan> &scans, const TableRequest &request)
{
    TableBuilder builder(request, componentBytes());
    const HandLog log(scans);
    LogbookTable made;
    if (const std::vector<std::string> lacking = builder.addLog(log.params, log.records);
        !lacking.empty()) {
        made.leftOut.push_back({7, QStringLiteral("lacks %1").arg(lacking.front().c_str())});
        return made;
    }
    made.logsUsed = 1;
    made.table = builder.table();
    made.points = builder.counted();
    return made;
}

} // namespace vexa::test
