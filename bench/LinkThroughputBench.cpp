// A full four-channel shot end to end: the simulated instrument, the reader
// thread, the receive queue and the interpretation on the main thread.
//   BM_FullShotUnpaced: frames per second when the instrument answers as fast
//   as it is read (target: at least 200,000 frames/s).
//   BM_FullShotPaced: the shot's time at one report per millisecond against the
//   link floor of 2,048 sample frames (target: within 2% of 2.048 s).
#include "device/session/InstrumentSession.h"
#include "device/simulator/SimulatedBackend.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace kavlon;
using namespace std::chrono_literals;

constexpr double kLinkFloorSeconds = 2.048;

struct ConnectedLink {
    explicit ConnectedLink(bool paced)
        : session(
              std::make_unique<SimulatedBackend>(SimulationOptions{.paced = paced, .pollInterval = 0ms})) {
        session.setShotTaker([this](const CompletedShot&) {
            if (waiting)
                waiting->quit();
            return ShotDelivery::Settled;
        });
        session.controller().setSettleTime(0ms);
        session.start();
        session.connectInstrument();
        // A stopped instrument sends its last shot again, so the figures are
        // about the link and not about making signals.
        session.acquisition().sendCommand([](CommandBytes& b) { CmdRunStop(b); });
        while (sim.reportsWaiting() > 0 || sim.reportsRead() != session.connection().pump().interpreted())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    // Requests a shot and returns when the trailer has been interpreted.
    void shot() {
        QEventLoop loop;
        waiting = &loop;
        session.requestShot("Data00");
        loop.exec();
        waiting = nullptr;
    }

    InstrumentSession session;
    SimulatedBackend& sim = static_cast<SimulatedBackend&>(session.backend());
    QEventLoop* waiting = nullptr;
};

constexpr int kFramesPerShot = kChannels * SimulatedInstrument::kFramesPerChannel + 1;

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
    double worst = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        k.shot();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
    }
    state.counters["worst_s"] = worst;
    state.counters["worst_vs_floor_pct"] = (worst / kLinkFloorSeconds - 1) * 100;
    state.counters["lost_reports"] = double(k.sim.reportsLost());
}
BENCHMARK(BM_FullShotPaced)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
