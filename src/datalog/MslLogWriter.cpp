#include "MslLogWriter.h"

#include "DatalogColumns.h"
#include "format/ScanClock.h"
#include "format/ScanRecord.h"

#include <charconv>
#include <cstdlib>

namespace vexa {

namespace {

// Milliseconds as seconds with three decimals, exactly: no float between.
static_assert(TimeColumnDecimals == 3);
void appendSeconds(QByteArray &line, std::int32_t ms)
{
    if (ms < 0)
        line.append('-');
    const std::int64_t magnitude = std::abs(std::int64_t{ms});
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude / 1000).ptr;
    line.append(digits, end - digits);
    const auto fraction = static_cast<int>(magnitude % 1000);
    line.append('.');
    line.append(static_cast<char>('0' + fraction / 100));
    line.append(static_cast<char>('0' + fraction / 10 % 10));
    line.append(static_cast<char>('0' + fraction % 10));
}

} // namespace

ScanRun writeMslLog(QIODevice &out, const LogIndexEntry &entry, ExportContext &context)
{
    const std::vector<DatalogChannel> channels = datalogChannels(entry);
    OutputSink sink(out);
    // Readers skip lines that start with a quote, and some find the column
    // names by their line number: exactly two such lines.
    sink.write('"' + datalogDescription(entry) + "\"\r\n");
    sink.write("\"Capture Date: " +
               datalogStart(entry).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1() +
               "\"\r\n");
    QByteArray names(TimeColumnName), units(TimeColumnUnits);
    for (const DatalogChannel &ch : channels) {
        names += '\t' + ch.name;
        units += '\t' + ch.units;
    }
    sink.write(names + "\r\n");
    sink.write(units + "\r\n");

    ScanClock clock(entry.logTime);
    QByteArray line;
    return forEachScan(entry, context, [&](const ScanRecord &scan, int) {
        line.clear();
        appendSeconds(line, clock.runningMs(scan.scanTime));
        for (const DatalogChannel &ch : channels) {
            line.append('\t');
            const std::string value = ch.format.format(datalogValue(scan, ch));
            line.append(value.data(), qsizetype(value.size()));
        }
        line.append("\r\n");
        sink.write(line);
        clock.advance(scan.scanTime);
    });
}

} // namespace vexa
