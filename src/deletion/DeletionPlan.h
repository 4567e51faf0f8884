// Which scan records a log owns and where each remaining log's scans start
// once some logs are gone. Pure arithmetic: no handheld, no window.
#pragma once

#include "vexasync/VexaSync.h"

#include <cstdint>
#include <vector>

namespace vexa {

// A log as its index record places it in the scan database.
struct LogPlace {
    vexasync::RecordId recordId = 0;
    std::int32_t firstScan = 0; // 1-based
    std::int32_t scanCount = 0;
};

// The lines to delete, from the last to the first: every deletion lies at
// or after the positions still to come, so those stay valid.
std::vector<int> deletionOrder(const std::vector<int> &selectedLines);

// The 0-based index range of a log's scan records (count 0 when it has
// none).
struct ScanRange {
    std::int32_t start = 0;
    std::int32_t count = 0;
};
ScanRange scanRange(const LogPlace &log);

// The first positions of the logs after each log i lost removed[i] scan
// records: every later log moves down by what each earlier one lost.
std::vector<std::int32_t> repairedFirstScans(const std::vector<LogPlace> &logs,
                                             const std::vector<std::int32_t> &removed);

} // namespace vexa
