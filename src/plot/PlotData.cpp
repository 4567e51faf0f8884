#include "PlotData.h"

#include "format/OleDate.h"
#include "format/ParamCatalogue.h"
#include "format/ScanRecord.h"

#include <algorithm>
#include <cmath>

namespace vexa {

std::string ChannelSeries::valueText(std::size_t scan) const
{
    return drawn(scan) ? format.format(values[scan]) : statusLabel(status[scan]);
}

std::size_t PlotData::scanAt(double ms) const
{
    const auto after = std::upper_bound(times.begin(), times.end(), ms,
                                        [](double t, std::int32_t start) { return t < start; });
    return after == times.begin() ? 0 : static_cast<std::size_t>(after - times.begin() - 1);
}

std::size_t PlotData::heldBytes() const
{
    std::size_t bytes = times.capacity() * sizeof(std::int32_t);
    bytes += scanTimes.capacity() * sizeof(std::int16_t);
    for (const std::vector<ChannelSeries> *list : {&channels, &emptySlots})
        for (const ChannelSeries &c : *list)
            bytes +=
                c.values.capacity() * sizeof(float) + c.status.capacity() * sizeof(std::int16_t);
    return bytes;
}

PlotData readPlotData(const LogIndexEntry &entry, vexasync::RecordAdapter &scans,
                      vexasync::ByteUtility &bytes, const QLocale &locale)
{
    PlotData plot;
    plot.title = entry.text.section(QStringLiteral("\r\n"), 0, 0);
    plot.entry = entry;
    for (int c = 0; c < ChannelSlots; ++c) {
        const std::string_view code = paramNumberToCode(entry.paramCodes[c]);
        (entry.paramCodes[c] == 0 ? plot.emptySlots : plot.channels)
            .push_back({c,
                        std::string(code),
                        std::string(paramCodeToUnits(code)),
                        std::string(paramCodeToDescription(code)),
                        ValueFormat(code, locale),
                        {},
                        {}});
    }

    ScanReader reader(scans, bytes, entry);
    const auto count = static_cast<std::size_t>(std::max(reader.count(), 0));
    plot.times.reserve(count);
    plot.scanTimes.reserve(count);
    for (std::vector<ChannelSeries> *list : {&plot.channels, &plot.emptySlots})
        for (ChannelSeries &c : *list) {
            c.values.reserve(count);
            c.status.reserve(count);
        }
    // Whole 10 ms units, as the files count them; only the day's part of the
    // start time matters.
    const std::int64_t start = oledate::toMilliseconds(entry.logTime) % oledate::MsPerDay;
    std::int64_t elapsed = 0;
    for (int k = 1; k <= reader.count(); ++k) {
        const ScanRecord scan = reader.read(k);
        plot.times.push_back(static_cast<std::int32_t>(start + elapsed));
        plot.scanTimes.push_back(scan.scanTime);
        for (std::vector<ChannelSeries> *list : {&plot.channels, &plot.emptySlots})
            for (ChannelSeries &c : *list) {
                c.values.push_back(scan.channelValue[c.slot]);
                c.status.push_back(scan.channelStatus[c.slot]);
            }
        // A negative duration is checked like any other but never moves the
        // axis back.
        elapsed += std::max<std::int16_t>(scanMilliseconds(scan.scanTime), 0);
    }
    return plot;
}

QString timeOfDayText(double ms)
{
    const auto hundredths = static_cast<std::int64_t>(std::floor(ms / 10));
    const std::int64_t day = oledate::MsPerDay / 10;
    const std::int64_t t = ((hundredths % day) + day) % day;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(t / 360000, 2, 10, QLatin1Char('0'))
        .arg(t / 6000 % 60, 2, 10, QLatin1Char('0'))
        .arg(t / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(t % 100, 2, 10, QLatin1Char('0'));
}

std::string statusLabel(std::int16_t status)
{
    if (status == TimedOutStatus)
        return "T.O.";
    return (status > 0 ? "E" : "S") + std::to_string(status);
}

QString statusReason(std::int16_t status)
{
    if (status == TimedOutStatus)
        return QStringLiteral("T.O.: the data link timed out");
    if (status > 0)
        return QStringLiteral("E%1: the logger reported error %1").arg(status);
    return QStringLiteral("S%1: the logger flagged the value (status %1)").arg(status);
}

} // namespace vexa
