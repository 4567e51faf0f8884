#include "PlotFile.h"

#include "PlotPainter.h"
#include "export/LogFile.h"
#include "export/OutputFormat.h"

namespace vexa {

namespace {

// Reads the log's scans and writes the whole log, drawn as the window draws
// it without a window, at a size that gives each channel room. Throws
// RuntimeError on any failure.
template <bool Svg>
void savePlotFile(const QString &path, LogKind, const LogIndexEntry &entry, ExportContext &context)
{
    context.host.showStatusNow(QStringLiteral("Saving %1 scan records...").arg(entry.scanCount));
    const PlotData plot =
        readPlotData(entry, *context.scanDatabase, context.bytes, context.dates.locale());
    const PlotStyle style(plot);
    const QString heading = plotHeading(plot, context.dates);
    const QSize size(1200, std::max(300, 40 + 110 * static_cast<int>(plot.channels.size())));
    const PlotScene scene = style.layout(size, fullRange(plot), PanelLayout(plot.channels.size()),
                                         TimeMode::TimeOfDay, heading);
    const Painting paint = [&](QPainter &painter) { paintScene(painter, style, scene); };
    writeFileBytes(path, Svg ? svgPicture(size, heading, paint) : pngPicture(size, paint));
}

} // namespace

void registerPlotFileWriters()
{
    registerOutputWriter(OutputFormat::Png, savePlotFile<false>);
    registerOutputWriter(OutputFormat::Svg, savePlotFile<true>);
}

} // namespace vexa
