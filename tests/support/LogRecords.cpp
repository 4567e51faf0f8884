#include "LogRecords.h"

#include <bit>

namespace vexa::test {

namespace {

void put16(Bytes &b, std::size_t at, int value)
{
    b[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void putStamp(Bytes &b, const Stamp &s)
{
    put16(b, 0, s.second);
    put16(b, 2, s.minute);
    put16(b, 4, s.hour);
    put16(b, 6, s.day);
    put16(b, 8, s.month);
    put16(b, 10, s.year);
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
    for (int k = 0; k < 10; ++k)
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
        b.resize(18, 0);
    return b;
}

Bytes scanRecord(std::int16_t scanTime, const Channels &channels)
{
    Bytes b(64, 0);
    put16(b, 2, scanTime);
    for (int c = 0; c < 10; ++c) {
        put16(b, 4 + 6 * c, channels[c].status);
        const auto bits = std::bit_cast<std::uint32_t>(channels[c].value);
        for (int i = 0; i < 4; ++i)
            b[6 + 6 * c + i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
    }
    return b;
}

float scanMark(int position, int channel)
{
    return static_cast<float>(position * 10 + channel);
}

void addRirodLog(const TestHandheld &handheld, const RirodLogSpec &log)
{
    auto data = handheld.create("RirodData");
    const int firstScan = data->recordCount() + 1;
    std::vector<Bytes> scans;
    for (int k = 0; k < log.scans; ++k) {
        Channels channels;
        for (int c = 0; c < 10; ++c)
            channels[c].value = scanMark(firstScan + k, c);
        scans.push_back(scanRecord(log.scanTime, channels));
    }
    handheld.add("RirodData", scans);
    handheld.add("RirodIndex",
                 {rirodIndexRecord(log.start, log.scans, firstScan, log.params, log.text)});
}

} // namespace vexa::test
