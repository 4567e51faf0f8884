// Scan records of a Rirod log: one record of the scan database per scan,
// with the scan's duration and ten channels of status and value.
#pragma once

#include "format/LogIndexEntry.h"

#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace vexa {

struct ScanRecord {
    std::int16_t scanTime = 0; // units of 10 ms
    std::array<std::int16_t, ChannelSlots> channelStatus{};
    std::array<float, ChannelSlots> channelValue{};
};

// Bytes 0-63 are read: channel 9 ends at byte 63.
constexpr std::size_t ScanRecordSize = 64;

// Channel status that marks a value the data link timed out on.
constexpr std::int16_t TimedOutStatus = 103;

// The 32-bit read at the offset, its bits taken as a single; returns the
// read's own result.
std::int32_t byteArrayToSingle(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record,
                               std::size_t offset, float &single);

// Throws RuntimeError for a record shorter than 64 bytes; `scan` (from 1)
// names the record in the message.
ScanRecord decodeScanRecord(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record,
                            int scan);
// A record as the logger writes it; bytes 0-1 hold its running scan number,
// which nothing reads.
std::vector<std::uint8_t> renderScanRecord(vexasync::ByteUtility &bytes, const ScanRecord &scan,
                                           std::int16_t scanNumber = 0);

// The scan's duration alone, for a record of any length: a record too
// short to hold it is the component's past-the-end error.
std::int16_t scanTimeIn(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record);

// One channel of a record at least ScanRecordSize long, read alone: what
// a pass over many scans that needs a few channels decodes.
std::int16_t channelStatusIn(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record,
                             int slot);
float channelValueIn(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record, int slot);

// ScanTime x 10, within the signed 16-bit range; an overflow error outside
// -3276..3276.
std::int16_t scanMilliseconds(std::int16_t scanTime);

// The records of one log: database indexes FirstScan - 1 onwards.
class ScanReader {
public:
    ScanReader(vexasync::RecordAdapter &data, vexasync::ByteUtility &bytes,
               const LogIndexEntry &entry);
    int count() const { return m_count; }
    // Scan k of the log, k from 1.
    ScanRecord read(int k);

private:
    vexasync::RecordAdapter &m_data;
    vexasync::ByteUtility &m_bytes;
    std::int32_t m_firstIndex;
    int m_count;
};

// Fixed-width text fields: each character's byte from position 0; the rest
// of the buffer keeps what it held. A longer text is a subscript error.
void stringToBytes(std::span<std::uint8_t> buffer, std::string_view text);
void clearBytes(std::span<std::uint8_t> buffer);

} // namespace vexa
