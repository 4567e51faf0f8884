// The texts of the date value, as the regional settings write them.
#include "store/DateText.h"
#include "format/OleDate.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

// The regional settings' format strings lose two-digit years and time zones.
TEST(DateText, FollowsTheRegionalSettings)
{
    const struct {
        const char *in, *out;
    } years[] = {{"M/d/yy", "M/d/yyyy"},
                 {"dd.MM.yyyy", "dd.MM.yyyy"},
                 {"d 'yy' yy", "d 'yy' yyyy"}},
      zones[] = {{"h:mm:ss AP t", "h:mm:ss AP"},
                 {"HH:mm:ss t", "HH:mm:ss"},
                 {"tttt HH:mm:ss", "HH:mm:ss"},
                 {"HH 'hrs' mm", "HH 'hrs' mm"},
                 {"HH:mm:ss", "HH:mm:ss"}};
    for (const auto &c : years)
        EXPECT_EQ(withFourDigitYear(c.in), c.out) << c.in;
    for (const auto &c : zones)
        EXPECT_EQ(withoutTimeZone(c.in), c.out) << c.in;
    const double date = oledate::fromDate(2004, 3, 14);
    const double time = oledate::fromTime(14, 5, 9);
    const DateText english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(english.dateTime(date, time), "3/14/2004 2:05:09 PM");
    const DateText german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.dateTime(date, time), "14.03.2004 14:05:09");
    EXPECT_EQ(english.date(oledate::fromDate(100, 1, 1)), "1/1/0100");
}

} // namespace
} // namespace vexa
