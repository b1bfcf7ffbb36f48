// What one redraw of a Scope display costs (target 2 ms): the whole picture with the
// graticule and four traces, and copying a full shot out of a Data display's cells.
#include "core/scope/ScopeDrawing.h"
#include "core/scope/ScopeSource.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

using namespace kavlon;

// Four enabled channels across the screen's full height: sine waves of different
// periods, and, for the worst case, every sample jumping between the top and bottom
// rows so that each of the 2,396 segments is a full-height line.
std::unique_ptr<ScopeState> fourTraces(bool fullSwing) {
    auto state = std::make_unique<ScopeState>();
    state->ChannelMode = 4;
    state->ChannelOn = {true, true, true, true};
    state->SamplesPerPixel = 3; // the 2.5-sample step
    for (int k = 0; k < kChannels; ++k) {
        auto& samples = state->Samples[std::size_t(k)];
        for (int i = 0; i < kScopeSamples; ++i)
            samples[std::size_t(i)] =
                fullSwing ? (i % 2 == 0 ? -10 : 400) : int(192 + 150 * std::sin(i / (20.0 + 15.0 * k)));
    }
    return state;
}

void redraw(benchmark::State& bench, bool fullSwing) {
    const auto state = fourTraces(fullSwing);
    ScopeCanvas canvas;
    const ScopeView view{
        .grid = true, .zeros = true, .cursorH = true, .cursorV = true, .scrollPosition = 1000};
    for (auto _ : bench) {
        drawScreen(canvas, *state, view);
        benchmark::DoNotOptimize(canvas.row(193));
    }
}

void BM_RefreshScreen(benchmark::State& bench) {
    redraw(bench, false);
}
BENCHMARK(BM_RefreshScreen)->Unit(benchmark::kMicrosecond);

void BM_RefreshScreenFullSwing(benchmark::State& bench) {
    redraw(bench, true);
}
BENCHMARK(BM_RefreshScreenFullSwing)->Unit(benchmark::kMicrosecond);

void BM_CopyFullShot(benchmark::State& bench) {
    auto record = std::make_unique<ShotRecord>();
    std::vector<std::uint8_t> raw(kLongShot + 1);
    for (std::size_t i = 0; i < raw.size(); ++i)
        raw[i] = std::uint8_t(40 + i % 170);
    for (int k = 1; k <= kChannels; ++k)
        record->Cells.writeChannel(k, raw, {120, 3, 9});
    auto state = std::make_unique<ScopeState>();
    for (auto _ : bench) {
        copyShot(*record, *state);
        benchmark::DoNotOptimize(state->Samples[3][kLongShot]);
    }
}
BENCHMARK(BM_CopyFullShot)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
