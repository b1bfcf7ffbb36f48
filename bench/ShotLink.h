#pragma once

#include "device/session/InstrumentSession.h"
#include "device/simulator/ModelBackend.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

namespace kavlon::bench {

// The shortest a full four-channel shot can take over the link: 2,048 sample frames at
// one report per millisecond.
constexpr double kLinkFloorSeconds = 2.048;

// An instrument session connected to a model of the instrument (the simulated one, a
// replay), taking one shot after another as a Data display's Refresh would.
struct ShotLink {
    // take runs inside every delivery, as a display taking the shot would.
    explicit ShotLink(std::unique_ptr<ModelBackend> backend, std::function<void()> take = {})
        : session(std::move(backend)), model(static_cast<ModelBackend&>(session.backend())),
          m_take(std::move(take)) {
        session.setShotTaker([this](const CompletedShot&) {
            if (m_take)
                m_take();
            if (m_waiting)
                m_waiting->quit();
            return ShotDelivery::Settled;
        });
        session.controller().setSettleTime(std::chrono::milliseconds(0));
        session.start();
        session.connectInstrument();
        drain();
    }

    // Until the program has interpreted everything the instrument sent.
    void drain() {
        while (model.reportsWaiting() > 0 || model.reportsRead() != session.connection().pump().interpreted())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    // Requests a shot and returns when its trailer has been interpreted.
    void shot() {
        QEventLoop loop;
        m_waiting = &loop;
        session.requestShot("Data00");
        loop.exec();
        m_waiting = nullptr;
    }

    InstrumentSession session;
    ModelBackend& model;

private:
    std::function<void()> m_take;
    QEventLoop* m_waiting = nullptr;
};

// One shot per iteration paced like the link, timed against the link's floor.
inline void timePacedShots(benchmark::State& state, ShotLink& link) {
    double worst = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        link.shot();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
    }
    state.counters["worst_s"] = worst;
    state.counters["worst_vs_floor_pct"] = (worst / kLinkFloorSeconds - 1) * 100;
    state.counters["lost_reports"] = double(link.model.reportsLost());
}

// The benchmarks of a program whose session needs Qt's event loop.
inline int runBenchmarks(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace kavlon::bench
