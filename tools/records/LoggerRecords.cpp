#include "LoggerRecords.h"

#include "format/IndexRecord.h"
#include "format/ScanRecord.h"

namespace logger {

namespace {

// Every program that builds records has the component linked in, and some
// have no QCoreApplication to find its folder by.
vexasync::ByteUtility &handheldBytes()
{
    static const std::unique_ptr<vexasync::ByteUtility> bytes =
        vexasync_component(vexasync::ApiVersion)->createByteUtility();
    return *bytes;
}

vexa::LogStart logStart(const Stamp &s)
{
    const auto field = [](int value) { return static_cast<std::int16_t>(value); };
    return {field(s.second), field(s.minute), field(s.hour),
            field(s.day),    field(s.month),  field(s.year)};
}

} // namespace

Bytes rirodIndexRecord(const Stamp &start, int scanCount, int firstScan, const Params &params,
                       std::string_view text)
{
    return vexa::IndexRecord::rirodLog(logStart(start), static_cast<std::int16_t>(scanCount),
                                       static_cast<std::int16_t>(firstScan), params, text)
        .render(handheldBytes());
}

Bytes textLogRecord(const Stamp &start, std::string_view text)
{
    return vexa::IndexRecord::textLog(vexa::LogKind::LTrim, logStart(start), text)
        .render(handheldBytes());
}

Bytes scanRecord(std::int16_t scanTime, const Channels &channels, std::int16_t scanNumber)
{
    vexa::ScanRecord scan;
    scan.scanTime = scanTime;
    for (std::size_t c = 0; c < channels.size(); ++c) {
        scan.channelStatus[c] = channels[c].status;
        scan.channelValue[c] = channels[c].value;
    }
    return vexa::renderScanRecord(handheldBytes(), scan, scanNumber);
}

} // namespace logger
