// vexa-export saving the plot of a 32,767-scan, ten-channel log as a PNG,
// the whole command timed: the same log with every sample a gap, each scan
// with a status of its own, at most 1.5 times as long as the plain one.
// Run it twice: build/bin/bench_plot_export (vexa-export sits beside it)
#include "BenchHandheld.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace vexa::bench {
namespace {

constexpr int Scans = 32767;
constexpr int Runs = 5;

// Seconds from start to exit, or a negative number when the command failed.
double timeExport(const QString &tool, const QString &folder)
{
    QProcess run;
    QElapsedTimer clock;
    clock.start();
    run.start(tool, {"--log", "1", "--format", "PNG", "--out", folder, "--force"});
    run.waitForFinished(-1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0)
        return seconds;
    std::fputs(run.readAllStandardError().constData(), stderr);
    return -1;
}

} // namespace
} // namespace vexa::bench

int main(int argc, char **argv)
{
    using namespace vexa::bench;
    QCoreApplication app(argc, argv);
    const QString tool = QCoreApplication::applicationDirPath() + "/vexa-export";
    BenchHandheld handheld;
    std::vector<Bytes> scans, gaps;
    for (int k = 0; k < Scans; ++k) {
        scans.push_back(scanRecord(k));
        gaps.push_back(gapScanRecord(k));
    }
    handheld.fill("RirodData", scans);
    handheld.fill("RirodIndex", {rirodIndexRecord(Scans, 1)});
    QTemporaryDir out;

    std::vector<double> plain, gapped;
    for (int run = 0; run < Runs; ++run) {
        handheld.rewrite("RirodData", scans);
        plain.push_back(timeExport(tool, out.path()));
        handheld.rewrite("RirodData", gaps);
        gapped.push_back(timeExport(tool, out.path()));
        if (plain.back() < 0 || gapped.back() < 0) {
            std::printf("FAIL: %s did not save the plot\n", qPrintable(tool));
            return 1;
        }
        std::printf("run %d: %.1f ms; all gaps %.1f ms\n", run + 1, plain.back() * 1e3,
                    gapped.back() * 1e3);
    }
    const double ratio = median(gapped) / median(plain);
    std::printf("vexa-export --format PNG, %d scans of 10 channels, median of %d runs\n", Scans,
                Runs);
    std::printf("plain log                                     %7.1f ms\n", median(plain) * 1e3);
    std::printf("every sample a gap, each scan its own status  %7.1f ms = %.2fx  (at most 1.5x)\n",
                median(gapped) * 1e3, ratio);
    const bool ok = ratio <= 1.5;
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
