// What one channel's panel draws for a time range and a width in pixels: at
// most the lowest and highest value of each pixel column, so drawing costs
// follow the width and not the scan count. The full data stays in PlotData.
#pragma once

#include "PlotData.h"

#include <QPointF>

#include <vector>

namespace vexa {

struct TimeRange {
    double from = 0; // ms since midnight of the log's day
    double to = 0;
};

// A stretch of columns whose samples all carry the same non-zero status.
struct GapMark {
    double x;
    std::int16_t status;
};

struct ReducedChannel {
    // Lines broken where a whole column holds only gaps. Points are samples
    // (time, value), in time order.
    std::vector<std::vector<QPointF>> segments;
    // One mark per column that holds a gap, at the column's middle.
    std::vector<GapMark> gaps;
    double minValue = 0; // of the points drawn; 0..1 when nothing is drawn
    double maxValue = 1;
    // A value in range was NaN or infinite: with no line, why there is none.
    bool notNumbers = false;
};

// The whole log, with a little room when it has a single instant.
TimeRange fullRange(const PlotData &plot);

// Each unbroken stretch is a series of its own on screen, so a log that
// gaps every few columns would cost a series per stretch.
constexpr std::size_t MaxSegments = 64;

// Samples from the last scan before `range` to the first after it, so the
// lines reach the edges. `columns` of at least 1. Past `maxSegments` the
// narrowest breaks are bridged; their gap marks stay.
ReducedChannel reduceChannel(const PlotData &plot, const ChannelSeries &channel, TimeRange range,
                             int columns, std::size_t maxSegments = MaxSegments);

} // namespace vexa
