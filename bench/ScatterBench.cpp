// The tuning table's Scatter... over the plot of a 32,767-scan log: from the
// click, through the table made from the plot's scans, to the scatter
// window's first paint, at most 100 ms. Also a million dots' first paint.
// Headless: QT_QPA_PLATFORM=offscreen build/bin/bench_scatter
// On a display: xvfb-run -a build/bin/bench_scatter
#include "BenchHandheld.h"
#include "NoSettings.h"

#include "analysis-gui/PlotTable.h"
#include "analysis-gui/ScatterWindow.h"
#include "analysis-gui/TableWindow.h"
#include "analysis/ScatterFrame.h"
#include "core/UnattendedHost.h"
#include "format/IndexRecord.h"
#include "store/SyncComponent.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>

#include <cmath>
#include <cstdio>

namespace vexa::bench {
namespace {

constexpr int Scans = 32767;
constexpr int Runs = 5;

// Waits for `widget`'s first paint: the filter sees it before it is
// painted, the loop returns once it has been.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QWidget *widget) : m_widget(widget) {}
    bool painted() const { return m_painted; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget && event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }

private:
    const QWidget *m_widget;
    bool m_painted = false;
};

void untilPainted(const FirstPaint &watch, const QElapsedTimer &clock)
{
    while (!watch.painted() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Scatter... in a table window over the plot, to the first paint.
double scatterOfPlot(QApplication &app, const PlotData &plot, const SyncComponent &sync,
                     UserInterface &ui)
{
    NoSettings settings;
    TableWindow table(
        plot.title,
        [&](const TableRequest &request) {
            const auto bytes = sync.createByteUtility();
            return plotTable(plot, *bytes, request);
        },
        ui, settings);
    table.setChannels(QStringLiteral("RPM"), QStringLiteral("MAP"), QStringLiteral("IPW1"));
    QElapsedTimer clock;
    clock.start();
    table.openScatter();
    ScatterWindow *scatter = table.scatterWindow();
    if (!scatter || scatter->view()->pointCount() != std::size_t(Scans))
        return -1;
    FirstPaint watch(scatter->view());
    app.installEventFilter(&watch);
    untilPainted(watch, clock);
    const double seconds = clock.nsecsElapsed() / 1e9;
    app.removeEventFilter(&watch);
    return watch.painted() ? seconds : -1;
}

// A million scans spread as a pooled logbook's would be.
std::shared_ptr<const std::vector<CountedScan>> millionPoints()
{
    auto points = std::make_shared<std::vector<CountedScan>>();
    for (int k = 0; k < 1'000'000; ++k)
        points->push_back({float(800 + 6400 * std::fmod(k * 0.618034, 1.0)),
                           float(2 + 28 * std::fmod(k * 0.414214, 1.0)),
                           float(10 * std::sin(k * 0.001))});
    return points;
}

// What the pointer over the million dots costs: the nearest dot found.
double millionReadout(const std::vector<CountedScan> &points)
{
    const ScatterFrame frame = scatterFrame("RPM", "MAP", "LFT1", points);
    QElapsedTimer clock;
    clock.start();
    const auto found = nearestPoint(frame, points, QRectF(0, 0, 700, 500), {350, 250}, 4);
    const double seconds = clock.nsecsElapsed() / 1e9;
    return found ? seconds : -1;
}

// A million dots to the first paint.
double millionDots(QApplication &app, UserInterface &ui,
                   const std::shared_ptr<const std::vector<CountedScan>> &points)
{
    const CellTable table{"RPM", "MAP", "LFT1", {}, {}, {}, 10};
    QElapsedTimer clock;
    clock.start();
    auto *scatter =
        new ScatterWindow(QStringLiteral("a million scans"), points, table, ui, nullptr);
    FirstPaint watch(scatter->view());
    app.installEventFilter(&watch);
    scatter->show();
    untilPainted(watch, clock);
    const double seconds = clock.nsecsElapsed() / 1e9;
    app.removeEventFilter(&watch);
    delete scatter;
    return watch.painted() ? seconds : -1;
}

} // namespace
} // namespace vexa::bench

int main(int argc, char **argv)
{
    using namespace vexa;
    using namespace vexa::bench;
    QApplication app(argc, argv);
    BenchHandheld handheld;
    fillRirodLogs(handheld, 1, Scans);
    const SyncComponent sync;
    const auto bytes = sync.createByteUtility();
    const Bytes index = rirodIndexRecord(Scans, 1);
    const PlotData plot =
        readPlotData(IndexRecord::parse(*bytes, index, LogKind::Rirod, 1).entry(1),
                     *handheld.open("RirodData"), *bytes, QLocale::c());
    UnattendedHost ui;

    const auto points = millionPoints();
    std::vector<double> seconds, million, readout;
    for (int run = 0; run < Runs; ++run) {
        seconds.push_back(scatterOfPlot(app, plot, sync, ui));
        million.push_back(millionDots(app, ui, points));
        readout.push_back(millionReadout(*points));
        if (seconds.back() < 0 || million.back() < 0 || readout.back() < 0) {
            std::printf("FAIL: the scatter did not open or paint\n");
            return 1;
        }
        std::printf("run %d: %.1f ms; a million dots %.1f ms\n", run + 1, seconds.back() * 1e3,
                    million.back() * 1e3);
    }
    const double first = median(seconds);
    std::printf("platform %s, median of %d runs\n", qPrintable(QGuiApplication::platformName()),
                Runs);
    std::printf("Scatter... over a %d-scan plot to first paint  %7.1f ms  (at most 100 ms)\n",
                Scans, first * 1e3);
    std::printf("1,000,000 dots to first paint                  %7.1f ms\n", median(million) * 1e3);
    std::printf("the pointer's readout over 1,000,000 dots      %7.1f ms\n", median(readout) * 1e3);
    const bool ok = first <= 0.1;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
