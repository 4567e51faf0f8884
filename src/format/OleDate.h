// The date value: an OLE Automation date, a double counting days since
// 30 December 1899 whose fraction is the time of day. Before that day the
// value is negative but its fraction still counts forward from midnight:
// -1.25 is 29 December 1899, 06:00.
#pragma once

#include <QDate>
#include <QTime>

#include <cstdint>

namespace vexa::oledate {

constexpr std::int64_t MsPerDay = 86'400'000;

// The date of year, month and day with time part zero. Fields beyond their
// range carry the calendar way: month 13 is January of the next year, day 0
// the last day of the previous month. Throws RuntimeError (invalid call) for
// a year outside 100..9999.
double fromDate(int year, int month, int day);

// The time of hour, minute and second with date part zero; overflow carries
// into the date part (second 60 is the next minute, hour 24 the next day).
double fromTime(int hour, int minute, int second);

// The value as whole days and milliseconds since 30 December 1899 00:00,
// rounded to the nearest millisecond. Values beyond years 100 to 9999 are
// read as the end they pass, NaN as 0.
std::int64_t toMilliseconds(double value);
double fromMilliseconds(std::int64_t ms);

QDate toDate(double value);
// The time of day, to the millisecond.
QTime toTime(double value);

} // namespace vexa::oledate
