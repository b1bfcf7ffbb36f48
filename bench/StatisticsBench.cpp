// What the statistics over shots cost per shot: the 22 measurements of four channels
// added (target: under 50 µs), and the window's whole table made as text.
#include "core/measure/MeasureLayout.h"
#include "core/measure/MeasureStatistics.h"
#include "core/measure/StatisticsCsv.h"

#include "FullShot.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kavlon;

void BM_StatisticsUpdate(benchmark::State& bench) {
    const MeasureCopy copy = takeMeasureCopy(*bench::fullShotRecord());
    const MeasureResults results = measureResults(copy);
    const std::vector<int> shown = shownChannels(copy);
    MeasureStatistics statistics;
    for (auto _ : bench) {
        statistics.add(results, shown);
        benchmark::DoNotOptimize(statistics.row(3, 21).values.count());
    }
    bench.counters["values_per_shot"] = double(shown.size() * kMeasureRows);
}
BENCHMARK(BM_StatisticsUpdate)->Unit(benchmark::kMicrosecond);

void BM_StatisticsTableText(benchmark::State& bench) {
    const MeasureCopy copy = takeMeasureCopy(*bench::fullShotRecord());
    MeasureStatistics statistics;
    for (int shot = 0; shot < 100; ++shot)
        statistics.add(measureResults(copy), shownChannels(copy));
    for (auto _ : bench) {
        std::string text = statisticsTabText(statistics, ',');
        text += statisticsCsv(statistics);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_StatisticsTableText)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
