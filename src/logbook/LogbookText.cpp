#include "LogbookText.h"

#include "format/OleDate.h"
#include "store/LogSearch.h"

#include <QRegularExpression>

#include <array>

namespace vexa {

QString durationText(std::int64_t ms)
{
    const std::int64_t cs = ms / 10;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(cs / 360000)
        .arg(cs / 6000 % 60, 2, 10, QLatin1Char('0'))
        .arg(cs / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(cs % 100, 2, 10, QLatin1Char('0'));
}

QString stateName(LogState state)
{
    static const std::array<const char *, 5> names = {"On handheld", "Deleted", "Gone", "Put back",
                                                      "Unconfirmed"};
    return QLatin1String(names.at(static_cast<std::size_t>(state)));
}

QString startText(const LogbookEntry &log, const DateText &dates)
{
    const QDateTime start = QDateTime::fromString(log.start, Qt::ISODate);
    // The logger's calendar starts at year 100.
    if (!start.isValid() || start.date().year() < 100)
        return log.start;
    const QDate d = start.date();
    const QTime t = start.time();
    return dates.dateTime(oledate::fromDate(d.year(), d.month(), d.day()),
                          oledate::fromTime(t.hour(), t.minute(), t.second()));
}

QString firstTextLine(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\\r\\n]"));
    const qsizetype end = text.indexOf(lineBreak);
    return end < 0 ? text : text.left(end);
}

QString logbookLine(const LogbookEntry &log, const DateText &dates)
{
    return startText(log, dates) + QStringLiteral(" - ") + firstTextLine(log.text);
}

QString logbookDescription(const LogbookEntry &log, vexasync::ByteUtility &bytes,
                           const DateText &dates)
{
    const QString description = logDescription(
        readIndexEntry(bytes, {0, 0, 0, 0, log.indexRecord}, log.kind), log.kind, dates);
    return QString(description).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace vexa
