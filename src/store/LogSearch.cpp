#include "LogSearch.h"

#include "format/OleDate.h"
#include "format/ParamCatalogue.h"
#include "format/Cp1252.h"
#include "core/RuntimeError.h"

#include <algorithm>

namespace vexa {

namespace {

constexpr std::size_t TextLimit = 999;
// The two 16-bit fields at 14 and 16 follow the text start of the other
// kinds: read them when the record holds them.
constexpr std::size_t CountFieldsEnd = 18;

} // namespace

LogIndexEntry readIndexEntry(vexasync::ByteUtility &bytes, const vexasync::Record &record,
                             LogKind kind)
{
    const LogKindInfo &info = logKindInfo(kind);
    const std::span<const std::uint8_t> b(record.bytes);
    const auto needed = static_cast<std::size_t>(info.textOffset);
    if (b.size() < needed)
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("The index record of log %1 is %2 bytes long; a log of "
                                          "this kind needs at least %3")
                               .arg(record.index + 1)
                               .arg(b.size())
                               .arg(needed));

    const auto field = [&](std::size_t offset) { return bytes.readInt16(b, offset, true); };
    // Bytes 0-11: second, minute, hour, day, month, year; 14-15 scan count;
    // 16-17 first scan; 18, 20 .. 36 parameter numbers; text at 39 (or 14).
    const int second = field(0), minute = field(2), hour = field(4);
    const int day = field(6), month = field(8), year = field(10);
    const bool hasCounts = b.size() >= CountFieldsEnd;
    LogIndexEntry entry;
    entry.scanCount = hasCounts ? field(14) : 0;
    entry.firstScan = hasCounts ? field(16) : 0;
    entry.text = cp1252::decode(bytes.readText(b, needed, TextLimit));
    entry.logDate = oledate::fromDate(year, month, day);
    entry.logTime = oledate::fromTime(hour, minute, second);
    entry.recordId = record.id;
    if (kind == LogKind::Rirod) {
        for (int k = 0; k < ChannelSlots; ++k)
            entry.paramCodes[k] = b[18 + 2 * k];
        entry.paramCount = ChannelSlots;
    }
    return entry;
}

void searchLogs(vexasync::RecordAdapter &index, vexasync::ByteUtility &bytes, LogKind kind,
                SearchListener &listener, int limit)
{
    listener.counted(std::min(index.recordCount(), limit));
    for (std::int32_t r = 0; r < index.recordCount() && r < limit; ++r)
        listener.found(r, readIndexEntry(bytes, index.readByIndex(r), kind));
}

QString firstLine(const QString &text)
{
    const qsizetype end = text.indexOf(QStringLiteral("\r\n"));
    return end < 0 ? text : text.left(end);
}

QString listLine(const LogIndexEntry &entry, const DateText &dates)
{
    return dates.dateTime(entry.logDate, entry.logTime) + QStringLiteral(" - ") +
           firstLine(entry.text);
}

QString foundLogsText(int logCount)
{
    return QStringLiteral("Found %1 saved %2").arg(logCount).arg(logCount == 1 ? "log." : "logs.");
}

QString logDescription(const LogIndexEntry &entry, LogKind kind, const DateText &dates)
{
    QString text =
        dates.dateTime(entry.logDate, entry.logTime) + QStringLiteral("\r\n") + entry.text;
    if (kind == LogKind::Rirod) {
        QString params;
        for (int k = 0; k < ChannelSlots; ++k) {
            if (!params.isEmpty())
                params += QStringLiteral(", ");
            params += QLatin1String(paramNumberToCode(entry.paramCodes[k]));
        }
        text += QStringLiteral("\r\n%1 scans\r\n").arg(entry.scanCount) + params;
    }
    return text;
}

} // namespace vexa
