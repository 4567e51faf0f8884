#include "PlotReduction.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vexa {

TimeRange fullRange(const PlotData &plot)
{
    if (plot.times.empty())
        return {0, 1000};
    const double from = plot.times.front();
    const double to = plot.times.back();
    return to > from ? TimeRange{from, to} : TimeRange{from - 500, from + 500};
}

namespace {

// The samples of one column: the first gap status, and the lowest and
// highest drawn value in the order they came.
struct Column {
    bool any = false;
    std::size_t low = 0;
    std::size_t high = 0;
    bool gap = false;
    std::int16_t gapStatus = 0;
};

// Turns columns into line segments, breaking a line at a column that holds
// only gaps.
struct Reducer {
    const PlotData &plot;
    const ChannelSeries &channel;
    ReducedChannel &out;
    bool broken = false;
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    void flush(const Column &col, double middle)
    {
        if (col.any) {
            if (broken || out.segments.empty())
                out.segments.emplace_back();
            broken = false;
            add(std::min(col.low, col.high));
            if (col.low != col.high)
                add(std::max(col.low, col.high));
        } else if (col.gap) {
            broken = true;
        }
        if (col.gap)
            out.gaps.push_back({middle, col.gapStatus});
    }

    void add(std::size_t scan)
    {
        const double v = channel.values[scan];
        out.segments.back().emplace_back(plot.times[scan], v);
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

// Joins the segments across their narrowest breaks until at most `max` are
// left; the widest breaks stay.
void bridgeNarrowBreaks(std::vector<std::vector<QPointF>> &segments, std::size_t max)
{
    if (segments.size() <= max)
        return;
    std::vector<std::pair<double, std::size_t>> breaks; // width, segment after it
    for (std::size_t i = 1; i < segments.size(); ++i)
        breaks.emplace_back(segments[i].front().x() - segments[i - 1].back().x(), i);
    std::sort(breaks.begin(), breaks.end());
    std::vector<bool> join(segments.size(), false);
    for (std::size_t b = 0; b < segments.size() - std::max<std::size_t>(max, 1); ++b)
        join[breaks[b].second] = true;
    std::vector<std::vector<QPointF>> joined;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (join[i])
            joined.back().insert(joined.back().end(), segments[i].begin(), segments[i].end());
        else
            joined.push_back(std::move(segments[i]));
    }
    segments = std::move(joined);
}

} // namespace

ReducedChannel reduceChannel(const PlotData &plot, const ChannelSeries &channel, TimeRange range,
                             int columns, std::size_t maxSegments)
{
    ReducedChannel out;
    if (plot.times.empty())
        return out;
    columns = std::max(columns, 1);
    const double width = std::max(range.to - range.from, 1e-9);
    const auto &times = plot.times;
    std::size_t begin = plot.scanAt(range.from);
    std::size_t end = static_cast<std::size_t>(
        std::upper_bound(times.begin(), times.end(), range.to,
                         [](double t, std::int32_t start) { return t < start; }) -
        times.begin());
    end = std::min(end + 1, times.size());

    Reducer reducer{plot, channel, out};
    Column col;
    long current = std::numeric_limits<long>::min();
    double middle = 0;
    for (std::size_t i = begin; i < end; ++i) {
        // Samples just outside the range get columns of their own.
        long index = static_cast<long>(std::floor((times[i] - range.from) / width * columns));
        if (times[i] <= range.to)
            index = std::min(index, static_cast<long>(columns) - 1); // the right edge
        if (index != current) {
            reducer.flush(col, middle);
            bridgeNarrowBreaks(out.segments, maxSegments);
            col = {};
            current = index;
            middle = range.from + (static_cast<double>(index) + 0.5) * width / columns;
        }
        if (!channel.drawn(i)) {
            if (!col.gap) {
                col.gap = true;
                col.gapStatus = channel.status[i];
            }
            continue;
        }
        const float v = channel.values[i];
        if (!std::isfinite(v)) {
            out.notNumbers = true; // shown in the readout only
            continue;
        }
        if (!col.any) {
            col.any = true;
            col.low = col.high = i;
        } else if (v < channel.values[col.low]) {
            col.low = i;
        } else if (v > channel.values[col.high]) {
            col.high = i;
        }
    }
    reducer.flush(col, middle);
    bridgeNarrowBreaks(out.segments, maxSegments);
    if (reducer.low <= reducer.high) {
        out.minValue = reducer.low;
        out.maxValue = reducer.high;
    }
    return out;
}

} // namespace vexa
