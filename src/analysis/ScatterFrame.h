// The frame of a scatter of the scans a table counts: X across, Y up, each
// dot coloured by the value. Its axes are the plot's: spans with room at
// each end and round ticks.
#pragma once

#include "CellTable.h"
#include "ColourScale.h"

#include "plot/PlotAxis.h"

#include <QRectF>

#include <optional>
#include <span>

namespace vexa {

struct ScatterFrame {
    std::string x, y, value; // channel codes
    ValueSpan xSpan, ySpan;
    ColourScale colours;  // over the values' range
    ValueSpan colourSpan; // what the colour bar shows: that range, never empty
    std::size_t points = 0;

    // `area`'s left edge is X's low end, its bottom edge Y's.
    QPointF at(double x, double y, const QRectF &area) const
    {
        return {area.left() + (x - xSpan.low) / (xSpan.high - xSpan.low) * area.width(),
                area.bottom() - (y - ySpan.low) / (ySpan.high - ySpan.low) * area.height()};
    }
};

ScatterFrame scatterFrame(const std::string &x, const std::string &y, const std::string &value,
                          std::span<const CountedScan> points);

// The scan drawn nearest to `at` within `reach` pixels of `area`, or none;
// of scans drawn on one spot, the last, which is on top.
std::optional<std::size_t> nearestPoint(const ScatterFrame &frame,
                                        std::span<const CountedScan> points, const QRectF &area,
                                        QPointF at, double reach);

// "RPM 1840, MAP 11.2, LFT1 2.34": a scan as its channels show values.
std::string pointText(const ScatterFrame &frame, const CountedScan &point);

// Round ticks for an axis `pixels` long, about one per 60 pixels.
std::vector<Tick> scatterTicks(const ValueSpan &span, double pixels);

} // namespace vexa
