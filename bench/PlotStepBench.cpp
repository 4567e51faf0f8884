// Working in the plot of a 32,767-scan, ten-channel log, in a window of the
// default size: one cursor step, one wheel zoom step and one pan step each
// at most 16 ms until the panels have repainted (medians of 20 steps).
// Headless, on a 1280x1024 screen:
//   QT_QPA_PLATFORM=offscreen:configfile=bench/offscreen-1280x1024.json build/bin/bench_plot_steps
// On a display: Xvfb :9 -screen 0 1280x1024x24 & DISPLAY=:9 build/bin/bench_plot_steps
#include "BenchHandheld.h"

#include "app/MainWindow.h"
#include "core/UnattendedHost.h"
#include "desktop/SavedPaths.h"
#include "plot-gui/PlotView.h"
#include "plot-gui/PlotWindow.h"
#include "store/SyncComponent.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTest>
#include <QWheelEvent>

#include <cstdio>
#include <functional>

namespace vexa::bench {
namespace {

constexpr int Scans = 32767;
constexpr int Steps = 20;

class NoSettings final : public SettingsStore {
public:
    QString read(const QString &, const QString &, const QString &fallback) override
    {
        return fallback;
    }
    void write(const QString &, const QString &, const QString &) override {}
};

// The median time of `steps` inputs, each until the view has repainted.
double timed(PlotView *view, const std::function<void(int)> &input)
{
    std::vector<double> ms;
    for (int i = 0; i < Steps; ++i) {
        QElapsedTimer clock;
        clock.start();
        input(i);
        view->repaint();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    return median(ms);
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
    UnattendedHost ui;
    MainWindow window(sync, ui);
    NoSettings settings;
    window.setPlotSettings(settings);
    window.start();
    auto *list = window.findChild<QListWidget *>(QStringLiteral("lstSavedData"));
    list->setCurrentRow(0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Enter);
    if (window.plotWindows().empty()) {
        std::printf("FAIL: the plot did not open\n");
        return 1;
    }
    auto *plot = static_cast<PlotWindow *>(window.plotWindows().back());
    QTest::qWait(300);
    PlotView *view = plot->view();
    const QPointF middle(view->width() / 2.0, view->scene().panels.front().area.center().y());

    view->moveCursor(CursorMove::Last);
    const double cursor = timed(view, [&](int) { QTest::keyClick(view, Qt::Key_Left); });
    const double zoom = timed(view, [&](int i) {
        // In ten notches, out ten: every step redraws a different range.
        QWheelEvent wheel(middle, view->mapToGlobal(middle), {}, QPoint(0, i < 10 ? 120 : -120),
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view, &wheel);
    });
    view->showRange({view->range().from, view->range().from + 60'000});
    const double pan =
        timed(view, [&](int) { QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier); });
    std::printf("platform %s, %d scans of 10 channels, window %dx%d, view %dx%d, median of %d\n",
                qPrintable(QGuiApplication::platformName()), Scans, plot->width(), plot->height(),
                view->width(), view->height(), Steps);
    std::printf("cursor step  %6.2f ms  (at most 16 ms)\n", cursor);
    std::printf("wheel zoom   %6.2f ms  (at most 16 ms)\n", zoom);
    std::printf("pan step     %6.2f ms  (at most 16 ms)\n", pan);
    const bool ok = cursor <= 16 && zoom <= 16 && pan <= 16;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
