#include "MlgLogWriter.h"

#include "DatalogColumns.h"
#include "format/ScanClock.h"
#include "format/ScanRecord.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <limits>

namespace vexa {

namespace {

constexpr std::uint16_t FormatVersion = 1; // every reader reads 1, not all read 2
constexpr qsizetype HeaderSize = 22;
constexpr qsizetype DescriptorSize = 55;
constexpr qsizetype NameSize = 34;
constexpr qsizetype UnitsSize = 10;
constexpr std::uint8_t FloatField = 7; // a 32-bit float
constexpr std::uint8_t FloatStyle = 0;
constexpr std::uint8_t DataBlock = 0;
constexpr qsizetype BlockHeaderSize = 4; // type, counter, timestamp
constexpr qsizetype FieldSize = 4;

// Big-endian numbers and NUL-padded text appended to a byte array.
class BigEndianBytes {
public:
    explicit BigEndianBytes(QByteArray &bytes) : m_bytes(bytes) {}
    void u8(std::uint8_t value) { m_bytes.append(static_cast<char>(value)); }
    void u16(std::uint16_t value) { append(qToBigEndian(value)); }
    void u32(std::uint32_t value) { append(qToBigEndian(value)); }
    void f32(float value) { u32(std::bit_cast<std::uint32_t>(value)); }
    // Cut to `size` bytes, whatever a name or unit holds.
    void text(const QByteArray &value, qsizetype size)
    {
        m_bytes.append(value.left(size));
        m_bytes.append(size - std::min(size, value.size()), '\0');
    }

private:
    template <typename T> void append(T bigEndian)
    {
        m_bytes.append(reinterpret_cast<const char *>(&bigEndian), sizeof bigEndian);
    }
    QByteArray &m_bytes;
};

// A shown value is (raw + transform) x scale: floats go as they are.
void descriptor(BigEndianBytes &out, const QByteArray &name, const QByteArray &units, int digits)
{
    out.u8(FloatField);                                                  // 0
    out.text(name, NameSize);                                            // 1
    out.text(units, UnitsSize);                                          // 35
    out.u8(FloatStyle);                                                  // 45
    out.f32(1.0f);                                                       // 46 scale
    out.f32(0.0f);                                                       // 50 transform
    out.u8(static_cast<std::uint8_t>(static_cast<std::int8_t>(digits))); // 54
}

// Seconds since 1970, within what both signed and unsigned readers hold: a
// handheld clock never set (before 1970) reads as 1970.
std::uint32_t captureTime(const LogIndexEntry &entry)
{
    return static_cast<std::uint32_t>(std::clamp<qint64>(datalogStart(entry).toSecsSinceEpoch(), 0,
                                                         std::numeric_limits<std::int32_t>::max()));
}

} // namespace

ScanRun writeMlgLog(QIODevice &out, const LogIndexEntry &entry, ExportContext &context)
{
    const std::vector<DatalogChannel> channels = datalogChannels(entry);
    const auto fields = static_cast<qsizetype>(channels.size()) + 1;
    const QByteArray info = datalogDescription(entry);
    const qsizetype infoAt = HeaderSize + DescriptorSize * fields;

    QByteArray head;
    BigEndianBytes h(head);
    head.append("MLVLG", 6);                                     // 0, NUL included
    h.u16(FormatVersion);                                        // 6
    h.u32(captureTime(entry));                                   // 8
    h.u16(static_cast<std::uint16_t>(infoAt));                   // 12
    h.u32(static_cast<std::uint32_t>(infoAt + info.size() + 1)); // 14 data begins
    h.u16(static_cast<std::uint16_t>(FieldSize * fields));       // 18 one record's values
    h.u16(static_cast<std::uint16_t>(fields));                   // 20
    descriptor(h, TimeColumnName, TimeColumnUnits, TimeColumnDecimals);
    for (const DatalogChannel &ch : channels)
        descriptor(h, ch.name, ch.units, ch.format.decimals());
    head.append(info);
    head.append('\0');
    OutputSink sink(out);
    sink.write(head);

    ScanClock clock(entry.logTime);
    QByteArray block;
    return forEachScan(entry, context, [&](const ScanRecord &scan, int k) {
        const std::int32_t ms = clock.runningMs(scan.scanTime);
        block.clear();
        BigEndianBytes b(block);
        b.u8(DataBlock);
        b.u8(static_cast<std::uint8_t>(k - 1));                    // counts up, wrapping
        b.u16(static_cast<std::uint16_t>(std::int64_t{ms} * 100)); // 10 us units, wrapping
        b.f32(static_cast<float>(ms / 1000.0));
        for (const DatalogChannel &ch : channels)
            b.f32(datalogValue(scan, ch));
        std::uint8_t check = 0;
        for (qsizetype at = BlockHeaderSize; at < block.size(); ++at)
            check = static_cast<std::uint8_t>(check + static_cast<std::uint8_t>(block[at]));
        b.u8(check);
        sink.write(block);
        clock.advance(scan.scanTime);
    });
}

} // namespace vexa
