// Opening the plot of a 32,767-scan, ten-channel log from a double-click on
// its list line: at most 150 ms until the panels have painted once, and the
// memory it takes at most six times the log's decoded size. The same log
// with every sample a gap, each scan with a status of its own, at most 1.5
// times as long.
// Headless: QT_QPA_PLATFORM=offscreen build/bin/bench_plot_open
// On a display: xvfb-run -a build/bin/bench_plot_open
#include "BenchHandheld.h"
#include "core/UnattendedHost.h"

#include "app/MainWindow.h"
#include "desktop/SavedPaths.h"
#include "format/ScanRecord.h"
#include "plot-gui/PlotView.h"
#include "plot-gui/PlotWindow.h"
#include "store/SyncComponent.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTest>

#include <cstdio>
#include <malloc.h>
#include <set>

namespace vexa::bench {
namespace {

constexpr int Scans = 32767;
constexpr int Runs = 5;

// Heap bytes in use: what the open plot holds, whatever the allocator
// keeps from earlier runs.
double heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * 4096;
}

// Waits until every panel of the plot window has painted.
class FirstPaint : public QObject {
public:
    bool allPainted(const PlotWindow *plot) const
    {
        return plot && m_painted.count(plot->view()) && !plot->view()->scene().panels.empty();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted.insert(watched);
        return false;
    }

private:
    std::set<const QObject *> m_painted;
};

// The plot's choices are not the user's to change here.
class NoSettings final : public SettingsStore {
public:
    QString read(const QString &, const QString &, const QString &fallback) override
    {
        return fallback;
    }
    void write(const QString &, const QString &, const QString &) override {}
};

} // namespace
} // namespace vexa::bench

namespace vexa::bench {
namespace {

struct Opening {
    double seconds = 0;
    double heap = 0; // bytes the open plot takes
    double resident = 0;
    std::size_t held = 0;
};

// Double-clicks list line `row` and waits for the plot's first paint.
Opening openPlot(QApplication &app, MainWindow &window, int row)
{
    auto *list = window.findChild<QListWidget *>(QStringLiteral("lstSavedData"));
    const QPoint line = list->visualItemRect(list->item(row)).center();
    FirstPaint watch;
    // A double-click is a click and then the second press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
    app.installEventFilter(&watch);
    const double heapBefore = heapInUse();
    const double residentBefore = residentBytes();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
    PlotWindow *plot = window.plotWindows().empty()
                           ? nullptr
                           : static_cast<PlotWindow *>(window.plotWindows().back());
    while (!watch.allPainted(plot) && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    Opening o{clock.nsecsElapsed() / 1e9, heapInUse() - heapBefore,
              residentBytes() - residentBefore, 0};
    app.removeEventFilter(&watch);
    if (!plot)
        return {};
    o.held = plot->view()->data().heldBytes();
    plot->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::qWait(50);
    return o;
}

} // namespace
} // namespace vexa::bench

int main(int argc, char **argv)
{
    using namespace vexa;
    using namespace vexa::bench;
    QApplication app(argc, argv);
    BenchHandheld handheld;
    std::vector<Bytes> scans, gaps;
    for (int k = 0; k < Scans; ++k) {
        scans.push_back(scanRecord(k));
        gaps.push_back(gapScanRecord(k));
    }
    handheld.fill("RirodData", scans);
    // The same window for a two-scan log tells the window's own memory (its
    // pixels) from what the log's size costs.
    handheld.fill("RirodIndex", {rirodIndexRecord(Scans, 1), rirodIndexRecord(2, 1)});
    const SyncComponent sync;
    UnattendedHost ui;
    MainWindow window(sync, ui);
    NoSettings settings;
    window.setPlotSettings(settings);
    window.start();
    QTest::qWait(200);
    const double decoded = double(Scans) * sizeof(ScanRecord);

    std::vector<double> seconds, gapSeconds, logCost;
    std::size_t held = 0;
    for (int run = 0; run < Runs; ++run) {
        const Opening small = openPlot(app, window, 1);
        const Opening big = openPlot(app, window, 0);
        handheld.rewrite("RirodData", gaps);
        const Opening gapped = openPlot(app, window, 0);
        handheld.rewrite("RirodData", scans);
        if (big.held == 0 || gapped.held == 0) {
            std::printf("FAIL: the plot did not open\n");
            return 1;
        }
        seconds.push_back(big.seconds);
        gapSeconds.push_back(gapped.seconds);
        logCost.push_back(big.heap - small.heap);
        held = big.held;
        std::printf("run %d: %.1f ms; heap +%.2f MB (two-scan log +%.2f MB); resident +%.2f MB; "
                    "all gaps %.1f ms\n",
                    run + 1, big.seconds * 1e3, big.heap / 1e6, small.heap / 1e6,
                    big.resident / 1e6, gapped.seconds * 1e3);
    }
    const double open = median(seconds);
    const double gapRatio = median(gapSeconds) / open;
    const double ratio = median(logCost) / decoded;
    std::printf("platform %s, %d scans of 10 channels, median of %d runs\n",
                qPrintable(QGuiApplication::platformName()), Scans, Runs);
    std::printf("double-click to first paint  %7.1f ms  (at most 150 ms)\n", open * 1e3);
    std::printf("decoded log %.2f MB; samples held %.2f MB; the log's share of the open plot "
                "%.2f MB = %.2fx (at most 6x)\n",
                decoded / 1e6, held / 1e6, median(logCost) / 1e6, ratio);
    std::printf("every sample a gap, each scan its own status  %7.1f ms = %.2fx  (at most 1.5x)\n",
                median(gapSeconds) * 1e3, gapRatio);
    const bool ok = open <= 0.15 && ratio <= 6 && gapRatio <= 1.5;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
