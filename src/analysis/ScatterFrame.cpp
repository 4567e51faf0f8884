#include "ScatterFrame.h"

#include "format/ValueFormat.h"

#include <algorithm>
#include <cmath>

namespace vexa {

namespace {

struct Range {
    double low = 0, high = 0;

    // A single value, or all equal, still gets an axis: a tenth of the
    // value (at least 1) about it.
    double fallback() const { return high > low ? 0.0 : std::max(std::abs(low) / 10, 1.0); }
};

} // namespace

ScatterFrame scatterFrame(const std::string &x, const std::string &y, const std::string &value,
                          std::span<const CountedScan> points)
{
    Range xs, ys, vs;
    bool first = true;
    const auto take = [&first](Range &r, double v) {
        r.low = first ? v : std::min(r.low, v);
        r.high = first ? v : std::max(r.high, v);
    };
    for (const CountedScan &p : points) {
        take(xs, p.x);
        take(ys, p.y);
        take(vs, p.value);
        first = false;
    }
    ScatterFrame frame;
    frame.x = x;
    frame.y = y;
    frame.value = value;
    frame.xSpan = valueSpan(xs.low, xs.high, xs.fallback());
    frame.ySpan = valueSpan(ys.low, ys.high, ys.fallback());
    frame.colours = colourScale(value, vs.low, vs.high);
    // The bar ends at the values' ends: its colours are all the dots'.
    frame.colourSpan =
        vs.high > vs.low ? ValueSpan{vs.low, vs.high} : valueSpan(vs.low, vs.high, vs.fallback());
    frame.points = points.size();
    return frame;
}

std::optional<std::size_t> nearestPoint(const ScatterFrame &frame,
                                        std::span<const CountedScan> points, const QRectF &area,
                                        QPointF at, double reach)
{
    std::optional<std::size_t> nearest;
    double best = reach * reach;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF d = frame.at(points[i].x, points[i].y, area) - at;
        const double squared = d.x() * d.x() + d.y() * d.y();
        if (squared <= best) {
            best = squared;
            nearest = i;
        }
    }
    return nearest;
}

std::string pointText(const ScatterFrame &frame, const CountedScan &point)
{
    std::string text;
    for (const auto &[code, value] :
         {std::pair{&frame.x, point.x}, {&frame.y, point.y}, {&frame.value, point.value}})
        text += (text.empty() ? "" : ", ") + *code + ' ' + ValueFormat::number(*code).format(value);
    return text;
}

std::vector<Tick> scatterTicks(const ValueSpan &span, double pixels)
{
    return valueTicks(span.low, span.high, std::max(2, int(pixels / 60)));
}

} // namespace vexa
