// How fast the receive path interprets a full four-channel shot: 512 sample
// frames per channel and the trailer that cuts the window.
#include "core/acquisition/AcquisitionControl.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace kavlon;

class CountingListener : public NullReceiveListener {
public:
    void progressPositionChanged(int position) override { last = position; }
    ShotDelivery shotCompleted(const CompletedShot&) override {
        ++shots;
        return ShotDelivery::Settled;
    }
    int last = 0;
    int shots = 0;
};

class NoDevice : public ReportWriter {
public:
    std::optional<int> outputReportLength() override { return std::nullopt; }
    void writeReport(std::span<const std::uint8_t>) override {}
};

std::vector<Frame> fullShot() {
    std::vector<Frame> frames;
    for (int c = 0; c < kChannels; ++c)
        for (int offset = 0; offset < kBlockSize; offset += 32) {
            Frame f{};
            f[0] = std::uint8_t(0x65 + c);
            f[1] = std::uint8_t(offset >> 8);
            f[2] = std::uint8_t(offset & 0xFF);
            for (int k = 0; k < 32; ++k)
                f[std::size_t(3 + k)] = std::uint8_t((offset + k) * 7 + c);
            frames.push_back(f);
        }
    Frame trailer{};
    trailer[0] = 0x6B;
    trailer[33] = 10;
    frames.push_back(trailer);
    return frames;
}

void BM_InterpretFullShot(benchmark::State& bench) {
    CountingListener screen;
    NoDevice wire;
    AcquisitionControl control(screen, wire);
    Frame gain{};
    gain[0] = 0x6C;
    gain[2] = 85; // channel 1 scaled, the others copied
    control.InterpretRecvData(gain);
    const auto frames = fullShot();
    for (auto _ : bench) {
        control.State.RequestName = "Data00";
        for (const Frame& f : frames)
            control.InterpretRecvData(f);
        benchmark::DoNotOptimize(control.State.SampleMemory.data());
    }
    bench.SetItemsProcessed(bench.iterations() * std::int64_t(frames.size()));
    bench.counters["frames_per_shot"] = double(frames.size());
}
BENCHMARK(BM_InterpretFullShot)->Unit(benchmark::kMicrosecond);

void BM_InterpretSampleFrame(benchmark::State& bench) {
    NullReceiveListener screen;
    NoDevice wire;
    AcquisitionControl control(screen, wire);
    const auto frames = fullShot();
    std::size_t i = 0;
    for (auto _ : bench) {
        control.InterpretRecvData(frames[i]);
        i = (i + 1) % (frames.size() - 1);
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_InterpretSampleFrame);

} // namespace

BENCHMARK_MAIN();
