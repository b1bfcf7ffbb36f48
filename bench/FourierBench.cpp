// One 512-point transform of the spectrum engine (target: 5 us), and the same transform
// by FFTW in the same run (target: ours at most 3 times as long). FFTW is linked into
// this benchmark only, never into the program.
#include "core/spectrum/FastFourier.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <chrono>
#include <cmath>
#include <vector>

namespace {

using namespace kavlon;
constexpr int kPoints = 512;

std::vector<double> signal() {
    std::vector<double> data(2 * kPoints, 0.0);
    for (int n = 0; n < kPoints; ++n)
        data[std::size_t(2 * n)] = std::sin(0.1 * n) + 0.5 * std::cos(0.37 * n);
    return data;
}

// FFTW's backward transform has the positive exponent, as ours.
struct Fftw {
    fftw_complex* data = fftw_alloc_complex(kPoints);
    fftw_plan plan = fftw_plan_dft_1d(kPoints, data, data, FFTW_BACKWARD, FFTW_MEASURE);
    ~Fftw() {
        fftw_destroy_plan(plan);
        fftw_free(data);
    }
    void load(const std::vector<double>& input) {
        for (int n = 0; n < kPoints; ++n) {
            data[n][0] = input[std::size_t(2 * n)];
            data[n][1] = input[std::size_t(2 * n + 1)];
        }
    }
};

template <class Run> double nanosecondsPerRun(Run run, int runs) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        run();
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / runs;
}

void BM_Transform512(benchmark::State& bench) {
    const std::vector<double> input = signal();
    std::vector<double> data = input;
    for (auto _ : bench) {
        bench.PauseTiming();
        data = input;
        bench.ResumeTiming();
        fourierTransform(data.data(), kPoints);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(BM_Transform512)->Unit(benchmark::kMicrosecond);

void BM_Fftw512(benchmark::State& bench) {
    Fftw fftw;
    fftw.load(signal());
    for (auto _ : bench) {
        fftw_execute(fftw.plan);
        benchmark::DoNotOptimize(fftw.data);
    }
}
BENCHMARK(BM_Fftw512)->Unit(benchmark::kMicrosecond);

// Both timed alike, back to back, on the same data: repeated transforms grow the
// values, so every run starts again from the signal.
void BM_RatioToFftw(benchmark::State& bench) {
    const std::vector<double> input = signal();
    std::vector<double> data = input;
    Fftw fftw;
    double ours = 0, theirs = 0;
    for (auto _ : bench) {
        ours = nanosecondsPerRun(
            [&] {
                data = input;
                fourierTransform(data.data(), kPoints);
            },
            2000);
        theirs = nanosecondsPerRun(
            [&] {
                fftw.load(input);
                fftw_execute(fftw.plan);
            },
            2000);
    }
    bench.counters["ours_ns"] = ours;
    bench.counters["fftw_ns"] = theirs;
    bench.counters["ratio"] = ours / theirs;
}
BENCHMARK(BM_RatioToFftw)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
