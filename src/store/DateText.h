// Dates and times as the desktop's regional settings write them: the short
// date format with a four-digit year and the long time format without any
// time-zone part.
#pragma once

#include <QLocale>
#include <QString>

namespace vexa {

class DateText {
public:
    explicit DateText(const QLocale &locale = QLocale::system());

    QString date(double oleDate) const;
    QString time(double oleTime) const;
    // The date, one blank, the time.
    QString dateTime(double oleDate, double oleTime) const;

    const QLocale &locale() const { return m_locale; }

private:
    QLocale m_locale;
    QString m_dateFormat;
    QString m_timeFormat;
};

// Format strings in Qt's notation: a two-digit year becomes four digits;
// time-zone fields go, with the blanks around them.
QString withFourDigitYear(const QString &format);
QString withoutTimeZone(const QString &format);

} // namespace vexa
