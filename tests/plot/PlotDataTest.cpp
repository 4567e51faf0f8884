// The plot's data without a window: a log read whole, and its reduction to
// what the panels draw.
#include "format/ScanRecord.h"
#include "plot/GapLegend.h"
#include "plot/PlotReduction.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

TEST(PlotData, ReadsEveryChannelThatCarriesAParameter)
{
    ExportFixture f;
    addLogCase(f.handheld, readLogCase(dataPath("export/night-run.log")));
    const LogIndexEntry entry = f.entry();
    const PlotData plot =
        readPlotData(entry, *f.handheld.open("RirodData"), *f.bytes, f.dates.locale());

    EXPECT_EQ(plot.title, "Night run");
    QStringList times;
    for (const std::int32_t t : plot.times)
        times << timeOfDayText(t);
    // Past midnight the axis goes on: 86,431,760 ms, not 31,760.
    EXPECT_EQ(times, (QStringList{"23:59:58.00", "23:59:59.00", "00:00:31.76", "00:00:31.76"}));
    EXPECT_EQ(plot.times.back(), 86'431'760);

    // The texts of night-run.csv, with the status in place of a gap's value.
    const struct {
        int slot;
        const char *code, *units, *description;
        std::vector<std::string> texts;
    } expected[] = {
        {0, "RPM", "RPM", "Engine speed", {"7250", "12345678", "800", "810"}},
        {1, "ECT", "DEGF", "Engine coolant temp", {"T.O.", "-40.0", "180.0", "180.2"}},
        {3, "MAP", "inHg", "Manifold air pressure", {"E12", "12.35", "9.50", "9.55"}},
        {4, "CLSD", "LOOP", "Closed loop status (1=closed)", {"CLSD", "OPEN", "OPEN", "S-1"}},
        {5, "????", "----", "----", {"----", "----", "----", "----"}},
        {9, "O2L", "mV", "O2 sensor - driver's side", {"S-5", "0", "100", "100"}},
    };
    ASSERT_EQ(plot.channels.size(), std::size(expected));
    for (std::size_t i = 0; i < plot.channels.size(); ++i) {
        const ChannelSeries &c = plot.channels[i];
        std::vector<std::string> texts;
        for (std::size_t scan = 0; scan < plot.scanCount(); ++scan)
            texts.push_back(c.valueText(scan));
        EXPECT_EQ(c.slot, expected[i].slot);
        EXPECT_EQ(c.code, expected[i].code);
        EXPECT_EQ(c.units, expected[i].units);
        EXPECT_EQ(c.description, expected[i].description);
        EXPECT_EQ(texts, expected[i].texts) << c.code;
    }
    // Four bytes of time, two of duration and six per slot and scan.
    EXPECT_EQ(plot.heldBytes(), 4u * (4 + 2 + 6 * 10));
}

PlotData oneChannel(std::vector<std::int32_t> times, std::vector<float> values,
                    std::vector<std::int16_t> status = {})
{
    status.resize(values.size());
    PlotData plot;
    plot.times = std::move(times);
    plot.channels.push_back(
        {0, "RPM", "RPM", "Engine speed", ValueFormat("RPM", QLocale::c()), values, status});
    return plot;
}

using Points = std::vector<std::vector<QPointF>>;

TEST(PlotReduction, KeepsLowAndHighOfEachColumnAndBreaksAtGaps)
{
    const struct {
        const char *name;
        PlotData plot;
        TimeRange range;
        int columns;
        std::size_t maxSegments;
        Points segments;
        std::vector<std::pair<double, std::int16_t>> gaps;
    } cases[] = {
        // clang-format off
        {"more columns than samples: every sample",
         oneChannel({0, 10, 20}, {1, 2, 3}), {0, 20}, 100, MaxSegments,
         {{{0, 1}, {10, 2}, {20, 3}}}, {}},
        {"two columns: low and high of each, in time order",
         oneChannel({0, 1, 2, 3, 4, 5, 6, 7}, {5, 1, 9, 3, 2, 8, 0, 4}), {0, 8}, 2, MaxSegments,
         {{{1, 1}, {2, 9}, {5, 8}, {6, 0}}}, {}},
        {"a column of gaps only breaks the line",
         oneChannel({0, 10, 20}, {1, 2, 3}, {0, 103, 0}), {0, 30}, 3, MaxSegments,
         {{{0, 1}}, {{20, 3}}}, {{15, 103}}},
        {"a gap beside values in its column is marked, not broken",
         oneChannel({0, 1, 2, 3}, {1, 2, 3, 4}, {0, 7, 0, 0}), {0, 4}, 2, MaxSegments,
         {{{0, 1}, {2, 3}, {3, 4}}}, {{1, 7}}},
        {"a zoom keeps one sample on each side",
         oneChannel({0, 10, 20, 30, 40}, {1, 2, 3, 4, 5}), {15, 25}, 10, MaxSegments,
         {{{10, 2}, {20, 3}, {30, 4}}}, {}},
        {"nothing to draw",
         oneChannel({0, 10}, {1, 2}, {-1, -1}), {0, 10}, 1, MaxSegments,
         {}, {{5, -1}}},
        {"past the limit the narrowest break is bridged, its mark kept",
         oneChannel({0, 10, 20, 30, 40, 50, 60}, {1, 2, 3, 4, 5, 6, 7}, {0, 5, 0, 0, 5, 5, 0}), {0, 70}, 7, 2,
         {{{0, 1}, {20, 3}, {30, 4}}, {{60, 7}}}, {{15, 5}, {45, 5}, {55, 5}}},
        // clang-format on
    };
    for (const auto &c : cases) {
        const ReducedChannel r =
            reduceChannel(c.plot, c.plot.channels[0], c.range, c.columns, c.maxSegments);
        EXPECT_EQ(r.segments, c.segments) << c.name;
        std::vector<std::pair<double, std::int16_t>> gaps;
        for (const GapMark &g : r.gaps)
            gaps.emplace_back(g.x, g.status);
        EXPECT_EQ(gaps, c.gaps) << c.name;
    }
}

TEST(PlotReduction, DrawsAtMostTwoPointsAColumnOfALongLog)
{
    std::vector<std::int32_t> times;
    std::vector<float> values;
    for (int k = 0; k < 32767; ++k) {
        times.push_back(k * 120);
        values.push_back(static_cast<float>(k % 97));
    }
    const PlotData plot = oneChannel(times, values);
    const ReducedChannel r = reduceChannel(plot, plot.channels[0], fullRange(plot), 800);
    ASSERT_EQ(r.segments.size(), 1u);
    EXPECT_LE(r.segments[0].size(), 1600u);
    EXPECT_EQ(r.minValue, 0);
    EXPECT_EQ(r.maxValue, 96);
    const PlotData flat = oneChannel({0, 10}, {7, 7});
    const ReducedChannel level = reduceChannel(flat, flat.channels[0], fullRange(flat), 800);
    EXPECT_EQ(std::pair(level.minValue, level.maxValue), std::pair(7.0, 7.0)) << "a flat line";
}

// A line for each status of a channel that holds a few, else one for each
// kind: a log whose every scan has a status of its own draws three.
TEST(GapLegend, NamesEachStatusOrEachKind)
{
    std::vector<std::int16_t> ownStatus; // -1, 1, -2, 2, ...: 103 is a time-out
    for (int k = 0; k < 32767; ++k)
        ownStatus.push_back(static_cast<std::int16_t>(k % 2 ? k / 2 + 1 : -(k / 2 + 1)));
    const struct {
        const char *name;
        std::vector<std::int16_t> status;
        QStringList legend;
        std::vector<std::size_t> groups; // of each status in `status`
    } cases[] = {
        // clang-format off
        {"no gap", {0, 0}, {}, {}},
        {"four: a line each, lowest first", {0, 12, -5, 103, 12, 7},
         {"S-5: the logger flagged the value (status -5)", "E7: the logger reported error 7",
          "E12: the logger reported error 12", "T.O.: the data link timed out"},
         {2, 0, 3, 2, 1}},
        {"five: a line each kind, one status named as itself", {-1, 4, 1, 3, 2},
         {"S-1: the logger flagged the value (status -1)", "E1 to E4: 4 errors the logger reported"},
         {0, 1, 1, 1, 1}},
        {"every scan its own", ownStatus,
         {"S-16384 to S-1: 16384 statuses the logger flagged",
          "E1 to E16383: 16382 errors the logger reported", "T.O.: the data link timed out"},
         {}},
        // clang-format on
    };
    for (const auto &c : cases) {
        const GapLegend legend(c.status);
        QStringList names;
        for (const GapGroup &group : legend.groups())
            names << group.name;
        EXPECT_EQ(names, c.legend) << c.name;
        std::vector<std::size_t> groups;
        for (const std::int16_t s : c.status)
            if (s != 0 && !c.groups.empty())
                groups.push_back(legend.groupOf(s));
        EXPECT_EQ(groups, c.groups) << c.name;
    }
    const GapLegend own(ownStatus);
    EXPECT_EQ((std::vector{own.groupOf(-7), own.groupOf(7), own.groupOf(TimedOutStatus)}),
              (std::vector<std::size_t>{0, 1, 2}));
}

} // namespace
} // namespace vexa::test
