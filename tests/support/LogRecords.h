// Index and scan records as the handheld logger writes them (big-endian).
#pragma once

#include "QtPrinters.h"
#include "TestHandheld.h"

#include <array>
#include <string_view>

namespace vexa::test {

struct Stamp {
    int year, month, day, hour, minute, second;
};

struct Channel {
    std::int16_t status = 0;
    float value = 0;
};
using Channels = std::array<Channel, 10>;
using Params = std::array<std::uint8_t, 10>;

Bytes rirodIndexRecord(const Stamp &start, int scanCount, int firstScan, const Params &params,
                       std::string_view text);
Bytes textLogRecord(const Stamp &start, std::string_view text);
Bytes scanRecord(std::int16_t scanTime, const Channels &channels);

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
