// Records as the handheld logger writes them, for the demo handheld, the
// tests and the benchmarks. The program's record layouts render them.
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

// A Rirod log's index record.
Bytes rirodIndexRecord(const Stamp &start, int scanCount, int firstScan, const Params &params,
                       std::string_view text);
// The index record of a log of any of the three other kinds.
Bytes textLogRecord(const Stamp &start, std::string_view text);
// A scan record; nothing reads its scan number.
Bytes scanRecord(std::int16_t scanTime, const Channels &channels, std::int16_t scanNumber = 0);

} // namespace logger
