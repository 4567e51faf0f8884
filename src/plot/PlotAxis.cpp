#include "PlotAxis.h"

#include "format/OleDate.h"
#include "format/ParamCatalogue.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace vexa {

QString numberText(double value, int decimals)
{
    QString text = QString::number(value, 'f', std::max(decimals, 0));
    // A value that rounds to zero keeps no sign.
    if (text.startsWith(QLatin1Char('-')) &&
        text.indexOf(QRegularExpression(QStringLiteral("[1-9]"))) < 0)
        text.remove(0, 1);
    return text;
}

namespace {

// The smallest step of 1, 2 or 5 times a power of ten that divides `span`
// into at most `most` - 1 parts.
double roundStep(double span, int most)
{
    const double raw = span / std::max(most - 1, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw * (1 - 1e-9))
            return m * power;
    return 10 * power;
}

// Steps of whole seconds, minutes and hours that read as a clock does.
double clockStep(double spanMs, int most)
{
    const double raw = spanMs / std::max(most - 1, 1);
    if (raw < 1000)
        return roundStep(spanMs, most);
    for (const double s : {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0, 600.0, 900.0,
                           1800.0, 3600.0, 7200.0, 10800.0, 21600.0})
        if (s * 1000 >= raw)
            return s * 1000;
    return 43200e3;
}

// The next smaller of 1, 2 or 5 times a power of ten.
double smallerStep(double step)
{
    const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double mantissa = step / power;
    return mantissa > 4 ? 2 * power : mantissa > 1.5 ? power : power / 2;
}

int decimalsOf(double step)
{
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

} // namespace

std::vector<Tick> valueTicks(double low, double high, int most)
{
    std::vector<Tick> ticks;
    if (!(high > low) || !std::isfinite(high - low))
        return ticks;
    most = std::max(most, 2);
    // A step that leaves a single tick in the span gives way to a smaller
    // one: a panel always shows at least two values.
    for (double step = roundStep(high - low, most); ticks.size() < 2; step = smallerStep(step)) {
        ticks.clear();
        const int decimals = decimalsOf(step);
        // Past eight digits a label would crowd the panel out: "2e+38".
        const bool power = step >= 1e8;
        for (double k = std::ceil(low / step - 1e-9); k * step <= high + step * 1e-9; ++k)
            ticks.push_back({k * step, power ? QString::number(k * step, 'g', 3)
                                             : numberText(k * step, decimals)});
    }
    return ticks;
}

std::vector<Tick> timeTicks(double from, double to, double start, TimeMode mode, int most)
{
    std::vector<Tick> ticks;
    if (!(to > from))
        return ticks;
    most = std::max(most, 2);
    const double origin = mode == TimeMode::FromStart ? start : 0;
    // Smaller steps while a single tick would show, down to the hundredth
    // the scans count.
    for (int more = most; ticks.size() < 2; ++more) {
        const double step =
            mode == TimeMode::FromStart ? roundStep(to - from, more) : clockStep(to - from, more);
        if (step < 10 && !ticks.empty())
            break;
        ticks.clear();
        const int decimals = std::max(decimalsOf(step / 1000), 0);
        for (double k = std::ceil((from - origin) / step - 1e-9); origin + k * step <= to + 1e-6;
             ++k) {
            const double at = origin + k * step;
            QString text;
            if (mode == TimeMode::FromStart)
                text = numberText(k * step / 1000, decimals);
            else if (step < 1000)
                text = timeOfDayText(std::round(at)).left(decimals == 1 ? 10 : 11);
            else
                text = timeOfDayText(std::round(at)).left(8);
            ticks.push_back({at, text});
        }
        if (step < 10)
            break;
    }
    return ticks;
}

double minimumValueSpan(const ChannelSeries &channel)
{
    double low = INFINITY, high = -INFINITY;
    for (std::size_t k = 0; k < channel.values.size(); ++k) {
        const float v = channel.values[k];
        if (channel.drawn(k) && std::isfinite(v)) {
            low = std::min<double>(low, v);
            high = std::max<double>(high, v);
        }
    }
    const ParamRow *row = findParam(channel.code);
    const int decimals = row && row->decimals > 0 ? row->decimals : 0;
    const double resolution = 10 * std::pow(10.0, -decimals);
    return std::max(high > low && std::isfinite(high - low) ? (high - low) / 20 : 0, resolution);
}

ValueSpan valueSpan(double low, double high, double minimumSpan)
{
    if (!(high >= low) || !std::isfinite(high - low))
        return {low, high};
    const double pad = (high - low) / 20;
    ValueSpan span{low - pad, high + pad};
    if (span.high - span.low < minimumSpan) {
        const double middle = low / 2 + high / 2;
        span = {middle - minimumSpan / 2, middle + minimumSpan / 2};
    }
    return span;
}

} // namespace vexa
