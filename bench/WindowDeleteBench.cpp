// Deleting a 10,000-scan Rirod log from a handheld of 32,767 scan records,
// through the delete command with its status and yield after every record:
// at most 0.5 s headless, and on a real display at most 1.5 times that.
// Holding the logs in the logbook first adds at most 25 % to the command's
// own figure when they were pulled already, and at most 1.2 times that
// figure (2.2 times in all) when they were not.
// Run it twice: QT_QPA_PLATFORM=offscreen build/bin/bench_window_delete
//               xvfb-run -a build/bin/bench_window_delete
#include "BenchHandheld.h"
#include "core/UnattendedHost.h"

#include "app/MainWindow.h"
#include "deletion/DeleteCommands.h"
#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "store/LogSearch.h"
#include "store/SyncComponent.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace vexa::bench {
namespace {

constexpr int Runs = 5;

// A 10,000-scan log first, then three more: 32,767 scan records in all.
void fill(const BenchHandheld &handheld)
{
    const int scans[] = {10000, 7589, 7589, 7589};
    std::vector<Bytes> data, index;
    int first = 1;
    for (const int n : scans) {
        index.push_back(rirodIndexRecord(n, first));
        for (int k = 0; k < n; ++k)
            data.push_back(scanRecord(first + k));
        first += n;
    }
    auto desktop = vexasync_component(vexasync::ApiVersion)->createDesktop();
    for (const char *db : {"RirodIndex", "RirodData"}) {
        desktop->createDatabase(db);
        openDocked(db)->removeAll(0, 255);
    }
    handheld.fill("RirodData", data);
    handheld.fill("RirodIndex", index);
}

enum class Logbooking { None, Pulled, NotPulled };

double coreSeconds(const BenchHandheld &handheld, const SyncComponent &sync, Logbooking logbooking)
{
    fill(handheld);
    auto index = openDocked("RirodIndex");
    auto scans = openDocked("RirodData");
    auto bytes = sync.createByteUtility();
    const QTemporaryDir logbookFolder;
    std::optional<QString> logbookPath;
    if (logbooking != Logbooking::None)
        logbookPath = logbookFolder.filePath(QStringLiteral("logbook.sqlite"));
    if (logbooking == Logbooking::Pulled) {
        Logbook logbook(*logbookPath);
        holdKind(logbook, sync, *bytes, sync.dockedUser(), LogKind::Rirod, *index, scans.get());
    }
    DeleteRequest request{LogKind::Rirod, {0}, index->recordCount(), {}};
    for (int i = 0; i < request.lineCount; ++i)
        request.logs[i] = readIndexEntry(*bytes, index->readByIndex(i), LogKind::Rirod);
    UnattendedHost ui;
    ui.answer = true;
    QElapsedTimer clock;
    clock.start();
    deleteSelectedLogs(request, {sync, *index, scans.get(), ui, ui, logbookPath});
    return clock.nsecsElapsed() / 1e9;
}

} // namespace
} // namespace vexa::bench

int main(int argc, char **argv)
{
    using namespace vexa;
    using namespace vexa::bench;
    QApplication app(argc, argv);
    BenchHandheld handheld;
    const SyncComponent sync;

    std::vector<double> core, pulled, notPulled, windowed;
    for (int run = 0; run < Runs; ++run) {
        core.push_back(coreSeconds(handheld, sync, Logbooking::None));
        pulled.push_back(coreSeconds(handheld, sync, Logbooking::Pulled));
        notPulled.push_back(coreSeconds(handheld, sync, Logbooking::NotPulled));
    }

    UnattendedHost ui;
    ui.answer = true;
    for (int run = 0; run < Runs; ++run) {
        fill(handheld);
        MainWindow window(sync, ui);
        window.start();
        window.findChild<QListWidget *>(QStringLiteral("lstSavedData"))->item(0)->setSelected(true);
        QTest::qWait(50);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdDelete")),
                          Qt::LeftButton);
        windowed.push_back(clock.nsecsElapsed() / 1e9);
        if (openDocked("RirodData")->recordCount() != 22767)
            std::printf("the log was not deleted\n");
    }

    std::printf("platform %s, 10,000 of 32,767 scan records, median of %d runs\n",
                qPrintable(QGuiApplication::platformName()), Runs);
    std::printf("delete command, no window  %7.1f ms\n", median(core) * 1e3);
    std::printf("  logbook, log pulled      %7.1f ms  (%+.0f %%, at most +25 %%)\n",
                median(pulled) * 1e3, (median(pulled) / median(core) - 1) * 100);
    std::printf("  logbook, log not pulled  %7.1f ms  (%.2fx, at most 2.2x)\n",
                median(notPulled) * 1e3, median(notPulled) / median(core));
    std::printf(
        "delete through the window  %7.1f ms  (at most 500 ms headless; on a display at most 1.5x "
        "the headless figure)\n",
        median(windowed) * 1e3);
    return median(windowed) <= 0.75 && median(pulled) <= 1.25 * median(core) &&
                   median(notPulled) <= 2.2 * median(core)
               ? 0
               : 1;
}
