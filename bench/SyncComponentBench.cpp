// The sync component must never keep the program waiting: reading a whole
// scan database by index and deleting a long log's scans in one group.
#include "BenchHandheld.h"

#include <benchmark/benchmark.h>

namespace vexa::bench {
namespace {

constexpr int ScanRecords = 32767;

void ReadByIndex32767(benchmark::State &state)
{
    BenchHandheld handheld;
    std::vector<Bytes> scans;
    for (int k = 0; k < ScanRecords; ++k)
        scans.push_back(scanRecord(k));
    handheld.fill("RirodData", scans);
    for (auto _ : state) {
        auto data = handheld.open("RirodData"); // a fresh adapter learns the order too
        std::size_t bytes = 0;
        const std::int32_t count = data->recordCount();
        for (std::int32_t i = 0; i < count; ++i)
            bytes += data->readByIndex(i).bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(ReadByIndex32767)->Unit(benchmark::kMillisecond);

void Delete10000InOneGroup(benchmark::State &state)
{
    BenchHandheld handheld;
    std::vector<Bytes> scans;
    for (int k = 0; k < ScanRecords; ++k)
        scans.push_back(scanRecord(k));
    for (auto _ : state) {
        state.PauseTiming();
        handheld.fill("RirodData", scans);
        auto data = handheld.open("RirodData");
        data->recordCount();
        state.ResumeTiming();
        // A log in the middle, deleted the way the delete command does it.
        data->beginGroup();
        for (const vexasync::RecordId id : data->idsOfRange(10000, 10000))
            data->remove(id);
        data->commitGroup();
        state.PauseTiming();
        data->removeAll(0, 255);
        state.ResumeTiming();
    }
}
BENCHMARK(Delete10000InOneGroup)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vexa::bench

BENCHMARK_MAIN();
