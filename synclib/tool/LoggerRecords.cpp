#include "LoggerRecords.h"

#include <bit>

namespace logger {

namespace {

void put16(Bytes &b, std::size_t at, int value)
{
    b[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void putStamp(Bytes &b, const Stamp &s)
{
    const int fields[] = {s.second, s.minute, s.hour, s.day, s.month, s.year};
    for (std::size_t i = 0; i < 6; ++i)
        put16(b, 2 * i, fields[i]);
}

void putText(Bytes &b, std::string_view text)
{
    b.insert(b.end(), text.begin(), text.end());
    b.push_back(0);
}

} // namespace

Bytes rirodIndexRecord(const Stamp &start, int scanCount, int firstScan, const Params &params,
                       std::string_view text)
{
    Bytes b(39, 0);
    putStamp(b, start);
    put16(b, 14, scanCount);
    put16(b, 16, firstScan);
    for (std::size_t k = 0; k < params.size(); ++k)
        b[18 + 2 * k] = params[k];
    putText(b, text);
    return b;
}

Bytes textLogRecord(const Stamp &start, std::string_view text)
{
    Bytes b(14, 0);
    putStamp(b, start);
    putText(b, text);
    if (b.size() < 18)
        b.resize(18, 0); // the search reads the two fields at 14 and 16
    return b;
}

Bytes scanRecord(std::int16_t scanTime, const Channels &channels, std::int16_t scanNumber)
{
    Bytes b(64, 0);
    put16(b, 0, scanNumber);
    put16(b, 2, scanTime);
    for (std::size_t c = 0; c < channels.size(); ++c) {
        put16(b, 4 + 6 * c, channels[c].status);
        const auto bits = std::bit_cast<std::uint32_t>(channels[c].value);
        for (std::size_t i = 0; i < 4; ++i)
            b[6 + 6 * c + i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
    }
    return b;
}

} // namespace logger
