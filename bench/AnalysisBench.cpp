// Tuning tables from the logbook, in the program with the cache warm: forty
// logs of 25,000 scans (1,000,000) and one log of 32,767, each with a value
// condition and a rate-of-change condition. The logbook is made once.
#include "BenchHandheld.h"
#include "BigLogbook.h"

#include "analysis/LogbookTable.h"
#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookFile.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace vexa::bench {
namespace {

constexpr int PooledLogs = 40;
constexpr int PooledScans = 25000;

// Id 1: the 32,767-scan log; ids 2 to 41: one 25,000-scan log and its copies.
struct TableLogbook {
    TableLogbook()
    {
        std::vector<Bytes> scans;
        for (int k = 0; k < 32767; ++k)
            scans.push_back(scanRecord(k));
        handheld.fill("RirodData", scans);
        handheld.fill("RirodIndex", {rirodIndexRecord(32767, 1)});
        Logbook logbook(path());
        pullHandheld(logbook, sync, *bytes);
        scans.resize(PooledScans);
        replaceRecords(handheld, "RirodData", scans);
        replaceRecords(handheld, "RirodIndex", {rirodIndexRecord(PooledScans, 1)});
        pullHandheld(logbook, sync, *bytes);
        LogbookFile &file = logbook.file();
        file.beginWrite();
        for (int copy = 1; copy < PooledLogs; ++copy)
            file.exec("INSERT INTO logs(user_id, user_name, kind, start, scan_count,"
                      " duration_ms, state, text, note, channels, first_pulled, last_seen,"
                      " fingerprint, copy, handheld_record, index_record)"
                      " SELECT user_id, user_name, kind, start, scan_count, duration_ms, 2,"
                      " text, note, channels, first_pulled, last_seen, fingerprint, copy, NULL,"
                      " index_record FROM logs WHERE id = 2",
                      "bench");
        file.exec("INSERT INTO log_scans(log, scan_records) SELECT l.id, s.scan_records"
                  " FROM logs l JOIN log_scans s ON s.log = 2 WHERE l.id > 2",
                  "bench");
        file.commit();
    }
    QString path() const { return folder.filePath("logbook.sqlite"); }

    BenchHandheld handheld;
    const SyncComponent sync;
    std::unique_ptr<vexasync::ByteUtility> bytes = sync.createByteUtility();
    QTemporaryDir folder;
};

TableLogbook &tableLogbook()
{
    static TableLogbook made;
    return made;
}

// RPM by MAP (the bench scans' MAP runs 100 to 1,900), IPW1, with ECT and
// TPS's rate of change.
TableRequest benchRequest()
{
    TableRequest r{"RPM", "MAP", "IPW1", {}, {}, {}, 10};
    r.conditions = {parseCondition("ECT >= 300"), parseCondition("|dTPS/dt| <= 40")};
    r.yAxis = evenBreakpoints(100, 1900);
    return r;
}

void Table(benchmark::State &state, std::vector<std::int64_t> ids, std::size_t scans)
{
    TableLogbook &made = tableLogbook();
    const Logbook logbook(made.path(), Logbook::Access::ReadOnly);
    const TableRequest request = benchRequest();
    for (auto _ : state) {
        const LogbookTable t = logbookTable(logbook, *made.bytes, request, {}, ids);
        if (!t.table || t.logsUsed != int(ids.size()) || !t.leftOut.empty())
            state.SkipWithError("no table");
        benchmark::DoNotOptimize(t);
    }
    state.counters["scans"] = double(scans);
}

std::vector<std::int64_t> pooledIds()
{
    std::vector<std::int64_t> ids;
    for (int id = 2; id < 2 + PooledLogs; ++id)
        ids.push_back(id);
    return ids;
}

BENCHMARK_CAPTURE(Table, pooled_1000000_scans, pooledIds(), PooledLogs *PooledScans)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(Table, one_32767_scan_log, std::vector<std::int64_t>{1}, 32767)
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
