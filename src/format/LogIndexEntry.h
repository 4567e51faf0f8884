// One saved log as the search read it from its index record, and the
// window's array of them: entry i belongs to list line i.
#pragma once

#include "vexasync/VexaSync.h"

#include <QString>

#include <array>
#include <cstdint>

namespace vexa {

struct LogIndexEntry {
    QString text;       // all lines, as stored
    double logDate = 0; // date value, time part zero
    double logTime = 0; // date value, date part zero
    std::int32_t paramCount = 0;
    std::int32_t scanCount = 0;
    std::array<std::int16_t, 11> paramCodes{}; // slots 0..9; 10 is never written
    std::int32_t firstScan = 0;                // 1-based position in the scan database
    vexasync::RecordId recordId = 0;
};

constexpr int MaxListedLogs = 100;
constexpr int ChannelSlots = 10;

// 101 entries: one more than the list can hold.
using SavedLogs = std::array<LogIndexEntry, MaxListedLogs + 1>;

} // namespace vexa
