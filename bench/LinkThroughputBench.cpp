// A full four-channel shot end to end: the simulated instrument, the reader
// thread, the receive queue and the interpretation on the main thread.
//   BM_FullShotUnpaced: frames per second when the instrument answers as fast
//   as it is read (target: at least 200,000 frames/s).
//   BM_FullShotPaced: the shot's time at one report per millisecond against the
//   link floor of 2,048 sample frames (target: within 2% of 2.048 s).
#include "ShotLink.h"

#include "core/acquisition/FrameEncoding.h"
#include "device/simulator/SimulatedBackend.h"

namespace {

using namespace kavlon;
using namespace std::chrono_literals;

// A stopped instrument sends its last shot again, so the figures are about the link
// and not about making signals.
struct ConnectedLink : bench::ShotLink {
    explicit ConnectedLink(bool paced)
        : ShotLink(
              std::make_unique<SimulatedBackend>(SimulationOptions{.paced = paced, .pollInterval = 0ms})) {
        session.acquisition().sendCommand([](CommandBytes& b) { CmdRunStop(b); });
        drain();
    }
};

constexpr int kFramesPerShot = kChannels * kFramesPerMemory + 1;

void BM_FullShotUnpaced(benchmark::State& state) {
    ConnectedLink k(false);
    for (auto _ : state)
        k.shot();
    state.SetItemsProcessed(state.iterations() * kFramesPerShot);
    state.counters["frames_per_s"] =
        benchmark::Counter(double(state.iterations() * kFramesPerShot), benchmark::Counter::kIsRate);
    state.counters["queue_high_water"] = double(k.session.connection().pump().queue().highWater());
}
BENCHMARK(BM_FullShotUnpaced)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullShotPaced(benchmark::State& state) {
    ConnectedLink k(true);
    bench::timePacedShots(state, k);
}
BENCHMARK(BM_FullShotPaced)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return kavlon::bench::runBenchmarks(argc, argv);
}
