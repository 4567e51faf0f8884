#include "RangeStats.h"

#include "format/ParamCatalogue.h"

#include <algorithm>
#include <cmath>

namespace vexa {

RangeStats rangeStats(const PlotData &plot, std::size_t first, std::size_t last)
{
    RangeStats stats;
    const std::size_t end = plot.scanCount() - 1;
    stats.first = std::min(std::min(first, last), end);
    stats.last = std::min(std::max(first, last), end);
    stats.start = plot.times[stats.first];
    stats.end = plot.times[stats.last];
    for (const ChannelSeries &c : plot.channels) {
        ChannelStats s;
        double sum = 0;
        for (std::size_t k = stats.first; k <= stats.last; ++k) {
            const double v = c.values[k];
            if (!c.drawn(k) || !std::isfinite(v))
                continue;
            s.min = s.values ? std::min(s.min, v) : v;
            s.max = s.values ? std::max(s.max, v) : v;
            sum += v;
            ++s.values;
        }
        s.mean = s.values ? sum / static_cast<double>(s.values) : 0;
        stats.channels.push_back(s);
    }
    return stats;
}

RangeStats viewStats(const PlotData &plot, TimeRange range)
{
    std::size_t first = plot.scanAt(range.from);
    if (plot.times[first] < range.from && first + 1 < plot.scanCount() &&
        plot.times[first + 1] <= range.to)
        ++first;
    return rangeStats(plot, first, std::max(first, plot.scanAt(range.to)));
}

namespace {

QString timeText(double ms, double logStart, TimeMode mode)
{
    return mode == TimeMode::FromStart ? numberText((ms - logStart) / 1000, 2) : timeOfDayText(ms);
}

} // namespace

std::vector<QStringList> rangeStatsCells(const PlotData &plot, const RangeStats &stats,
                                         TimeMode mode)
{
    const double logStart = plot.times.empty() ? 0 : plot.times.front();
    std::vector<QStringList> lines{
        {QStringLiteral("Start"), timeText(stats.start, logStart, mode)},
        {QStringLiteral("End"), timeText(stats.end, logStart, mode)},
        {QStringLiteral("Duration (s)"), numberText(stats.duration() / 1000, 2)},
        {QStringLiteral("Scans"), QStringLiteral("%1 to %2 (%3)")
                                      .arg(stats.first + 1)
                                      .arg(stats.last + 1)
                                      .arg(stats.scans())},
        {QStringLiteral("Channel"), QStringLiteral("Unit"), QStringLiteral("Minimum"),
         QStringLiteral("Maximum"), QStringLiteral("Mean"), QStringLiteral("Values")}};
    for (std::size_t i = 0; i < plot.channels.size(); ++i) {
        const ChannelSeries &c = plot.channels[i];
        const ChannelStats &s = stats.channels[i];
        const ParamRow *row = findParam(c.code);
        const int decimals = row && row->decimals > 0 ? row->decimals : 0;
        QStringList cells{QString::fromStdString(c.code), QString::fromStdString(c.units)};
        if (s.values)
            cells << numberText(s.min, decimals) << numberText(s.max, decimals)
                  << numberText(s.mean, decimals + 1);
        else
            cells << QString() << QString() << QString();
        cells << QString::number(s.values);
        lines.push_back(cells);
    }
    return lines;
}

QString rangeStatsText(const PlotData &plot, const RangeStats &stats, TimeMode mode)
{
    QString text;
    for (const QStringList &cells : rangeStatsCells(plot, stats, mode))
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

} // namespace vexa
