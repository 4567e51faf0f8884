// Numbers over a stretch of a log: its start, end and duration, and for each
// channel the lowest, highest and mean of the scans with status 0, as tab-
// separated text with "." decimals for a spreadsheet.
#pragma once

#include "PlotAxis.h"
#include "PlotReduction.h"

#include <QStringList>

#include <vector>

namespace vexa {

struct ChannelStats {
    std::size_t values = 0; // scans of status 0 with a finite value
    double min = 0;
    double max = 0;
    double mean = 0;
};

struct RangeStats {
    std::size_t first = 0; // scans, both included
    std::size_t last = 0;
    double start = 0; // ms since midnight of the log's day
    double end = 0;
    std::vector<ChannelStats> channels; // as PlotData's

    std::size_t scans() const { return last - first + 1; }
    double duration() const { return end - start; }
};

// Scans `first`..`last` in either order; the log must hold scans.
RangeStats rangeStats(const PlotData &plot, std::size_t first, std::size_t last);
// The scans that start inside `range`; the one at its start when none does.
RangeStats viewStats(const PlotData &plot, TimeRange range);

// The lines and cells of the text: four of the range, a heading, a line per
// channel (code, unit, minimum, maximum, mean, values counted).
std::vector<QStringList> rangeStatsCells(const PlotData &plot, const RangeStats &stats,
                                         TimeMode mode);
// Cells joined by tabs, lines by "\n".
QString rangeStatsText(const PlotData &plot, const RangeStats &stats, TimeMode mode);

} // namespace vexa
