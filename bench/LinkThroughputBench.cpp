// A full four-channel shot end to end: the simulated instrument, the reader
// thread, the receive queue and the interpretation on the main thread.
//   BM_FullShotUnpaced: frames per second when the instrument answers as fast
//   as it is read (target: at least 200,000 frames/s).
//   BM_FullShotPaced: the shot's time at one report per millisecond against the
//   link floor of 2,048 sample frames (target: within 2% of 2.048 s).
#include "device/link/DeviceConnection.h"
#include "device/simulator/SimulatedBackend.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace kavlon;
using namespace std::chrono_literals;

constexpr double kLinkFloorSeconds = 2.048;

class ShotListener : public NullReceiveListener {
public:
    AcquisitionControl* control = nullptr;
    QEventLoop* waiting = nullptr;
    int settingsReports = 0;
    void instrumentControlsEnabled() override { ++settingsReports; }
    void shotCompleted(const std::string&) override {
        control->State.RequestName.clear();
        if (waiting)
            waiting->quit();
    }
};

struct ConnectedLink {
    explicit ConnectedLink(bool paced) : sim({.paced = paced, .pollInterval = 0ms}) {
        screen.control = &control;
        controller.setSettleTime(0ms);
        connection.start();
        connection.Open_TBtnClick();
        // A stopped instrument sends its last shot again, so the figures are
        // about the link and not about making signals.
        control.sendCommand([](CommandBytes& b) { CmdRunStop(b); });
        while (sim.reportsWaiting() > 0 || sim.reportsRead() != connection.pump().interpreted())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    // Requests a shot and returns when the trailer has been interpreted.
    void shot() {
        QEventLoop loop;
        screen.waiting = &loop;
        control.RequestData("Data00");
        loop.exec();
        screen.waiting = nullptr;
    }

    SimulatedBackend sim;
    TJvHidDeviceController controller{sim};
    ShotListener screen;
    DeviceLink link;
    AcquisitionControl control{screen, link};
    DeviceConnection connection{control, link, controller};
};

constexpr int kFramesPerShot = kChannels * SimulatedInstrument::kFramesPerChannel + 1;

void BM_FullShotUnpaced(benchmark::State& state) {
    ConnectedLink k(false);
    for (auto _ : state)
        k.shot();
    state.SetItemsProcessed(state.iterations() * kFramesPerShot);
    state.counters["frames_per_s"] =
        benchmark::Counter(double(state.iterations() * kFramesPerShot), benchmark::Counter::kIsRate);
    state.counters["queue_high_water"] = double(k.connection.pump().queue().highWater());
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
