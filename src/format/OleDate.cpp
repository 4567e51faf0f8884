#include "OleDate.h"

#include "core/RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace vexa::oledate {

namespace {

const QDate Epoch(1899, 12, 30);
const QDate First(100, 1, 1);
const QDate Last(9999, 12, 31);

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

[[noreturn]] void outOfRange(std::int64_t year)
{
    throw RuntimeError(
        ErrorNumber::InvalidCall,
        QStringLiteral("The date can't be held: year %1 is outside 100 to 9999").arg(year));
}

} // namespace

double fromDate(int year, int month, int day)
{
    const std::int64_t months = std::int64_t{year} * 12 + (month - 1);
    const std::int64_t y = floorDiv(months, 12);
    const int m = static_cast<int>(months - y * 12) + 1;
    if (y < 100 || y > 9999)
        outOfRange(y);
    const QDate date = QDate(static_cast<int>(y), m, 1).addDays(day - 1);
    if (date < First || date > Last)
        outOfRange(date.year());
    return static_cast<double>(Epoch.daysTo(date));
}

double fromTime(int hour, int minute, int second)
{
    const std::int64_t seconds = std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
    return fromMilliseconds(seconds * 1000);
}

std::int64_t toMilliseconds(double value)
{
    // No record makes such values, but a date type must not turn them into
    // undefined behaviour: they are held at the ends of its range, NaN at 0.
    constexpr double Lowest = -657434.0, Highest = 2958465.99999999;
    value = std::isnan(value) ? 0.0 : std::clamp(value, Lowest, Highest);
    const double days = std::trunc(value);
    const double fraction = std::fabs(value - days);
    return static_cast<std::int64_t>(days) * MsPerDay +
           static_cast<std::int64_t>(std::llround(fraction * MsPerDay));
}

double fromMilliseconds(std::int64_t ms)
{
    const std::int64_t days = floorDiv(ms, MsPerDay);
    const double fraction = static_cast<double>(ms - days * MsPerDay) / MsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

QDate toDate(double value)
{
    return Epoch.addDays(floorDiv(toMilliseconds(value), MsPerDay));
}

QTime toTime(double value)
{
    const std::int64_t ms = toMilliseconds(value);
    return QTime::fromMSecsSinceStartOfDay(
        static_cast<int>(ms - floorDiv(ms, MsPerDay) * MsPerDay));
}

} // namespace vexa::oledate
