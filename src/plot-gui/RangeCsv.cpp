#include "RangeCsv.h"

#include "export/TextLogWriter.h"
#include "format/OleDate.h"
#include "format/ScanRecord.h"

namespace vexa {

void writeRangeCsv(QIODevice &out, const PlotData &plot, std::size_t first, std::size_t last,
                   const DateText &dates)
{
    // The start as the files count it: the recorded durations before the
    // stretch, negative ones included.
    std::int64_t elapsed = 0; // 10 ms units
    for (std::size_t k = 0; k < first && k < plot.scanTimes.size(); ++k)
        elapsed += plot.scanTimes[k];
    const std::int64_t start = oledate::toMilliseconds(plot.entry.logTime) + elapsed * 10;
    const std::int64_t days = start >= 0 ? start / oledate::MsPerDay
                                         : (start - oledate::MsPerDay + 1) / oledate::MsPerDay;
    LogIndexEntry entry = plot.entry;
    entry.logDate += static_cast<double>(days);
    entry.logTime = oledate::fromMilliseconds(start - days * oledate::MsPerDay);

    ScanTextWriter writer(out, entry, TextFormat::Csv, dates);
    for (std::size_t k = first; k <= last && k < plot.scanCount(); ++k) {
        ScanRecord scan;
        scan.scanTime = plot.scanTimes[k];
        for (const std::vector<ChannelSeries> *list : {&plot.channels, &plot.emptySlots})
            for (const ChannelSeries &c : *list) {
                scan.channelStatus[c.slot] = c.status[k];
                scan.channelValue[c.slot] = c.values[k];
            }
        writer.write(scan);
    }
}

} // namespace vexa
