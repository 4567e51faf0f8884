#include "ScanRecord.h"

#include "core/RuntimeError.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vexa {

namespace {

// The component writes 16 bits at a time; its own 32-bit read decides which
// half goes first.
void writeInt32(vexasync::ByteUtility &bytes, std::span<std::uint8_t> record, std::size_t offset,
                std::int32_t value)
{
    const auto high = static_cast<std::int16_t>(value >> 16);
    const auto low = static_cast<std::int16_t>(value);
    bytes.writeInt16(record, offset, true, high);
    bytes.writeInt16(record, offset + 2, true, low);
    if (bytes.readInt32(record, offset, true) != value) {
        bytes.writeInt16(record, offset, true, low);
        bytes.writeInt16(record, offset + 2, true, high);
    }
}

} // namespace

std::int32_t byteArrayToSingle(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record,
                               std::size_t offset, float &single)
{
    const std::int32_t raw = bytes.readInt32(record, offset, true);
    single = std::bit_cast<float>(raw);
    return raw;
}

std::int16_t scanTimeIn(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record)
{
    return bytes.readInt16(record, 2, true); // 2-3, after the scan number
}

std::int16_t channelStatusIn(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record,
                             int slot)
{
    return bytes.readInt16(record, 4 + 6 * static_cast<std::size_t>(slot), true);
}

float channelValueIn(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record, int slot)
{
    float value = 0;
    byteArrayToSingle(bytes, record, 6 + 6 * static_cast<std::size_t>(slot), value);
    return value;
}

ScanRecord decodeScanRecord(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record,
                            int scan)
{
    if (record.size() < ScanRecordSize)
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Scan record %1 of the log is %2 bytes long; a scan "
                                          "record has %3")
                               .arg(scan)
                               .arg(record.size())
                               .arg(ScanRecordSize));
    // 0-1 scan number (not read); 2-3 scan time; channel c: 4+6c status, 6+6c value
    ScanRecord r;
    r.scanTime = scanTimeIn(bytes, record);
    for (int c = 0; c < ChannelSlots; ++c) {
        r.channelStatus[std::size_t(c)] = channelStatusIn(bytes, record, c);
        r.channelValue[std::size_t(c)] = channelValueIn(bytes, record, c);
    }
    return r;
}

std::vector<std::uint8_t> renderScanRecord(vexasync::ByteUtility &bytes, const ScanRecord &scan,
                                           std::int16_t scanNumber)
{
    std::vector<std::uint8_t> record(ScanRecordSize, 0);
    bytes.writeInt16(record, 0, true, scanNumber);
    bytes.writeInt16(record, 2, true, scan.scanTime);
    for (std::size_t c = 0; c < ChannelSlots; ++c) {
        bytes.writeInt16(record, 4 + 6 * c, true, scan.channelStatus[c]);
        writeInt32(bytes, record, 6 + 6 * c, std::bit_cast<std::int32_t>(scan.channelValue[c]));
    }
    return record;
}

std::int16_t scanMilliseconds(std::int16_t scanTime)
{
    const int ms = scanTime * 10;
    if (ms < -32768 || ms > 32767)
        throw RuntimeError(
            ErrorNumber::Overflow,
            QStringLiteral("Overflow: a scan time of %1 (x 10 ms) is out of range").arg(scanTime));
    return static_cast<std::int16_t>(ms);
}

ScanReader::ScanReader(vexasync::RecordAdapter &data, vexasync::ByteUtility &bytes,
                       const LogIndexEntry &entry)
    : m_data(data), m_bytes(bytes), m_firstIndex(entry.firstScan - 1),
      m_count(std::max(entry.scanCount, 0))
{}

ScanRecord ScanReader::read(int k)
{
    const vexasync::Record record = m_data.readByIndex(m_firstIndex + k - 1);
    return decodeScanRecord(m_bytes, record.bytes, k);
}

void stringToBytes(std::span<std::uint8_t> buffer, std::string_view text)
{
    if (text.size() > buffer.size())
        throw RuntimeError(
            ErrorNumber::SubscriptOutOfRange,
            QStringLiteral("Subscript out of range: \"%1\" is longer than its %2-byte field")
                .arg(QLatin1String(text.data(), qsizetype(text.size())))
                .arg(buffer.size()));
    std::memcpy(buffer.data(), text.data(), text.size());
}

void clearBytes(std::span<std::uint8_t> buffer)
{
    std::fill(buffer.begin(), buffer.end(), 0);
}

} // namespace vexa
