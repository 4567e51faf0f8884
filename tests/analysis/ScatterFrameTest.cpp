// The scatter's frame without a window: spans that hold every scan and put
// their ends on the area's edges, ticks inside them, and the one colour rule
// the grid and the dots share.
#include "analysis/ScatterFrame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vexa::test {
namespace {

TEST(ScatterFrame, EveryScanLandsInsideAndTheSpansEndsOnTheEdges)
{
    const QRectF area(40, 10, 600, 300);
    const struct {
        const char *what;
        std::vector<CountedScan> points;
    } rows[] = {
        {"spread", {{800, 10, -4}, {7200, 30, 6}, {2400, 12, 0}}},
        {"one scan", {{800, 10, 2}}},
        {"all equal, at 0", {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
        {"a float's extremes", {{-3e38f, -3e38f, -3e38f}, {3e38f, 3e38f, 3e38f}}},
        {"none", {}},
    };
    for (const auto &r : rows) {
        const ScatterFrame f = scatterFrame("RPM", "MAP", "LFT1", r.points);
        for (const ValueSpan &s : {f.xSpan, f.ySpan, f.colourSpan})
            ASSERT_TRUE(std::isfinite(s.low) && std::isfinite(s.high) && s.high > s.low) << r.what;
        EXPECT_EQ(f.at(f.xSpan.low, f.ySpan.low, area), area.bottomLeft()) << r.what;
        EXPECT_EQ(f.at(f.xSpan.high, f.ySpan.high, area), area.topRight()) << r.what;
        for (const CountedScan &p : r.points) {
            const QPointF at = f.at(p.x, p.y, area);
            EXPECT_TRUE(at.x() > area.left() && at.x() < area.right() && at.y() > area.top() &&
                        at.y() < area.bottom())
                << r.what;
            EXPECT_TRUE(f.colourSpan.low <= p.value && p.value <= f.colourSpan.high) << r.what;
        }
        for (const ValueSpan &s : {f.xSpan, f.ySpan, f.colourSpan}) {
            const std::vector<Tick> ticks = scatterTicks(s, 300);
            EXPECT_GE(ticks.size(), 2u) << r.what;
            EXPECT_LE(ticks.size(), 5u) << r.what;
            for (const Tick &t : ticks)
                EXPECT_TRUE(s.low <= t.at && t.at <= s.high) << r.what << " " << t.at;
        }
    }
}

TEST(ScatterFrame, TheBarRunsFromTheLowestValueToTheHighest)
{
    const ScatterFrame f = scatterFrame("RPM", "MAP", "ECT", {{{800, 10, 150}, {900, 12, 190}}});
    EXPECT_EQ(f.colourSpan.low, 150);
    EXPECT_EQ(f.colourSpan.high, 190);
    EXPECT_EQ(f.points, 2u);
}

TEST(ColourScale, TrimsAndValuesAcrossZeroDivergeAroundWhite)
{
    const Rgb white{255, 255, 255}, lean{50, 60, 230}, rich{230, 60, 50};
    const Rgb lightest{255, 245, 220}, darkest{230, 120, 20};
    const struct {
        const char *code;
        double low, high, value;
        bool diverging;
        Rgb colour;
    } rows[] = {
        {"LFT1", -4, 2, -4, true, lean},
        {"LFT1", -4, 2, 4, true, rich},
        {"LFT1", -4, 2, 0, true, white},
        {"SFT2", 1, 3, 3, true, rich},
        {"LFT1", 0, 0, 0, true, white},
        {"ECT", -5, 190, 190, true, rich},
        {"ECT", 150, 190, 150, false, lightest},
        {"ECT", 150, 190, 190, false, darkest},
        {"KR", 0, 4, 0, false, lightest},
        {"", -0.0, 9, 9, false, darkest},
        {"IPW1", 2, 2, 2, false, {243, 183, 120}},
    };
    for (const auto &r : rows) {
        const ColourScale scale = colourScale(r.code, r.low, r.high);
        EXPECT_EQ(scale.diverging, r.diverging) << r.code << " " << r.low;
        EXPECT_EQ(scale.colour(r.value), r.colour) << r.code << " " << r.value;
    }
    // Equal distances from 0 are equally deep, whichever side.
    const ColourScale trims = colourScale("LFT1", -3, 6);
    EXPECT_EQ(trims.colour(-3).green, trims.colour(3).green);
    EXPECT_LT(trims.colour(6).green, trims.colour(3).green);
}

TEST(ScatterFrame, ThePointerFindsTheDotDrawnNearestAndOnTop)
{
    const std::vector<CountedScan> points = {
        {800, 10, -4.2f}, {2400, 20.5f, 1.5f}, {1600, 15, 0}, {1600, 15, 2}};
    const ScatterFrame f = scatterFrame("RPM", "MAP", "LFT1", points);
    const QRectF area(0, 0, 600, 300);
    const struct {
        std::size_t dot;
        QPointF off;
        std::optional<std::size_t> found;
    } rows[] = {
        {0, {2, 2}, 0},
        {1, {0, -4}, 1},
        {2, {}, 3},                // 3 is drawn over 2
        {1, {3, 3}, std::nullopt}, // 4.2 pixels away
    };
    for (const auto &r : rows) {
        const QPointF at = f.at(points[r.dot].x, points[r.dot].y, area) + r.off;
        EXPECT_EQ(nearestPoint(f, points, area, at, 4), r.found) << r.dot;
    }
    EXPECT_EQ(pointText(f, points[1]), "RPM 2400, MAP 20.50, LFT1 1.5");
}

} // namespace
} // namespace vexa::test
