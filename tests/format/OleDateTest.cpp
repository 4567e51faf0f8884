// The date value: days since 30 December 1899, time as the fraction.
#include "format/OleDate.h"
#include "core/RuntimeError.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace vexa {
namespace {

TEST(OleDate, DatesCarryTheCalendarWay)
{
    const struct {
        int year, month, day;
        std::optional<double> value; // none: refused
    } cases[] = {
        {1899, 12, 30, 0},    {2004, 3, 14, 38060},  {2004, 13, 1, 38353},
        {2004, 3, 0, 38046},  {2004, 0, 1, 37956},   {2004, 2, 30, 38047},
        {2004, -1, 1, 37926}, {100, 1, 1, -657434},  {9999, 12, 31, 2958465},
        {99, 13, 1, -657434}, {100, 1, 31, -657404}, {2004, 3, 14 + 365, 38060 + 365},
        {10000, 1, 1, {}},    {9999, 13, 1, {}},     {9999, 12, 32, {}},
        {99, 12, 31, {}},     {100, 1, 0, {}},       {0, 1, 1, {}},
        {-1, 1, 1, {}},       {32767, 1, 1, {}},     {-32768, -32768, -32768, {}},
    };
    for (const auto &c : cases) {
        std::optional<double> value;
        try {
            value = oledate::fromDate(c.year, c.month, c.day);
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), ErrorNumber::InvalidCall);
        }
        EXPECT_EQ(value, c.value) << c.year << '-' << c.month << '-' << c.day;
    }
}

TEST(OleDate, TimesCarryIntoTheNextUnit)
{
    const struct {
        int hour, minute, second;
        QDate date;
        QTime time;
    } cases[] = {
        {14, 5, 9, {1899, 12, 30}, {14, 5, 9}},     {0, 0, 60, {1899, 12, 30}, {0, 1, 0}},
        {0, 60, 0, {1899, 12, 30}, {1, 0, 0}},      {24, 0, 0, {1899, 12, 31}, {0, 0, 0}},
        {23, 59, 59, {1899, 12, 30}, {23, 59, 59}}, {0, 0, -1, {1899, 12, 29}, {23, 59, 59}},
        {-30, 0, 0, {1899, 12, 28}, {18, 0, 0}},
    };
    for (const auto &c : cases) {
        const double value = oledate::fromTime(c.hour, c.minute, c.second);
        EXPECT_EQ(oledate::toDate(value), c.date) << c.hour << ':' << c.minute << ':' << c.second;
        EXPECT_EQ(oledate::toTime(value), c.time) << c.hour << ':' << c.minute << ':' << c.second;
    }
    EXPECT_DOUBLE_EQ(oledate::fromTime(14, 5, 9), (14 * 3600 + 5 * 60 + 9) / 86400.0);
}

// Before 1899 the time still counts forward from the date; just before
// midnight rounds to the next day; values no date holds stay in range.
TEST(OleDate, ValuesGiveBackDateAndTime)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        QDate date;
        QTime time;
    } cases[] = {
        {-1.25, {1899, 12, 29}, {6, 0}},     {-0.25, {1899, 12, 30}, {6, 0}},
        {-1.9999999999, {1899, 12, 30}, {}}, {1.9999999999, {1900, 1, 1}, {}},
        {nan, {1899, 12, 30}, {}},           {-inf, {100, 1, 1}, {}},
        {1e100, {9999, 12, 31}, {}},         {inf, {}, {23, 59, 59, 999}},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(!c.date.isValid() || oledate::toDate(c.value) == c.date) << c.value;
        EXPECT_TRUE(!c.time.isValid() || oledate::toTime(c.value) == c.time) << c.value;
    }
    EXPECT_DOUBLE_EQ(oledate::fromMilliseconds(-oledate::MsPerDay + oledate::MsPerDay / 4), -1.25);
    EXPECT_EQ(oledate::toMilliseconds(-1.25), -oledate::MsPerDay + oledate::MsPerDay / 4);
}

} // namespace
} // namespace vexa
