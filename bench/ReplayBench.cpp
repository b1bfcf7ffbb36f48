// Saved full four-channel shots played back as the instrument, through the whole path:
// the replay, the reader thread, the receive queue, the interpretation and the transfer
// into a Data display's record.
//   BM_ReplayFast: 100 shots with --fast (target: at least 100 shots per second).
//   BM_ReplayPaced: one shot paced like the real link against its floor of 2,048 sample
//   frames at one report per millisecond (target: within 0.1% of 2.048 s).
#include "FullShot.h"
#include "ShotLink.h"

#include "device/replay/ReplayBackend.h"

#include "core/shot/ShotCsv.h"

#include "support/ScratchFolder.h"

#include <cstdlib>

namespace {

using namespace kavlon;
using namespace std::chrono_literals;

constexpr int kShotsPerRun = 100;
// Files of their own, so every shot brings its settings report and the transfer works on
// new samples; the list starts again at its end.
constexpr int kFiles = 10;

// A folder of full four-channel shots, each with other samples and scales.
struct SavedShots {
    test::ScratchFolder folder;
    explicit SavedShots(int files) {
        auto state = bench::fullShotState();
        for (int f = 0; f < files; ++f) {
            state->ZeroLevel[0] = 100 + f;
            auto block = state->DisplaySamples(f % kChannels);
            std::rotate(block.begin(), block.begin() + 37, block.end());
            ShotRecord record;
            transferShot(*state, record, TransferInputs{});
            if (!saveShotCsv(folder.path() / ("shot" + std::to_string(100 + f) + ".csv"), record).saved)
                std::abort();
        }
    }
};

// A session on a replay of the folder, transferring every shot into a record as a Data
// display does.
struct ReplayLink : bench::ShotLink {
    ReplayLink(const SavedShots& shots, bool fast)
        : ShotLink(std::make_unique<ReplayBackend>(
                       std::make_shared<ReplayList>(loadReplayList({shots.folder.path()})), fast),
                   [this] { transferShot(session.state(), record, TransferInputs{}); }) {}
    ShotRecord record;
};

void BM_ReplayFast(benchmark::State& state) {
    const SavedShots shots(kFiles);
    ReplayLink link(shots, true);
    for (auto _ : state)
        for (int n = 0; n < kShotsPerRun; ++n)
            link.shot();
    state.counters["shots_per_s"] =
        benchmark::Counter(double(state.iterations() * kShotsPerRun), benchmark::Counter::kIsRate);
    state.counters["lost_reports"] = double(link.model.reportsLost());
}
BENCHMARK(BM_ReplayFast)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ReplayPaced(benchmark::State& state) {
    // One file: after the first shot the program holds its settings, as with a real
    // instrument whose settings stay.
    const SavedShots shots(1);
    ReplayLink link(shots, false);
    bench::timePacedShots(state, link);
}
BENCHMARK(BM_ReplayPaced)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return kavlon::bench::runBenchmarks(argc, argv);
}
