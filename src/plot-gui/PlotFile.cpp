#include "PlotFile.h"

#include "PlotView.h"
#include "export/LogFile.h"
#include "export/OutputFormat.h"
#include "format/OleDate.h"

#include <QCoreApplication>

namespace vexa {

namespace {

QtMessageHandler g_previous = nullptr;

// The offscreen platform says it can't size a window by hints; the picture
// does not need it.
void withoutSizeHintNote(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (!text.contains(QLatin1String("propagateSizeHints")) && g_previous)
        g_previous(type, context, text);
}

// Reads the log's scans and writes the picture. Throws RuntimeError on any
// failure.
template <QByteArray (PlotView::*Picture)()>
void savePlotFile(const QString &path, LogKind, const LogIndexEntry &entry, ExportContext &context)
{
    context.host.showStatusNow(QStringLiteral("Saving %1 scan records...").arg(entry.scanCount));
    PlotView view(readPlotData(entry, *context.scanDatabase, context.bytes, context.dates.locale()),
                  oledate::toDate(entry.logDate));
    const int channels = static_cast<int>(view.data().channels.size());
    view.resize(1200, std::max(300, 40 + 110 * channels));
    // Laid out as on screen, without a screen.
    view.setAttribute(Qt::WA_DontShowOnScreen);
    g_previous = qInstallMessageHandler(withoutSizeHintNote);
    view.show();
    qInstallMessageHandler(g_previous);
    QCoreApplication::processEvents();
    view.resetZoom();
    QCoreApplication::processEvents();
    writeFileBytes(path, (view.*Picture)());
}

} // namespace

void registerPlotFileWriters()
{
    registerOutputWriter(OutputFormat::Png, savePlotFile<&PlotView::png>);
    registerOutputWriter(OutputFormat::Svg, savePlotFile<&PlotView::svg>);
}

} // namespace vexa
