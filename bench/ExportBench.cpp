// Writing a long Rirod log read from a handheld image, in each format: the
// writers must keep up with the handheld and hold one scan at a time.
#include "BenchHandheld.h"
#include "core/UnattendedHost.h"

#include "catalogue/EfiLogWriter.h"
#include "datalog/DatalogWriters.h"
#include "export/LogFile.h"
#include "store/LogSearch.h"
#include "store/SyncComponent.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace vexa::bench {
namespace {

long maxResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void SaveRirodLog(benchmark::State &state, const QString &format)
{
    const int scans = static_cast<int>(state.range(0));
    BenchHandheld handheld;
    fillRirodLogs(handheld, 1, scans);
    const SyncComponent sync;
    auto bytes = sync.createByteUtility();
    const LogIndexEntry entry =
        readIndexEntry(*bytes, handheld.open("RirodIndex")->readByIndex(0), LogKind::Rirod);
    auto data = handheld.open("RirodData");
    UnattendedHost host;
    const DateText dates(QLocale(QLocale::English, QLocale::UnitedStates));
    ExportContext context{data.get(), *bytes, host, host, dates};
    QTemporaryDir dir;
    const QString path = dir.filePath("log." + format);
    const long before = maxResidentKb();
    for (auto _ : state)
        saveLogFile(path, LogKind::Rirod, format, entry, context);
    state.counters["scans/s"] =
        benchmark::Counter(double(scans), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_rss_growth_kB"] = double(maxResidentKb() - before);
}

BENCHMARK_CAPTURE(SaveRirodLog, CSV, QStringLiteral("CSV"))
    ->Arg(1000)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveRirodLog, TXT, QStringLiteral("TXT"))
    ->Arg(1000)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveRirodLog, EFI, QStringLiteral("EFI"))
    ->Arg(1000)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveRirodLog, MSL, QStringLiteral("MSL"))
    ->Arg(1000)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveRirodLog, MLG, QStringLiteral("MLG"))
    ->Arg(1000)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vexa::bench

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    vexa::registerTextLogWriters();
    vexa::registerEfiLogWriter();
    vexa::registerDatalogWriters();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
