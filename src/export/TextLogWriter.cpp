#include "TextLogWriter.h"

#include "format/ScanClock.h"
#include "format/ScanRecord.h"
#include "format/ParamCatalogue.h"
#include "format/ValueFormat.h"
#include "format/Cp1252.h"

#include <charconv>
#include <string>

namespace vexa {

namespace {

constexpr qsizetype CellWidth = 7;
constexpr qsizetype TimeWidth = 10;
constexpr qsizetype LeadWidth = 21; // time and milliseconds

void padTo(QByteArray &line, qsizetype width)
{
    if (line.size() < width)
        line.append(width - line.size(), ' ');
}

// Appends one field: after a comma in CSV, filled out to 7 in TXT.
void appendCell(QByteArray &line, std::string_view cell, TextFormat format)
{
    if (format == TextFormat::Csv) {
        line.append(',');
        line.append(cell.data(), qsizetype(cell.size()));
    } else {
        const qsizetype start = line.size();
        line.append(cell.data(), qsizetype(cell.size()));
        padTo(line, start + CellWidth);
    }
}

void appendNumber(QByteArray &line, int value)
{
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(digits, end - digits);
}

QByteArray dateLine(const LogIndexEntry &entry, const DateText &dates)
{
    return cp1252::encode(dates.dateTime(entry.logDate, entry.logTime)) + "\r\n";
}

QByteArray textLine(const LogIndexEntry &entry)
{
    return cp1252::encode(entry.text) + "\r\n";
}

struct Channel {
    std::string_view code;
    ValueFormat format;
};

} // namespace

ScanRun writeScanText(QIODevice &out, const LogIndexEntry &entry, TextFormat format,
                      ExportContext &context)
{
    std::vector<Channel> channels;
    for (int c = 0; c < ChannelSlots; ++c) {
        const std::string_view code = paramNumberToCode(entry.paramCodes[c]);
        channels.push_back({code, ValueFormat(code, context.dates.locale())});
    }
    const bool csv = format == TextFormat::Csv;

    OutputSink sink(out);
    sink.write(dateLine(entry, context.dates));
    sink.write(textLine(entry));
    const auto heading = [&](const char *csvLead, const char *txtLead, auto field) {
        QByteArray line(csv ? csvLead : txtLead);
        for (const Channel &ch : channels)
            appendCell(line, field(ch.code), format);
        sink.write(line + "\r\n");
    };
    heading("Time,Scan Time", "Time      Scan Time  ", [](std::string_view code) { return code; });
    heading("HH:MM:SS,mS", "HH:MM:SS  mS         ", paramCodeToUnits);
    if (csv)
        heading("Time of day, Milliseconds to complete this scan", "", paramCodeToDescription);
    sink.write("\r\n", 2);

    ScanClock clock(entry.logTime);
    QByteArray line;
    return forEachScan(entry, context, [&](const ScanRecord &scan, int) {
        const int ms = scanMilliseconds(scan.scanTime);
        line.clear();
        char time[8];
        clock.timeOfDay(time);
        line.append(time, sizeof time);
        if (csv) {
            line.append(',');
            appendNumber(line, ms);
        } else {
            padTo(line, TimeWidth);
            appendNumber(line, ms);
            padTo(line, LeadWidth);
        }
        for (int c = 0; c < ChannelSlots; ++c) {
            const std::int16_t status = scan.channelStatus[c];
            if (status == TimedOutStatus) {
                appendCell(line, "T.O.", format);
            } else if (status > 0) {
                appendCell(line, "E" + std::to_string(status), format);
            } else {
                appendCell(line, channels[c].format.format(scan.channelValue[c]), format);
            }
        }
        line.append("\r\n");
        sink.write(line);
        clock.advance(scan.scanTime);
    });
}

void writeReportText(QIODevice &out, const LogIndexEntry &entry, const DateText &dates)
{
    OutputSink sink(out);
    sink.write(dateLine(entry, dates));
    sink.write(textLine(entry));
}

} // namespace vexa
