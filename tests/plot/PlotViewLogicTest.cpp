// What the plot window shows and does, without a window: axes, the view and
// its cursor, the numbers over a range and the panels' words.
#include "plot/PanelLayout.h"
#include "plot/PlotNavigation.h"
#include "plot/RangeStats.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexa::test {
namespace {

ChannelSeries series(const char *code, const char *units, const char *description,
                     std::vector<float> values, std::vector<std::int16_t> status = {})
{
    status.resize(values.size());
    return {0,     code, units, description, ValueFormat(code, QLocale::c()), std::move(values),
            status};
}

// Scans every 100 ms from 14:05:09.
PlotData log(std::vector<ChannelSeries> channels)
{
    PlotData plot;
    for (std::size_t k = 0; k < channels.front().values.size(); ++k)
        plot.times.push_back(static_cast<std::int32_t>(50709000 + 100 * k));
    plot.channels = std::move(channels);
    return plot;
}

QStringList texts(const std::vector<Tick> &ticks)
{
    QStringList all;
    for (const Tick &t : ticks)
        all << t.text;
    return all;
}

TEST(PlotAxis, RoundTicksWithoutMinusZero)
{
    const struct {
        double low, high;
        int most;
        QStringList ticks;
    } cases[] = {
        {-0.04, 0.26, 4, {"0.0", "0.1", "0.2"}},
        {-1.05, 1.05, 6, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
        {780, 2530, 5, {"1000", "1500", "2000", "2500"}},
        {9.5, 9.55, 3, {"9.50", "9.55"}},
        {-3.4e38, 3.4e38, 5, {"-2e+38", "0", "2e+38"}},
        {5, 5, 3, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(texts(valueTicks(c.low, c.high, c.most)), c.ticks) << c.low << ".." << c.high;
    EXPECT_EQ(numberText(-0.04, 1), "0.0");
    EXPECT_EQ(numberText(-0.06, 1), "-0.1");
}

TEST(PlotAxis, TimeTicksReadAsAClockOrAsSecondsFromTheStart)
{
    const double start = 50709000; // 14:05:09
    const struct {
        double from, to;
        TimeMode mode;
        QStringList ticks;
        int most = 5;
    } cases[] = {
        {start,
         start + 40000,
         TimeMode::TimeOfDay,
         {"14:05:10", "14:05:20", "14:05:30", "14:05:40"}},
        {start + 200, start + 700, TimeMode::TimeOfDay, {"14:05:09.2", "14:05:09.4", "14:05:09.6"}},
        {start, start + 40000, TimeMode::FromStart, {"0", "10", "20", "30", "40"}},
        {start + 120, start + 160, TimeMode::FromStart, {"0.12", "0.13", "0.14", "0.15", "0.16"}},
        {86399000, 86401000, TimeMode::TimeOfDay, {"23:59:59", "00:00:00", "00:00:01"}, 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(texts(timeTicks(c.from, c.to, start, c.mode, c.most)), c.ticks) << c.from;
}

TEST(PlotAxis, ValueSpanKeepsNoiseSmall)
{
    const ChannelSeries rpm = series("RPM", "RPM", "Engine speed", {800, 6000, 805}, {0, 0, 0});
    const ChannelSeries gapped = series("MAP", "inHg", "", {1e9, 9.5, 9.5}, {12, 0, 0});
    EXPECT_DOUBLE_EQ(minimumValueSpan(rpm), 260);
    EXPECT_DOUBLE_EQ(minimumValueSpan(gapped), 0.1)
        << "ten steps of two decimals; gaps not counted";
    const struct {
        double low, high, minimum, wantLow, wantHigh;
    } cases[] = {
        {800, 805, 260, 672.5, 932.5},
        {0, 100, 10, -5, 105},
        {9.5, 9.5, 0.1, 9.45, 9.55},
    };
    for (const auto &c : cases) {
        const ValueSpan span = valueSpan(c.low, c.high, c.minimum);
        EXPECT_DOUBLE_EQ(span.low, c.wantLow) << c.low;
        EXPECT_DOUBLE_EQ(span.high, c.wantHigh) << c.low;
    }
}

TEST(TimeView, ZoomsPansAndScrollsInsideTheLog)
{
    const struct {
        const char *name;
        void (*act)(TimeView &);
        TimeRange want;
        int scrollValue, scrollMaximum;
    } cases[] = {
        {"zoom in about the middle", [](TimeView &v) { v.zoom(500, 0.5); }, {250, 750}, 250, 500},
        {"zoom in about a quarter", [](TimeView &v) { v.zoom(250, 0.5); }, {125, 625}, 125, 500},
        {"zoom out past the log", [](TimeView &v) { v.zoom(900, 4); }, {0, 1000}, 0, 0},
        {"never below 10 ms", [](TimeView &v) { v.zoom(500, 1e-6); }, {495, 505}, 495, 990},
        {"pan stops at the end",
         [](TimeView &v) {
             v.show({100, 300});
             v.pan(5000);
         },
         {800, 1000},
         800,
         800},
        {"a range outside is moved in",
         [](TimeView &v) {
             v.show({-50, 150});
         },
         {0, 200},
         0,
         800},
        {"follow the cursor",
         [](TimeView &v) {
             v.show({100, 300});
             v.follow(350);
         },
         {150, 350},
         150,
         800},
        {"scroll bar",
         [](TimeView &v) {
             v.show({100, 300});
             v.scrollTo(600);
         },
         {600, 800},
         600,
         800},
    };
    for (const auto &c : cases) {
        TimeView view({0, 1000});
        c.act(view);
        EXPECT_NEAR(view.range().from, c.want.from, 0.011) << c.name;
        EXPECT_NEAR(view.range().to, c.want.to, 0.011) << c.name;
        EXPECT_EQ(view.scrollValue(), c.scrollValue) << c.name;
        EXPECT_EQ(view.scrollMaximum(), c.scrollMaximum) << c.name;
    }
}

TEST(ScanCursor, StepsByScanPageAndEnd)
{
    const PlotData plot = log({series("RPM", "RPM", "Engine speed", std::vector<float>(50))});
    const double start = plot.times[0];
    const TimeRange view{start, start + 2000}; // a page: 200 ms, two scans
    const struct {
        std::size_t from;
        CursorMove move;
        std::size_t to;
    } cases[] = {
        {10, CursorMove::Back, 9},         {0, CursorMove::Back, 0},
        {10, CursorMove::Forward, 11},     {49, CursorMove::Forward, 49},
        {10, CursorMove::PageForward, 12}, {10, CursorMove::PageBack, 8},
        {1, CursorMove::PageBack, 0},      {10, CursorMove::First, 0},
        {10, CursorMove::Last, 49},
    };
    for (const auto &c : cases) {
        ScanCursor cursor;
        cursor.hover(c.from);
        EXPECT_FALSE(cursor.locked());
        cursor.move(plot, c.move, view);
        EXPECT_EQ(cursor.scan(), c.to) << c.from << " " << static_cast<int>(c.move);
        EXPECT_TRUE(cursor.locked());
        cursor.hover(3);
        EXPECT_EQ(cursor.scan(), c.to) << "a locked cursor stays";
    }
}

TEST(RangeStats, NumbersOfTheScansWithStatusZero)
{
    PlotData plot = log({
        series("RPM", "RPM", "Engine speed", {800, 9999, 900, 1000}, {0, 103, 0, -1}),
        series("MAP", "inHg", "Manifold air pressure", {9.5F, 9.6F, NAN, 9.8F}),
        series("ECT", "DEGF", "Engine coolant temp", {1, 2, 3, 4}, {12, 12, 12, 12}),
    });
    const RangeStats stats = rangeStats(plot, 3, 0);
    EXPECT_EQ(rangeStatsText(plot, stats, TimeMode::TimeOfDay),
              "Start\t14:05:09.00\nEnd\t14:05:09.30\nDuration (s)\t0.30\nScans\t1 to 4 (4)\n"
              "Channel\tUnit\tMinimum\tMaximum\tMean\tValues\n"
              "RPM\tRPM\t800\t900\t850.0\t2\n"
              "MAP\tinHg\t9.50\t9.80\t9.633\t3\n"
              "ECT\tDEGF\t\t\t\t0\n");
    const double start = plot.times[0];
    const RangeStats view = viewStats(plot, {start + 50, start + 250});
    EXPECT_EQ(rangeStatsText(plot, view, TimeMode::FromStart).section('\n', 0, 3),
              "Start\t0.10\nEnd\t0.20\nDuration (s)\t0.10\nScans\t2 to 3 (2)");
}

TEST(PanelLayout, LegendsValuesAndPanels)
{
    const struct {
        ChannelSeries channel;
        QString legend, shortLegend, value; // at the first scan
    } cases[] = {
        {series("MAP", "inHg", "Manifold air pressure", {9.5F}),
         "MAP \u2014 Manifold air pressure (inHg)", "MAP (inHg)", "9.50 inHg"},
        {series("RPM", "RPM", "Engine speed", {800}, {103}), "RPM \u2014 Engine speed", "RPM",
         "T.O."},
        {series("RPM", "RPM", "Engine speed", {-0.2F}), "RPM \u2014 Engine speed", "RPM", "0 RPM"},
        {series("????", "----", "----", {1}), "????", "????", "----"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(channelLegend(c.channel), c.legend);
        EXPECT_EQ(shortChannelLegend(c.channel), c.shortLegend);
        EXPECT_EQ(cursorValueText(c.channel, 0), c.value) << c.legend.toStdString();
    }

    PanelLayout layout = PanelLayout::fromText("oahao", 5);
    EXPECT_EQ(layout.panels(), (std::vector<std::vector<std::size_t>>{{0, 1, 3}, {4}}))
        << "a channel joins the shown one above it, past a hidden one";
    EXPECT_EQ(layout.text(), "oahao");
    layout.setPlace(0, PanelLayout::Place::Hidden);
    EXPECT_EQ(layout.panels(), (std::vector<std::vector<std::size_t>>{{1, 3}, {4}}));
    for (const char *bad : {"oah", "oaxoo", ""})
        EXPECT_EQ(PanelLayout::fromText(bad, 5).text(), "ooooo") << bad;
}

} // namespace
} // namespace vexa::test
