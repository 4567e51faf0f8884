// Tables from hand-made logs whose every cell is known: which scans count
// (statuses, conditions, rates of change), where they fall, the minimum, and
// the table's text.
#include "support/HandLog.h"

#include "analysis/CellTable.h"
#include "analysis/TableText.h"
#include "core/RuntimeError.h"
#include "format/ScanRecord.h"

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

TableRequest request(std::vector<std::string> where = {})
{
    TableRequest r{"RPM", "MAP", "LFT1", {}, {}, {}, 1};
    for (const std::string &w : where)
        r.conditions.push_back(parseCondition(w));
    return r;
}

// The LFT1 values of the scans that count, in order.
std::vector<float> counted(const std::vector<std::string> &where, const std::vector<Scan> &scans)
{
    TableBuilder builder(request(where), componentBytes());
    const HandLog log(scans);
    EXPECT_TRUE(builder.addLog(log.params, log.records).empty());
    std::vector<float> values;
    for (const CountedScan &s : builder.counted())
        values.push_back(s.value);
    return values;
}

// Scan k (from 1) carries k in LFT1, to be told by it.
std::vector<Scan> marked(std::vector<Scan> scans)
{
    for (std::size_t k = 0; k < scans.size(); ++k)
        scans[k].lft = float(k + 1);
    return scans;
}

TEST(CellTable, AScanCountsWhenItsChannelsAreReadAndEveryConditionHolds)
{
    struct Row {
        const char *what;
        std::vector<std::string> where;
        std::vector<Scan> scans;
        std::vector<float> counted;
    } rows[] = {
        {"gaps in X, Y or the value",
         {},
         {{}, {.gap = Rpm}, {.gap = Map}, {.gap = Lft}, {}},
         {1, 5}},
        {"a gap in another channel", {}, {{.gap = Ect}, {.gap = Tps}}, {1, 2}},
        {"a value condition", {"ECT >= 160"}, {{.ect = 150}, {.ect = 160}, {.ect = 170}}, {2, 3}},
        {"a gap in a condition's channel", {"ECT != 5"}, {{.gap = Ect}, {}}, {2}},
        {"conditions combined with and",
         {"ECT >= 160", "CLSD = 1"},
         {{.ect = 170, .clsd = 0}, {.ect = 150}, {.ect = 170}},
         {3}},
        {"= at the display precision", {"ECT = 160"}, {{.ect = 160.04f}, {.ect = 160.06f}}, {1}},
        {"rate: none for the first scan, 10/s then 40/s",
         {"|dTPS/dt| <= 20"},
         {{.tps = 10}, {.tps = 11}, {.tps = 15}, {.tps = 14}},
         {2, 4}},
        {"rate: signed", {"dTPS/dt > 0"}, {{.tps = 10}, {.tps = 11}, {.tps = 9}}, {2}},
        {"rate: over the previous scan's duration",
         {"|dTPS/dt| <= 20"},
         {{.time = 100, .tps = 10}, {.time = 10, .tps = 25}, {.tps = 28}},
         {2}},
        {"rate: none after a gap in its channel, a gap elsewhere is none",
         {"|dTPS/dt| < 1000"},
         {{}, {.gap = Tps}, {}, {}, {.gap = Ect}, {}},
         {4, 5, 6}},
        {"rate: none after a duration of 0 or less",
         {"|dTPS/dt| < 1000"},
         {{}, {.time = 0}, {.time = -10}, {}, {}},
         {2, 5}},
        {"rate with a value condition",
         {"|dTPS/dt| <= 20", "RPM > 900"},
         {{.rpm = 1000}, {.rpm = 1000}, {.rpm = 800}, {.rpm = 1000}},
         {2, 4}},
    };
    for (Row &r : rows)
        EXPECT_EQ(counted(r.where, marked(r.scans)), r.counted) << r.what;
}

TEST(CellTable, ALogLackingAChannelIsLeftOutTheFirstOfTwoSlotsCounts)
{
    TableBuilder builder(request({"|dTPS/dt| < 5", "ECT > 0"}), componentBytes());
    struct Row {
        Params params;
        std::vector<std::string> lacking;
    } rows[] = {
        {{15, 6, 2, 18}, {"MAP"}},
        {{9, 2, 18}, {"RPM", "LFT1"}},
        {{15, 9, 6, 2}, {"TPS"}},
        {{15, 9, 6, 18}, {"ECT"}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(builder.addLog(HandLog({{}, {}}, r.params).params, {}), r.lacking);
    EXPECT_TRUE(builder.counted().empty());

    // MAP in slots 1 and 6: slot 6 carries 99 and a gap, which count for nothing.
    HandLog twice({{.map = 12}, {.map = 14}}, {15, 9, 6, 2, 18, 1, 9});
    for (Bytes &b : twice.bytes) {
        Channels ch;
        ch[6] = {TimedOutStatus, 99};
        const Bytes other = scanRecord(10, ch);
        std::copy(other.begin() + 4 + 36, other.begin() + 4 + 42, b.begin() + 4 + 36);
    }
    ASSERT_TRUE(builder.addLog(twice.params, twice.records).empty());
    ASSERT_EQ(builder.counted().size(), 1u); // the first scan has no rate
    EXPECT_EQ(builder.counted()[0].y, 14);
}

TEST(CellTable, ARecordCutShortAddsNoneOfItsLog)
{
    TableBuilder builder(request(), componentBytes());
    HandLog log({{}, {}, {}});
    log.records[2] = log.records[2].first(63);
    try {
        builder.addLog(log.params, log.records);
        ADD_FAILURE() << "a short record was read";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.description(),
                  "Scan record 3 of the log is 63 bytes long; a scan record has 64");
    }
    EXPECT_TRUE(builder.counted().empty());
}

// Ten scans at each of (400, 2), (7200, 30); nine at (800, 4); the rest of
// the cells empty.
std::vector<Scan> cornerScans()
{
    std::vector<Scan> scans;
    for (int k = 0; k < 10; ++k) {
        scans.push_back(
            {.rpm = 350, .map = 2.9f, .lft = float(k)});          // below the ends, under half-way
        scans.push_back({.rpm = 9000, .map = 29, .lft = -1.25f}); // beyond, half-way: higher
        if (k < 9)
            scans.push_back({.rpm = 600, .map = 3, .lft = 2}); // half-way: higher
    }
    return scans;
}

TEST(CellTable, CellsHoldMeanMinMaxAndCountWithTheMinimum)
{
    TableRequest r = request();
    r.minHits = 10;
    TableBuilder builder(r, componentBytes());
    const HandLog log(cornerScans());
    ASSERT_TRUE(builder.addLog(log.params, log.records).empty());
    const CellTable t = builder.table().value();
    ASSERT_EQ(t.xAxis.size(), 18u);
    ASSERT_EQ(t.yAxis.size(), 15u);
    struct Row {
        std::size_t xi, yi;
        int count;
        double mean, min, max;
        bool filled;
    } rows[] = {
        {0, 0, 10, 4.5, 0, 9, true},
        {17, 14, 10, -1.25, -1.25, -1.25, true},
        {1, 1, 9, 2, 2, 2, false},
    };
    int total = 0;
    for (const CellStats &c : t.cells)
        total += c.count;
    EXPECT_EQ(total, 29);
    for (const Row &row : rows) {
        const CellStats &c = t.at(row.xi, row.yi);
        EXPECT_EQ(c.count, row.count);
        EXPECT_EQ(c.stat(CellStat::Mean), row.mean);
        EXPECT_EQ(c.stat(CellStat::Min), row.min);
        EXPECT_EQ(c.stat(CellStat::Max), row.max);
        EXPECT_EQ(c.stat(CellStat::Count), row.count);
        EXPECT_EQ(t.filled(row.xi, row.yi), row.filled);
    }
}

TEST(CellTable, AxesAreTheUsersTheUsualOrEvenOverTheScansThatCount)
{
    const HandLog log({{.rpm = 1000, .lft = 1, .ect = 150},
                       {.rpm = 2100, .lft = -2, .ect = 161},
                       {.rpm = 3000, .lft = 4, .ect = 160},
                       {.rpm = 3000, .lft = 0.04f, .ect = 300}});
    TableRequest r{"RPM", "ECT", "LFT1", {parseCondition("ECT < 200")}, {}, {}, 1};
    r.xAxis = parseBreakpoints("1000 2000 3000");
    TableBuilder builder(r, componentBytes());
    ASSERT_TRUE(builder.addLog(log.params, log.records).empty());
    const CellTable t = builder.table().value();
    EXPECT_EQ(t.yAxis, evenBreakpoints(150, 161)); // 300 does not count
    const struct {
        CellStat stat;
        const char *text;
    } rows[] = {
        {CellStat::Mean,
         "ECT\\RPM\t1000\t2000\t3000\n"
         "150\t1.00\t\t\n151\t\t\t\n152\t\t\t\n153\t\t\t\n154\t\t\t\n155\t\t\t\n"
         "156\t\t\t\n157\t\t\t\n158\t\t\t\n159\t\t\t\n160\t\t\t4.00\n161\t\t-2.00\t\n"},
        {CellStat::Count, "ECT\\RPM\t1000\t2000\t3000\n"
                          "150\t1\t\t\n151\t\t\t\n152\t\t\t\n153\t\t\t\n154\t\t\t\n155\t\t\t\n"
                          "156\t\t\t\n157\t\t\t\n158\t\t\t\n159\t\t\t\n160\t\t\t1\n161\t\t1\t\n"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(tableText(t, row.stat), row.text);

    TableBuilder none(r, componentBytes());
    EXPECT_FALSE(none.table()); // no scan: ECT has no breakpoints
    r.yAxis = Breakpoints{100};
    EXPECT_EQ(tableText(TableBuilder(r, componentBytes()).table().value(), CellStat::Mean),
              "ECT\\RPM\t1000\t2000\t3000\n100\t\t\t\n");
}

TEST(CellTable, ValuesShowOneDigitMoreThanTheirChannelNoNegativeZero)
{
    const struct {
        const char *value;
        float v;
        const char *text;
    } rows[] = {{"LFT1", -0.004f, "0.00"}, {"LFT1", 2.25f, "2.25"}, {"RPM", 812.25f, "812.2"},
                {"MAP", 9.8765f, "9.877"}, {"CLSD", 0.75f, "0.8"},  {"O2L", 450.56f, "450.6"}};
    for (const auto &row : rows) {
        CellTable t{"RPM", "MAP", row.value, {1}, {1}, {{1, row.v, row.v, row.v}}, 1};
        EXPECT_EQ(cellText(t, 0, 0, CellStat::Mean), row.text) << row.value;
        EXPECT_EQ(cellText(t, 0, 0, CellStat::Count), "1");
        t.minHits = 2;
        EXPECT_EQ(cellText(t, 0, 0, CellStat::Mean), "");
    }
}

} // namespace
} // namespace vexa::test
