// Saving and opening a full four-channel shot as a CSV file (target: 50 ms each): the
// text alone and the whole save with its temporary name, sync and rename; the parse
// alone and the whole open, through the transfer into a new record with its analysis.
#include "FullShot.h"
#include "core/shot/ShotCsv.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include <unistd.h>

namespace {

using namespace kavlon;

// A folder of the benchmark's own holding the saved full shot.
struct SavedShot {
    std::unique_ptr<ShotRecord> record = bench::fullShotRecord();
    std::filesystem::path folder;
    std::filesystem::path path;
    SavedShot() {
        char name[] = "/tmp/kavlon-bench-XXXXXX";
        if (!::mkdtemp(name))
            std::abort();
        folder = name;
        path = folder / "shot.csv";
        if (!saveShotCsv(path, *record).saved)
            std::abort();
    }
    ~SavedShot() { std::filesystem::remove_all(folder); }
};

void BM_ShotCsvText(benchmark::State& bench) {
    SavedShot shot;
    std::size_t bytes = 0;
    for (auto _ : bench)
        bytes = shotCsvText(*shot.record).size();
    bench.counters["file_bytes"] = double(bytes);
}
BENCHMARK(BM_ShotCsvText)->Unit(benchmark::kMillisecond);

void BM_SaveShot(benchmark::State& bench) {
    SavedShot shot;
    for (auto _ : bench)
        if (!saveShotCsv(shot.path, *shot.record).saved)
            bench.SkipWithError("not saved");
}
BENCHMARK(BM_SaveShot)->Unit(benchmark::kMillisecond);

void BM_ParseShot(benchmark::State& bench) {
    SavedShot shot;
    const std::string text = shotCsvText(*shot.record);
    for (auto _ : bench) {
        auto read = std::make_unique<ShotFileResult>(parseShotFile(text, {}));
        if (!read->ok)
            bench.SkipWithError(read->error.c_str());
        benchmark::DoNotOptimize(read->record.Analysis);
    }
}
BENCHMARK(BM_ParseShot)->Unit(benchmark::kMillisecond);

void BM_OpenShot(benchmark::State& bench) {
    SavedShot shot;
    for (auto _ : bench) {
        auto read = std::make_unique<ShotFileResult>(readShotFile(shot.path, {}));
        if (!read->ok)
            bench.SkipWithError(read->error.c_str());
        benchmark::DoNotOptimize(read->record.Analysis);
    }
}
BENCHMARK(BM_OpenShot)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
