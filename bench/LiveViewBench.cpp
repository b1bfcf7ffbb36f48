// The running view over the paced simulated link (one report per millisecond, a full
// four-channel shot of 2,048 sample frames and a trailer in 2.048 s):
//   BM_RepeatTenShots: ten shots one after another by a Data display's Repeat, from the
//   first shot's arrival to the eleventh's, against 10 x 2.048 s (target: within 1 %),
//   and the longest main-thread stretch meanwhile: the longest single event, in wall
//   and in processor time, with its receiver (type 77: a repaint of the window, 43: a
//   queued call such as a follower's load) (target: under 20 ms).
//   BM_RepeatWithFourFollowers: the same while a Scope, a Measure, an FFT display and a
//   second Scope follow the repeating Data display and redraw each shot.
// The longest gap of a 1 ms timer is printed too; on a loaded machine it also holds
// the time the thread waited for the processor.
#include "ShotLink.h"

#include "ui/displays/DataDisplay.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/FollowBox.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/displays/SourceBox.h"
#include "ui/mainwindow/MainForm.h"

#include "device/simulator/SimulatedBackend.h"

#include "support/EventLoopWait.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>

#include <time.h>

namespace {

using namespace kavlon;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using bench::kLinkFloorSeconds;

// The longest gap between the timeouts of a 1 ms timer: how long the window at most
// did not answer, whether busy or not given the processor by a loaded machine.
class StretchWatch {
public:
    StretchWatch() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const auto now = Clock::now();
            m_longest = std::max(m_longest, std::chrono::duration<double, std::milli>(now - m_last).count());
            m_last = now;
        });
    }
    void start() {
        m_longest = 0;
        m_last = Clock::now();
        m_timer.start();
    }
    double longestMs() const { return m_longest; }

private:
    QTimer m_timer;
    Clock::time_point m_last;
    double m_longest = 0;
};

// The longest single event the main thread handled, and what it was: where the
// window's longest stretch went.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth > 0)
            return QApplication::notify(receiver, event);
        ++m_depth;
        // Taken before: the event may delete its receiver. The class name is static.
        const char* className = receiver->metaObject()->className();
        const int type = int(event->type());
        const auto start = Clock::now();
        const double cpuStart = threadCpuMs();
        const bool done = QApplication::notify(receiver, event);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        --m_depth;
        if (ms > longestMs) {
            longestMs = ms;
            longestWhat = QString("%1 %2").arg(className).arg(type);
        }
        longestCpuMs = std::max(longestCpuMs, threadCpuMs() - cpuStart);
        return done;
    }
    void reset() {
        longestMs = 0;
        longestCpuMs = 0;
        longestWhat.clear();
    }
    double longestMs = 0;
    // The most processor time one event took: the same as longestMs unless the machine
    // gave the thread's time to others meanwhile.
    double longestCpuMs = 0;
    QString longestWhat;

private:
    int m_depth = 0;
};

TimedApplication* timedApp() {
    return static_cast<TimedApplication*>(QCoreApplication::instance());
}

// The window over the paced simulated instrument, connected, with one Data display.
struct PacedWindow {
    PacedWindow() {
        form = std::make_unique<TMainForm>(
            folder.path(), nullptr,
            std::make_unique<SimulatedBackend>(SimulationOptions{.paced = true, .pollInterval = 0ms}));
        form->show();
        form->Open_TBtn->click();
        test::waitUntil([&] { return form->Data_TB->isEnabled(); }, 10s);
        form->Data_TBClick();
        data = qobject_cast<TMDIChild_Data*>(form->childDisplays().last());
        QObject::connect(data, &TMDIChild_Data::shotTaken, [this] {
            arrivals.push_back(Clock::now());
            if (waiting && int(arrivals.size()) >= wanted)
                waiting->quit();
        });
    }

    // Ticks Repeat and returns once `shots` shots have arrived.
    void repeat(int shots) {
        wanted = shots;
        QEventLoop loop;
        waiting = &loop;
        QTimer::singleShot(0, data->RepeatCB, &QCheckBox::click);
        QTimer::singleShot(shots * 4000 + 10000, &loop, &QEventLoop::quit);
        loop.exec();
        waiting = nullptr;
        data->RepeatCB->click();
        // The followers' loads of the last shot are queued still.
        test::waitUntil([] { return false; }, 100ms);
    }

    template <class Display> Display* follower(void (TMainForm::*add)()) {
        (form.get()->*add)();
        auto* display = qobject_cast<Display*>(form->childDisplays().last());
        display->ComboBox1->refill();
        display->ComboBox1->setCurrentIndex(display->ComboBox1->findText(data->windowTitle()));
        // A new box starts as the last one was left.
        if (!display->FollowCB->isChecked())
            display->FollowCB->click();
        return display;
    }

    QTemporaryDir folder;
    std::unique_ptr<TMainForm> form;
    TMDIChild_Data* data = nullptr;
    std::vector<Clock::time_point> arrivals;
    QEventLoop* waiting = nullptr;
    int wanted = 0;
};

// Ticks Repeat for shots after a first one and times them from the first's arrival, with
// the longest stretches meanwhile; the seconds, or nothing when the shots did not come.
std::optional<double> timeRepeat(benchmark::State& state, PacedWindow& w, int shots) {
    StretchWatch watch;
    w.arrivals.clear();
    watch.start();
    timedApp()->reset();
    w.repeat(shots + 1);
    if (int(w.arrivals.size()) < shots + 1) {
        state.SkipWithError("the shots did not come");
        return std::nullopt;
    }
    const double seconds =
        std::chrono::duration<double>(w.arrivals[std::size_t(shots)] - w.arrivals[0]).count();
    state.SetIterationTime(seconds);
    state.counters["over_floor_pct"] = (seconds / (shots * kLinkFloorSeconds) - 1) * 100;
    state.counters["longest_timer_gap_ms"] = watch.longestMs();
    state.counters["longest_event_ms"] = timedApp()->longestMs;
    state.counters["longest_event_cpu_ms"] = timedApp()->longestCpuMs;
    state.SetLabel(timedApp()->longestWhat.toStdString());
    return seconds;
}

void BM_RepeatTenShots(benchmark::State& state) {
    PacedWindow w;
    for (auto _ : state) {
        const auto seconds = timeRepeat(state, w, 10);
        if (!seconds)
            break;
        state.counters["ten_shots_s"] = *seconds;
    }
}
BENCHMARK(BM_RepeatTenShots)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_RepeatWithFourFollowers(benchmark::State& state) {
    PacedWindow w;
    w.follower<TMDIChild_Scope>(&TMainForm::Scope_TBClick);
    const auto* measure = w.follower<TMDIChild_Math>(&TMainForm::Measure_TBClick);
    w.follower<TMDIChild_FFT>(&TMainForm::FFT_TBClick);
    w.follower<TMDIChild_Scope>(&TMainForm::Scope_TBClick);
    for (auto _ : state) {
        if (!timeRepeat(state, w, 5))
            break;
        // Each shot loaded by the followers: the Measure display counts them.
        state.counters["measured_shots"] = double(measure->statistics.shots());
    }
}
BENCHMARK(BM_RepeatWithFourFollowers)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TimedApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
