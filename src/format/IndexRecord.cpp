#include "IndexRecord.h"

#include "core/RuntimeError.h"
#include "format/Cp1252.h"
#include "format/OleDate.h"

#include <algorithm>

namespace vexa {

namespace {

constexpr std::size_t StartEnd = 12;
constexpr std::size_t ScanCountAt = 14;
constexpr std::size_t FirstScanAt = 16;
constexpr std::size_t ParamsAt = 18;
constexpr std::size_t ParamsEnd = ParamsAt + 2 * ChannelSlots;
constexpr std::size_t RirodTextAt = 39;
// The other kinds' text starts where a Rirod log's scan fields are; parse
// reads those fields all the same when the record holds them.
constexpr std::size_t OtherTextAt = 14;
constexpr std::size_t TextLimit = 999;

// What parse reads of a text.
std::string_view readable(std::string_view text)
{
    return text.substr(0, std::min(text.find('\0'), TextLimit));
}

std::vector<std::uint8_t> laidOut(std::size_t textAt, std::string_view text, std::size_t least)
{
    std::vector<std::uint8_t> bytes(std::max(textAt + text.size() + 1, least), 0);
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(textAt));
    return bytes;
}

} // namespace

IndexRecord::IndexRecord(LogKind kind, std::vector<std::uint8_t> bytes)
    : m_kind(kind), m_bytes(std::move(bytes))
{}

IndexRecord IndexRecord::rirodLog(const LogStart &start, std::int16_t scanCount,
                                  std::int16_t firstScan, const ParamNumbers &params,
                                  std::string_view text)
{
    IndexRecord r(LogKind::Rirod, laidOut(RirodTextAt, text, 0));
    r.m_start = start;
    r.m_scanCount = scanCount;
    r.m_firstScan = firstScan;
    r.m_params = params;
    r.m_text = readable(text);
    return r;
}

IndexRecord IndexRecord::textLog(LogKind kind, const LogStart &start, std::string_view text)
{
    // At least as long as a search reads: it reads the fields at 14 and 16.
    IndexRecord r(kind, laidOut(OtherTextAt, text, ScanFieldsEnd));
    r.m_start = start;
    r.m_text = readable(text);
    return r;
}

IndexRecord IndexRecord::parse(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record,
                               LogKind kind, int logNumber)
{
    IndexRecord r(kind, {record.begin(), record.end()});
    const std::size_t textAt = r.textStart();
    if (record.size() < textAt)
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("The index record of log %1 is %2 bytes long; a log of "
                                          "this kind needs at least %3")
                               .arg(logNumber)
                               .arg(record.size())
                               .arg(textAt));
    const auto field = [&](std::size_t offset) { return bytes.readInt16(record, offset, true); };
    r.m_start = {field(0), field(2), field(4), field(6), field(8), field(10)};
    if (record.size() >= ScanFieldsEnd) {
        r.m_scanCount = field(ScanCountAt);
        r.m_firstScan = field(FirstScanAt);
    }
    if (kind == LogKind::Rirod)
        for (std::size_t k = 0; k < ChannelSlots; ++k)
            r.m_params[k] = record[ParamsAt + 2 * k];
    r.m_text = bytes.readText(record, textAt, TextLimit);
    return r;
}

std::vector<std::uint8_t> IndexRecord::render(vexasync::ByteUtility &bytes) const
{
    std::vector<std::uint8_t> record = m_bytes;
    const auto put = [&](std::size_t offset, std::int16_t value) {
        bytes.writeInt16(record, offset, true, value);
    };
    put(0, m_start.second);
    put(2, m_start.minute);
    put(4, m_start.hour);
    put(6, m_start.day);
    put(8, m_start.month);
    put(10, m_start.year);
    if (m_kind == LogKind::Rirod) {
        put(ScanCountAt, m_scanCount);
        put(FirstScanAt, m_firstScan);
        for (std::size_t k = 0; k < ChannelSlots; ++k)
            record[ParamsAt + 2 * k] = m_params[k];
    }
    std::copy(m_text.begin(), m_text.end(),
              record.begin() + static_cast<std::ptrdiff_t>(textStart()));
    return record;
}

LogIndexEntry IndexRecord::entry(vexasync::RecordId recordId) const
{
    LogIndexEntry e;
    e.scanCount = m_scanCount;
    e.firstScan = m_firstScan;
    e.text = cp1252::decode(m_text);
    e.logDate = oledate::fromDate(m_start.year, m_start.month, m_start.day);
    e.logTime = oledate::fromTime(m_start.hour, m_start.minute, m_start.second);
    e.recordId = recordId;
    if (m_kind == LogKind::Rirod) {
        std::copy(m_params.begin(), m_params.end(), e.paramCodes.begin());
        e.paramCount = ChannelSlots;
    }
    return e;
}

bool IndexRecord::isSameLog(const IndexRecord &other) const
{
    if (m_kind != other.m_kind || m_bytes.size() != other.m_bytes.size() ||
        m_start != other.m_start || m_text != other.m_text)
        return false;
    if (m_kind == LogKind::Rirod &&
        (m_scanCount != other.m_scanCount || m_params != other.m_params))
        return false;
    for (std::size_t i = 0; i < m_bytes.size(); ++i)
        if (!isNamed(i) && m_bytes[i] != other.m_bytes[i])
            return false;
    return true;
}

std::int16_t IndexRecord::firstScanIn(vexasync::ByteUtility &bytes,
                                      std::span<const std::uint8_t> record)
{
    return bytes.readInt16(record, FirstScanAt, true);
}

std::int16_t IndexRecord::scanCountIn(vexasync::ByteUtility &bytes,
                                      std::span<const std::uint8_t> record)
{
    return bytes.readInt16(record, ScanCountAt, true);
}

void IndexRecord::setFirstScanIn(vexasync::ByteUtility &bytes, std::span<std::uint8_t> record,
                                 std::int16_t firstScan)
{
    bytes.writeInt16(record, FirstScanAt, true, firstScan);
}

std::size_t IndexRecord::textStart() const
{
    return m_kind == LogKind::Rirod ? RirodTextAt : OtherTextAt;
}

// The other kinds' scan fields are no fields of theirs: their bytes are the
// text's or no field's.
bool IndexRecord::isNamed(std::size_t offset) const
{
    if (offset < StartEnd || (offset >= textStart() && offset < textStart() + m_text.size()))
        return true;
    return m_kind == LogKind::Rirod &&
           (offset >= ScanCountAt &&
            (offset < ParamsAt || (offset < ParamsEnd && offset % 2 == 0)));
}

LogIndexEntry readIndexEntry(vexasync::ByteUtility &bytes, const vexasync::Record &record,
                             LogKind kind)
{
    return IndexRecord::parse(bytes, record.bytes, kind, record.index + 1).entry(record.id);
}

} // namespace vexa
