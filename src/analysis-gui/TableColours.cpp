#include "TableColours.h"

#include <algorithm>
#include <cmath>

namespace vexa {

namespace {

bool isTrim(const std::string &code)
{
    return code.starts_with("LFT") || code.starts_with("SFT");
}

QColor mix(const QColor &from, const QColor &to, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t));
}

} // namespace

ColourScale colourScale(const CellTable &table, CellStat stat)
{
    ColourScale scale;
    bool any = false;
    for (std::size_t yi = 0; yi < table.yAxis.size(); ++yi)
        for (std::size_t xi = 0; xi < table.xAxis.size(); ++xi) {
            if (!table.filled(xi, yi))
                continue;
            const double v = table.at(xi, yi).stat(stat);
            scale.low = any ? std::min(scale.low, v) : v;
            scale.high = any ? std::max(scale.high, v) : v;
            any = true;
        }
    // Counts are never below 0: a trim's counts are still a quantity.
    scale.diverging = stat != CellStat::Count &&
                      (isTrim(table.value) || (any && scale.low < 0 && scale.high > 0));
    return scale;
}

QColor ColourScale::colour(double value) const
{
    const QColor white(255, 255, 255);
    if (diverging) {
        const double reach = std::max(std::abs(low), std::abs(high));
        if (reach == 0)
            return white;
        return value < 0 ? mix(white, QColor(50, 60, 230), -value / reach)
                         : mix(white, QColor(230, 60, 50), value / reach);
    }
    const double t = high > low ? (value - low) / (high - low) : 0.5;
    return mix(QColor(255, 245, 220), QColor(230, 120, 20), t);
}

} // namespace vexa
