#include "LogSearch.h"

#include "format/ParamCatalogue.h"

#include <algorithm>

namespace vexa {

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

QString printableLine(const QString &line)
{
    // A line break or an escape sequence in a log's text would break the
    // numbering the tools' listings give, or drive the terminal.
    QString shown;
    shown.reserve(line.size());
    for (const QChar c : line) {
        if (c == QLatin1Char('\\'))
            shown += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            shown += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            shown += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            shown += QStringLiteral("\\t");
        else if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
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
