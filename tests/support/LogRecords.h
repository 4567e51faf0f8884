// Index and scan records as the handheld logger writes them (big-endian).
#pragma once

#include "QtPrinters.h"
#include "TestHandheld.h"

#include "LoggerRecords.h"

#include <array>
#include <string_view>

namespace vexa::test {

using logger::Channel;
using logger::Channels;
using logger::Params;
using logger::rirodIndexRecord;
using logger::scanRecord;
using logger::Stamp;
using logger::textLogRecord;

// Appends a Rirod log whose scans follow those already in the scan database;
// scan k of the log carries `value(k, c)` in channel c.
struct RirodLogSpec {
    Stamp start{2004, 3, 7, 14, 5, 9};
    std::string text = "Log";
    Params params{15};
    int scans = 0;
    std::int16_t scanTime = 10;
};
void addRirodLog(const TestHandheld &handheld, const RirodLogSpec &log);
// A value unique to scan k of a log starting at firstScan, channel c.
float scanMark(int position, int channel);

} // namespace vexa::test
