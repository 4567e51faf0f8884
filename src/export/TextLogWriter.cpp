#include "TextLogWriter.h"

#include "format/Cp1252.h"
#include "format/ParamCatalogue.h"
#include "format/ScanClock.h"
#include "format/ScanRecord.h"
#include "format/ValueFormat.h"

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

} // namespace

ScanTextWriter::ScanTextWriter(QIODevice &out, const LogIndexEntry &entry, TextFormat format,
                               const DateText &dates)
    : m_sink(out), m_format(format), m_clock(entry.logTime)
{
    for (int c = 0; c < ChannelSlots; ++c) {
        const std::string_view code = paramNumberToCode(entry.paramCodes[c]);
        m_channels.push_back({code, ValueFormat(code, dates.locale())});
    }
    const bool csv = format == TextFormat::Csv;
    m_sink.write(dateLine(entry, dates));
    m_sink.write(textLine(entry));
    const auto heading = [&](const char *csvLead, const char *txtLead, auto field) {
        QByteArray line(csv ? csvLead : txtLead);
        for (const Channel &ch : m_channels)
            appendCell(line, field(ch.code), format);
        m_sink.write(line + "\r\n");
    };
    heading("Time,Scan Time", "Time      Scan Time  ", [](std::string_view code) { return code; });
    heading("HH:MM:SS,mS", "HH:MM:SS  mS         ", paramCodeToUnits);
    if (csv)
        heading("Time of day, Milliseconds to complete this scan", "", paramCodeToDescription);
    m_sink.write("\r\n", 2);
}

void ScanTextWriter::write(const ScanRecord &scan)
{
    const int ms = scanMilliseconds(scan.scanTime);
    m_line.clear();
    char time[8];
    m_clock.timeOfDay(time);
    m_line.append(time, sizeof time);
    if (m_format == TextFormat::Csv) {
        m_line.append(',');
        appendNumber(m_line, ms);
    } else {
        padTo(m_line, TimeWidth);
        appendNumber(m_line, ms);
        padTo(m_line, LeadWidth);
    }
    for (int c = 0; c < ChannelSlots; ++c) {
        const std::int16_t status = scan.channelStatus[c];
        if (status == TimedOutStatus) {
            appendCell(m_line, "T.O.", m_format);
        } else if (status > 0) {
            appendCell(m_line, "E" + std::to_string(status), m_format);
        } else {
            appendCell(m_line, m_channels[c].format.format(scan.channelValue[c]), m_format);
        }
    }
    m_line.append("\r\n");
    m_sink.write(m_line);
    m_clock.advance(scan.scanTime);
}

ScanRun writeScanText(QIODevice &out, const LogIndexEntry &entry, TextFormat format,
                      ExportContext &context)
{
    ScanTextWriter writer(out, entry, format, context.dates);
    return forEachScan(entry, context, [&](const ScanRecord &scan, int) { writer.write(scan); });
}

void writeReportText(QIODevice &out, const LogIndexEntry &entry, const DateText &dates)
{
    OutputSink sink(out);
    sink.write(dateLine(entry, dates));
    sink.write(textLine(entry));
}

} // namespace vexa
