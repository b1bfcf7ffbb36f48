// What a Data display costs: the transfer of a full four-channel shot with its analysis
// (target 5 ms), the bytes the record holds (target 1 MB), and making the cell texts of
// one screenful and of the whole table (the export path).
#include "FullShot.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

// Live heap bytes, so the record's size is measured rather than self-reported.
std::atomic<std::size_t> g_liveBytes{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* countedAlloc(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (block == nullptr)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    g_liveBytes += size;
    return block + kHeader;
}

void countedFree(void* p) noexcept {
    if (p == nullptr)
        return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    g_liveBytes -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return countedAlloc(size);
}
void* operator new[](std::size_t size) {
    return countedAlloc(size);
}
void operator delete(void* p) noexcept {
    countedFree(p);
}
void operator delete[](void* p) noexcept {
    countedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    countedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    countedFree(p);
}

namespace {

using namespace kavlon;

TransferInputs windowInputs() {
    TransferInputs inputs;
    inputs.decimalSeparator = ',';
    return inputs;
}

void BM_TransferFullShot(benchmark::State& bench) {
    const auto state = bench::fullShotState();
    const auto inputs = windowInputs();
    auto record = std::make_unique<ShotRecord>();
    for (auto _ : bench) {
        auto outcome = transferShot(*state, *record, inputs);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(record->Analysis[3].AvgSum);
    }
    bench.counters["last_cycle_rise_ch1"] = record->Analysis[0].CycleRise.AtLevel1;
}
BENCHMARK(BM_TransferFullShot)->Unit(benchmark::kMicrosecond);

void BM_RecordBytes(benchmark::State& bench) {
    const auto state = bench::fullShotState();
    const auto inputs = windowInputs();
    std::size_t heap = 0;
    std::size_t selfReported = 0;
    for (auto _ : bench) {
        const std::size_t before = g_liveBytes;
        auto record = std::make_unique<ShotRecord>();
        transferShot(*state, *record, inputs);
        heap = g_liveBytes - before;
        selfReported = record->footprint();
        benchmark::DoNotOptimize(record.get());
    }
    bench.counters["record_bytes"] = double(heap);
    bench.counters["footprint_bytes"] = double(selfReported);
}
BENCHMARK(BM_RecordBytes)->Unit(benchmark::kMicrosecond);

// Texts of the rows from `first` on, every column, as the grid model or the export asks.
std::size_t makeTexts(const ShotRecord& record, int first, int rows) {
    std::size_t chars = 0;
    for (int row = first; row < first + rows; ++row)
        for (int column = 0; column < ShotCells::kColumns; ++column)
            chars += record.Cells.cellText(column, row, ',').size;
    return chars;
}

void BM_ScreenfulTexts(benchmark::State& bench) {
    const auto state = bench::fullShotState();
    auto record = std::make_unique<ShotRecord>();
    transferShot(*state, *record, windowInputs());
    constexpr int kVisibleRows = 377 / 16 + 1; // the designed grid height at 16 pixels a row
    for (auto _ : bench)
        benchmark::DoNotOptimize(makeTexts(*record, 8000, kVisibleRows));
    bench.SetItemsProcessed(bench.iterations() * kVisibleRows * ShotCells::kColumns);
}
BENCHMARK(BM_ScreenfulTexts)->Unit(benchmark::kMicrosecond);

void BM_WholeTableTexts(benchmark::State& bench) {
    const auto state = bench::fullShotState();
    auto record = std::make_unique<ShotRecord>();
    transferShot(*state, *record, windowInputs());
    const int rows = record->Cells.rowCount();
    for (auto _ : bench)
        benchmark::DoNotOptimize(makeTexts(*record, 0, rows));
    bench.SetItemsProcessed(bench.iterations() * rows * ShotCells::kColumns);
}
BENCHMARK(BM_WholeTableTexts)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
