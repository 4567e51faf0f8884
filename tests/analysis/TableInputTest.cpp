// What a user types for a table: breakpoints, the cell a value falls in, and
// conditions, read or refused with a message naming what is wrong.
#include "analysis/Breakpoints.h"
#include "analysis/ChannelCondition.h"
#include "core/RuntimeError.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

// The error's description, or "" when none was thrown.
template <typename F> std::string refusal(F &&f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.description().toStdString();
    }
    return {};
}

TEST(Breakpoints, CellIsTheNearestHalfWayGoesHigherBeyondTheEndsTheEndCell)
{
    const Breakpoints axis{400, 800, 1200, 2000};
    struct Row {
        double value;
        std::size_t cell;
    } rows[] = {{400, 0},  {800, 1},  {1200, 2}, {2000, 3}, {599.9, 0}, {600, 1},  {600.1, 1},
                {1000, 2}, {1599, 2}, {1600, 3}, {-5, 0},   {399, 0},   {2001, 3}, {1e9, 3}};
    for (const Row &r : rows)
        EXPECT_EQ(cellOf(axis, r.value), r.cell) << r.value;
    EXPECT_EQ(cellOf(Breakpoints{5}, -100), 0u);
    EXPECT_EQ(cellOf(Breakpoints{5}, 100), 0u);
}

TEST(Breakpoints, UsualAxesEvenAxesAndTheirTexts)
{
    struct Row {
        const char *code;
        std::size_t count;
        double first, second, last;
    } rows[] = {{"RPM", 18, 400, 800, 7200},
                {"MAP", 15, 2, 4, 30},
                {"LD", 11, 0, 10, 100},
                {"TPS", 11, 0, 10, 100}};
    for (const Row &r : rows) {
        const Breakpoints axis = usualBreakpoints(r.code).value();
        ASSERT_EQ(axis.size(), r.count) << r.code;
        EXPECT_EQ(axis[0], r.first);
        EXPECT_EQ(axis[1], r.second);
        EXPECT_EQ(axis.back(), r.last);
    }
    EXPECT_FALSE(usualBreakpoints("ECT"));
    EXPECT_EQ(evenBreakpoints(10, 21),
              (Breakpoints{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    EXPECT_EQ(evenBreakpoints(7.5, 7.5), Breakpoints{7.5});
    const Breakpoints odd = evenBreakpoints(0.1f, 0.2f);
    EXPECT_EQ(odd.size(), 12u);
    EXPECT_EQ(shortestText(odd.front()), "0.1"); // a float's text, not its double's
    EXPECT_EQ(shortestText(odd.back()), "0.2");
    EXPECT_EQ(shortestText(400), "400");
    EXPECT_EQ(shortestText(-0.0), "0");
    EXPECT_EQ(shortestText(0.3), "0.3");
}

TEST(Breakpoints, UserListsAreReadOrRefused)
{
    struct Row {
        const char *text;
        Breakpoints axis; // empty: refused with `error`
        const char *error;
    } rows[] = {
        {"400,800,1200", {400, 800, 1200}, ""},
        {"400\t800\r\n1200 1600", {400, 800, 1200, 1600}, ""},
        {" 30, 20 ,10 ,", {10, 20, 30}, ""}, // a falling ECU axis
        {"-1.5 2.25e1", {-1.5, 22.5}, ""},
        {"42", {42}, ""},
        {"1;2",
         {},
         "The breakpoints '1;2' hold '1;2', which is not a number (numbers separated "
         "by commas, tabs, spaces or line breaks, \".\" for decimals)"},
        {"1,5 abc", {}, "hold 'abc', which is not a number"},
        {"2 inf", {}, "hold 'inf', which is not a number"},
        {"1 2 1", {}, "hold 1 twice"},
        {" ,\t", {}, "hold no number"},
    };
    for (const Row &r : rows) {
        if (r.axis.empty())
            EXPECT_NE(refusal([&] { parseBreakpoints(r.text); }).find(r.error), std::string::npos)
                << r.text;
        else
            EXPECT_EQ(parseBreakpoints(r.text), r.axis) << r.text;
    }

    // A grid of millions of cells is no table: the axis is refused, quoted short.
    std::string most;
    for (std::size_t k = 0; k < MostBreakpoints; ++k)
        most += std::to_string(k) + ' ';
    EXPECT_EQ(parseBreakpoints(most).size(), MostBreakpoints);
    EXPECT_EQ(refusal([&] { parseBreakpoints(most + "999"); }),
              "The breakpoints '0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 "
              "...' hold 257 numbers, more than the 256 an axis may have (numbers separated by "
              "commas, tabs, spaces or line breaks, \".\" for decimals)");
}

TEST(ChannelCondition, ReadsValueAndRateConditionsSpacesOptional)
{
    using M = ChannelCondition::Measure;
    using Op = ChannelCondition::Op;
    struct Row {
        const char *text;
        const char *code;
        M measure;
        Op op;
        double number;
    } rows[] = {
        {"ECT >= 160", "ECT", M::Value, Op::GreaterOrEqual, 160},
        {"CLSD=1", "CLSD", M::Value, Op::Equal, 1},
        {"  MAP<-2.5 ", "MAP", M::Value, Op::Less, -2.5},
        {"RPM != 800", "RPM", M::Value, Op::NotEqual, 800},
        {"LD>50", "LD", M::Value, Op::Greater, 50},
        {"IAT <= 100", "IAT", M::Value, Op::LessOrEqual, 100},
        {"|dTPS/dt| <= 20", "TPS", M::RateMagnitude, Op::LessOrEqual, 20},
        {"| d TPS /dt |<=20", "TPS", M::RateMagnitude, Op::LessOrEqual, 20},
        {"dRPM/dt > 0", "RPM", M::Rate, Op::Greater, 0},
    };
    for (const Row &r : rows) {
        const ChannelCondition c = parseCondition(r.text);
        EXPECT_EQ(c.code, r.code) << r.text;
        EXPECT_EQ(c.measure, r.measure) << r.text;
        EXPECT_EQ(c.op, r.op) << r.text;
        EXPECT_EQ(c.number, r.number) << r.text;
        EXPECT_EQ(c.text, r.text);
    }
}

TEST(ChannelCondition, RefusesWhatDoesNotReadNamingIt)
{
    const std::string unreadable = "' reads neither as CHANNEL OP NUMBER nor as |dCHANNEL/dt| OP "
                                   "NUMBER (OP: <, <=, =, >=, >, !=; \".\" marks decimals)";
    for (const char *text : {"ECT", "ECT >= ", "ECT => 160", "ECT == 160", "ECT < 1,5", "ECT < x",
                             "|dTPS/dt <= 20", "|TPS| < 3", "E CT < 3", "< 3", "ECT < nan"})
        EXPECT_EQ(refusal([&] { parseCondition(text); }),
                  "The condition '" + std::string(text) + unreadable)
            << text;
    EXPECT_EQ(refusal([&] { parseCondition("ect > 1"); }),
              "The condition 'ect > 1' names no channel: 'ect' is no code of the catalogue");
    EXPECT_EQ(refusal([&] { parseCondition("|dFOO/dt| < 1"); }),
              "The condition '|dFOO/dt| < 1' names no channel: 'FOO' is no code of the catalogue");
    EXPECT_EQ(refusal([&] { checkChannelCode("----"); }),
              "No channel is called '----' (codes as the catalogue writes them: RPM, MAP, LD, TPS, "
              "ECT, CLSD, LFT1, ...)");
}

TEST(ChannelCondition, EqualityIsAtTheChannelsDisplayPrecision)
{
    struct Row {
        const char *text;
        double value;
        bool holds;
    } rows[] = {
        {"ECT = 160", 160.04, true}, // shows 160.0
        {"ECT = 160", 159.96, true},
        {"ECT = 160", 160.06, false}, // shows 160.1
        {"ECT = 160.1", 160.06, true},
        {"ECT = 160.05", 160.05, false}, // never shown so
        {"ECT != 160", 160.04, false},
        {"ECT != 160", 160.2, true},
        {"ECT = 160", 0.0 / 0.0, false},
        {"ECT != 160", 0.0 / 0.0, true},
        {"RPM = 800", 800.4, true},
        {"RPM = 800", 800.5, true}, // a tie goes as its text does: to the even
        {"RPM = 800", 799.5, true},
        {"RPM = 802", 801.5, true},
        {"RPM = 801", 801.5, false},
        {"MAP = 9.5", 9.499, true},
        {"CLSD = 1", 1, true},
        {"CLSD = 1", 0.7, true}, // shows CLSD
        {"CLSD = 1", 0.5, false},
        {"CLSD = 0", 0, true},
        {"CLSD != 1", 0, true},
        {"ECT < 160", 160.04, false}, // the number itself
        {"ECT >= 160", 160, true},
        {"ECT > 160", 160.04, true},
    };
    for (const Row &r : rows)
        EXPECT_EQ(parseCondition(r.text).holds(r.value), r.holds) << r.text << " at " << r.value;
}

} // namespace
} // namespace vexa
