#include "PlotTable.h"

#include "TableWindow.h"

#include "core/RuntimeError.h"
#include "format/ScanRecord.h"
#include "store/SyncComponent.h"

#include <QStringList>

#include <memory>

namespace vexa {

LogbookTable plotTable(const PlotData &plot, vexasync::ByteUtility &bytes,
                       const TableRequest &request)
{
    // The plot holds each scan as read; the core reads records, so they are
    // written again as the logger wrote them.
    std::vector<std::vector<std::uint8_t>> records(plot.scanCount());
    for (std::size_t s = 0; s < records.size(); ++s) {
        ScanRecord scan;
        scan.scanTime = plot.scanTimes[s];
        for (const auto *held : {&plot.channels, &plot.emptySlots})
            for (const ChannelSeries &c : *held) {
                scan.channelStatus[std::size_t(c.slot)] = c.status[s];
                scan.channelValue[std::size_t(c.slot)] = c.values[s];
            }
        records[s] = renderScanRecord(bytes, scan);
    }
    const std::vector<std::span<const std::uint8_t>> spans(records.begin(), records.end());
    TableBuilder builder(request, bytes);
    const std::vector<std::string> lacking = builder.addLog(plot.entry.paramCodes, spans);
    if (!lacking.empty()) {
        QStringList codes;
        for (const std::string &code : lacking)
            codes << QString::fromStdString(code);
        throw RuntimeError(ErrorNumber::InvalidCall,
                           QStringLiteral("The log lacks %1").arg(codes.join(", ")));
    }
    LogbookTable made;
    made.logsUsed = 1;
    made.table = builder.table();
    made.points = builder.counted();
    return made;
}

void openPlotTable(const PlotData &plot, const SyncComponent &sync, UserInterface &ui,
                   SettingsStore &settings, QWidget *plotWindow)
{
    auto held = std::make_shared<const PlotData>(plot);
    auto *table = new TableWindow(
        plot.title,
        [held, &sync](const TableRequest &request) {
            const auto bytes = sync.createByteUtility();
            return plotTable(*held, *bytes, request);
        },
        ui, settings, plotWindow);
    table->show();
    table->makeTable();
}

} // namespace vexa
