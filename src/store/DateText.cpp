#include "DateText.h"

#include "format/OleDate.h"

namespace vexa {

namespace {

// Rewrites the runs of one field letter outside quoted text.
template <typename Rewrite>
QString rewriteField(const QString &format, QChar field, Rewrite rewrite)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
            ++i;
            continue;
        }
        if (quoted || c != field) {
            out += c;
            ++i;
            continue;
        }
        qsizetype run = 0;
        while (i + run < format.size() && format[i + run] == field)
            ++run;
        out += rewrite(run);
        i += run;
    }
    return out;
}

} // namespace

QString withFourDigitYear(const QString &format)
{
    return rewriteField(format, u'y', [](qsizetype) { return QStringLiteral("yyyy"); });
}

QString withoutTimeZone(const QString &format)
{
    QString out = rewriteField(format, u't', [](qsizetype) { return QStringLiteral("\x01"); });
    // Take the blank on either side of the zone field with it.
    out.replace(QStringLiteral(" \x01"), QString()).replace(QStringLiteral("\x01 "), QString());
    out.remove(QChar(1));
    return out.trimmed();
}

DateText::DateText(const QLocale &locale)
    : m_locale(locale), m_dateFormat(withFourDigitYear(locale.dateFormat(QLocale::ShortFormat))),
      m_timeFormat(withoutTimeZone(locale.timeFormat(QLocale::LongFormat)))
{}

QString DateText::date(double oleDate) const
{
    return m_locale.toString(oledate::toDate(oleDate), m_dateFormat);
}

QString DateText::time(double oleTime) const
{
    return m_locale.toString(oledate::toTime(oleTime), m_timeFormat);
}

QString DateText::dateTime(double oleDate, double oleTime) const
{
    return date(oleDate) + QLatin1Char(' ') + time(oleTime);
}

} // namespace vexa
