// The logbook window over a logbook of 10,000 logs: from the program's
// start to the table shown at most 0.5 s (warm: the runs after the first),
// a keystroke in the filter box at most 50 ms to the table painted again,
// and a 32,767-scan log's plot opened from the table at most as long as the
// same log's plot from the main window's list.
// Headless: QT_QPA_PLATFORM=offscreen build/bin/bench_logbook_window
// On a display: xvfb-run -a -s "-screen 0 1024x768x24" build/bin/bench_logbook_window
#include "BigLogbook.h"
#include "NoSettings.h"

#include "app/MainWindow.h"
#include "core/UnattendedHost.h"
#include "desktop/SavedPaths.h"
#include "logbook-gui/LogbookFilterBar.h"
#include "logbook-gui/LogbookWindow.h"
#include "plot-gui/PlotView.h"
#include "plot-gui/PlotWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <set>

namespace vexa::bench {
namespace {

// Runs the message loop until `widget` has painted after now; seconds taken.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget *widget) : m_widget(widget) { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    void watch(QWidget *widget) { m_widget = widget; }
    bool waitForPaint(const QElapsedTimer &clock)
    {
        while (!m_painted.count(m_widget) && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const bool painted = m_painted.count(m_widget) > 0;
        m_painted.clear();
        return painted;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted.insert(watched);
        return false;
    }

private:
    QWidget *m_widget;
    std::set<const QObject *> m_painted;
};

// The program's start as VEXALogbook's main makes it, in a process of its
// own: it prints when its table has painted, and ends.
int startOnce(int argc, char **argv, const QString &logbook)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const SyncComponent sync;
    UnattendedHost ui;
    NoSettings settings;
    LogbookWindow window(logbook, sync, ui, settings);
    PaintWatch painted(window.table()->viewport());
    window.show();
    if (!painted.waitForPaint(clock) || window.table()->model()->rowCount() < 10000) {
        std::fprintf(stderr, "%d logs shown: %s\n", window.table()->model()->rowCount(),
                     qPrintable(window.statusBar()->currentMessage()));
        return 1;
    }
    std::printf("shown %lld\n", static_cast<long long>(clock.nsecsElapsed()));
    std::fflush(stdout);
    return 0;
}

void ProgramStartToTableShown(benchmark::State &state)
{
    const QString path = bigLogbook().path();
    const auto start = [&] {
        QElapsedTimer clock;
        clock.start();
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QCoreApplication::applicationFilePath(), {"--start-once", path});
        p.waitForFinished(-1);
        return p.exitCode() == 0 && p.readAll().startsWith("shown ") ? clock.nsecsElapsed() / 1e9
                                                                     : -1.0;
    };
    start(); // the cache warm, as at a second start
    for (auto _ : state) {
        const double seconds = start();
        if (seconds < 0)
            state.SkipWithError("the window did not show its 10,000 logs");
        state.SetIterationTime(std::max(seconds, 0.0));
    }
}

void WindowOpenToTableShown(benchmark::State &state)
{
    const QString path = bigLogbook().path();
    UnattendedHost ui;
    NoSettings settings;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        LogbookWindow window(path, bigLogbook().sync, ui, settings);
        PaintWatch painted(window.table()->viewport());
        window.show();
        if (!painted.waitForPaint(clock) || window.table()->model()->rowCount() < 10000)
            state.SkipWithError("the table did not show its 10,000 logs");
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    }
}

// Each key of a search typed and then taken back, one at a time, to the
// table laid out and painted again (painted whether or not Qt would have).
void KeystrokeInTheFilterBox(benchmark::State &state)
{
    UnattendedHost ui;
    NoSettings settings;
    LogbookWindow window(bigLogbook().path(), bigLogbook().sync, ui, settings);
    window.show();
    QTest::qWait(200);
    QLineEdit *search = window.filterBar()->searchBox();
    QWidget *table = window.table()->viewport();
    const QString typed = QStringLiteral("551");
    std::size_t k = 0;
    for (auto _ : state) {
        const std::size_t step = k % (2 * typed.size());
        QElapsedTimer clock;
        clock.start();
        if (step >= std::size_t(typed.size()))
            QTest::keyClick(search, Qt::Key_Backspace);
        else
            QTest::keyClick(search, typed[step].toLatin1());
        QCoreApplication::processEvents();
        table->repaint();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        ++k;
    }
    state.counters["shown"] = window.table()->model()->rowCount();
}

struct PlotFrom {
    bool logbook;
};

// The 32,767-scan log's plot: Enter on its table row, or a double-click on
// its list line in the main window, to its panels' first paint.
void OpenTheLongLogsPlot(benchmark::State &state, PlotFrom from)
{
    UnattendedHost ui;
    NoSettings settings;
    LogbookWindow logbookWindow(bigLogbook().path(), bigLogbook().sync, ui, settings);
    MainWindow mainWindow(bigLogbook().sync, ui);
    mainWindow.setPlotSettings(settings);
    QListWidget *list = mainWindow.findChild<QListWidget *>(QStringLiteral("lstSavedData"));
    if (from.logbook) {
        logbookWindow.show();
        logbookWindow.showLog(1);
    } else {
        mainWindow.start();
    }
    QTest::qWait(200);
    PaintWatch painted(nullptr);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QWidget *plot = nullptr;
        if (from.logbook) {
            QTest::keyClick(logbookWindow.table(), Qt::Key_Return);
            plot =
                logbookWindow.plotWindows().empty() ? nullptr : logbookWindow.plotWindows().back();
        } else {
            const QPoint line = list->visualItemRect(list->item(0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
            plot = mainWindow.plotWindows().empty() ? nullptr : mainWindow.plotWindows().back();
        }
        if (!plot) {
            state.SkipWithError("no plot opened");
            break;
        }
        painted.watch(static_cast<PlotWindow *>(plot)->view());
        if (!painted.waitForPaint(clock))
            state.SkipWithError("the plot did not paint");
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        plot->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::qWait(50);
    }
}

BENCHMARK(ProgramStartToTableShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(WindowOpenToTableShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(KeystrokeInTheFilterBox)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(12)
    ->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(OpenTheLongLogsPlot, main_window, PlotFrom{false})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(OpenTheLongLogsPlot, logbook_window, PlotFrom{true})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
} // namespace vexa::bench

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--start-once") == 0)
        return vexa::bench::startOnce(argc, argv, QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
