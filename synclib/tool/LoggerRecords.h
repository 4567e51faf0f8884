// Records as the handheld logger writes them (big-endian), for the demo
// handheld, the tests and the benchmarks.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace logger {

using Bytes = std::vector<std::uint8_t>;

struct Stamp {
    int year, month, day, hour, minute, second;
};

struct Channel {
    std::int16_t status = 0;
    float value = 0;
};
using Channels = std::array<Channel, 10>;
using Params = std::array<std::uint8_t, 10>; // parameter number per slot, 0 = empty

// Date and time at 0-11, scan count 14, first scan 16, parameters at
// 18, 20 .. 36, text from 39 with its zero.
Bytes rirodIndexRecord(const Stamp &start, int scanCount, int firstScan, const Params &params,
                       std::string_view text);
// Date and time, text from 14; at least 18 bytes.
Bytes textLogRecord(const Stamp &start, std::string_view text);
// 64 bytes: scan number, scan time, then status and value of ten channels.
Bytes scanRecord(std::int16_t scanTime, const Channels &channels, std::int16_t scanNumber = 0);

} // namespace logger
