// The logbook: a full handheld pulled into an empty logbook against reading
// the same records through the component; an unchanged handheld pulled
// again; and a logbook of 10,000 logs holding about 3,000,000 scans listed
// by vexa-logbook and one 32,767-scan log exported from it as CSV, against
// the same log exported from the handheld. Show in Logbook on a 32,767-scan
// log the logbook holds, and on one it pulls first.
#include "BenchHandheld.h"
#include "BigLogbook.h"
#include "LoggerRecords.h"

#include "core/UnattendedHost.h"
#include "export/LogFile.h"
#include "logbook/LogOfLine.h"
#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookFile.h"
#include "logbook/LogbookSource.h"
#include "store/HandheldSource.h"
#include "store/SyncComponent.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace vexa::bench {
namespace {

const char *const TextKinds[] = {"LTrimLog", "AccelTestLog", "TCodeLog"};

// All four kinds: seven Rirod logs holding 32,767 scans, fifty logs of each
// other kind.
void fillFullHandheld(const BenchHandheld &handheld)
{
    fillRirodLogs(handheld, 7, 4681);
    for (const char *database : TextKinds) {
        std::vector<Bytes> logs;
        for (int i = 0; i < 50; ++i)
            logs.push_back(logger::textLogRecord({2004, 3, 1 + i % 28, 8, i, 0},
                                                 "Text log " + std::to_string(i)));
        handheld.fill(database, logs);
    }
}

void ReadFullHandheld(benchmark::State &state)
{
    BenchHandheld handheld;
    fillFullHandheld(handheld);
    const SyncComponent sync;
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const char *database :
             {"RirodIndex", "LTrimLog", "AccelTestLog", "TCodeLog", "RirodData"}) {
            const auto db = sync.openDatabase(database, vexasync::mode::Read);
            for (std::int32_t r = 0, n = db->recordCount(); r < n; ++r)
                bytes += db->readByIndex(r).bytes.size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}

void PullFullHandheld(benchmark::State &state)
{
    BenchHandheld handheld;
    fillFullHandheld(handheld);
    const SyncComponent sync;
    const auto bytes = sync.createByteUtility();
    QTemporaryDir folder;
    const QString path = folder.filePath("logbook.sqlite");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        Logbook logbook(path);
        if (pullHandheld(logbook, sync, *bytes).added != 157)
            state.SkipWithError("not every log was pulled");
    }
}

// The allowance beside reading: one synced commit of the same bytes into a
// new logbook.
void SyncedCommitOfAFullHandheld(benchmark::State &state)
{
    std::vector<RecordBytes> scans;
    for (int k = 0; k < 32767; ++k)
        scans.push_back(scanRecord(k));
    const RecordBytes blob = packScans(scans);
    QTemporaryDir folder;
    const QString path = folder.filePath("logbook.sqlite");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        Logbook logbook(path);
        LogbookFile &file = logbook.file();
        state.ResumeTiming();
        file.beginWrite();
        SqlStatement(file, "INSERT INTO log_scans(log, scan_records) VALUES(1, ?1)")
            .bind(1, blob)
            .run();
        file.commit();
    }
}

// From the end of the window's search to the pull's commit, the logbook's
// opening included.
void PullUnchangedHandheld(benchmark::State &state)
{
    BenchHandheld handheld;
    fillFullHandheld(handheld);
    const SyncComponent sync;
    const auto bytes = sync.createByteUtility();
    QTemporaryDir folder;
    const QString path = folder.filePath("logbook.sqlite");
    {
        Logbook logbook(path);
        pullHandheld(logbook, sync, *bytes);
    }
    for (auto _ : state) {
        Logbook logbook(path);
        if (pullHandheld(logbook, sync, *bytes).added != 0)
            state.SkipWithError("a log was pulled twice");
    }
}

// Wall time of the whole command, the cache warm from the run before.
void ListBigLogbook(benchmark::State &state, const QStringList &args)
{
    const QString tool = QCoreApplication::applicationDirPath() + "/vexa-logbook";
    const QStringList all = QStringList{"--logbook", bigLogbook().path(), "list"} + args;
    const auto list = [&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(tool, all);
        p.waitForFinished(-1);
        return p.exitCode();
    };
    list();
    for (auto _ : state)
        if (list() != 0)
            state.SkipWithError("vexa-logbook list failed");
}

void ExportLongLog(benchmark::State &state, bool fromLogbook)
{
    BigLogbook &big = bigLogbook();
    registerTextLogWriters();
    const Logbook logbook(big.path(), Logbook::Access::ReadOnly);
    LogbookSource inLogbook(logbook, *big.bytes, {}, {1});
    HandheldSource onHandheld(big.sync, *big.bytes);
    LogSource &source = fromLogbook ? static_cast<LogSource &>(inLogbook) : onHandheld;
    const LogIndexEntry entry = *source.logs(LogKind::Rirod).at(0).entry;
    UnattendedHost host;
    const DateText dates(QLocale(QLocale::English, QLocale::UnitedStates));
    QTemporaryDir dir;
    for (auto _ : state) {
        ExportContext context{&source.scanRecords(0), *big.bytes, host, host, dates};
        saveLogFile(dir.filePath("log.CSV"), LogKind::Rirod, "CSV", entry, context);
    }
}

void ShowInLogbook(benchmark::State &state, bool held)
{
    BenchHandheld handheld;
    fillRirodLogs(handheld, 1, 32767);
    const SyncComponent sync;
    const auto bytes = sync.createByteUtility();
    const auto index = sync.openDatabase(logKindInfo(LogKind::Rirod).indexDatabase);
    const auto scans = sync.openDatabase(ScanDatabase);
    QTemporaryDir folder;
    const QString path = folder.filePath("logbook.sqlite");
    if (held) {
        Logbook logbook(path);
        pullHandheld(logbook, sync, *bytes);
    }
    for (auto _ : state) {
        if (!held) {
            state.PauseTiming();
            QFile::remove(path);
            state.ResumeTiming();
        }
        Logbook logbook(path);
        if (logbookLogAt(logbook, sync, *bytes, sync.dockedUser(), LogKind::Rirod, *index,
                         scans.get(), 0, index->readByIndex(0).id) != 1)
            state.SkipWithError("not the log on the line");
    }
}

BENCHMARK(ReadFullHandheld)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(SyncedCommitOfAFullHandheld)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(PullFullHandheld)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(PullUnchangedHandheld)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(ListBigLogbook, list, QStringList())
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(ListBigLogbook, search, QStringList{"--search", "LOG 5"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(ExportLongLog, handheld, false)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(ExportLongLog, logbook, true)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(ShowInLogbook, held, true)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(ShowInLogbook, pulled, false)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
} // namespace vexa::bench

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
