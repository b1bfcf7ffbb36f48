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
#include "ui/displays/DataDisplay.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/FollowBox.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/displays/SourceBox.h"
#include "ui/mainwindow/MainForm.h"

#include "device/simulator/SimulatedBackend.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <chrono>

#include <time.h>

namespace {

using namespace kavlon;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr double kLinkFloorSeconds = 2.048;

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
        const auto start = Clock::now();
        const double cpuStart = threadCpuMs();
        const QString what =
            QString("%1 %2").arg(receiver->metaObject()->className()).arg(int(event->type()));
        const bool done = QApplication::notify(receiver, event);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        --m_depth;
        if (ms > longestMs) {
            longestMs = ms;
            longestWhat = what;
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
        runUntil([&] { return form->Data_TB->isEnabled(); }, 10s);
        form->Data_TBClick();
        data = qobject_cast<TMDIChild_Data*>(form->childDisplays().last());
        QObject::connect(data, &TMDIChild_Data::shotTaken, [this] {
            arrivals.push_back(Clock::now());
            if (waiting && int(arrivals.size()) >= wanted)
                waiting->quit();
        });
    }

    static void runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto end = Clock::now() + limit;
        while (!done() && Clock::now() < end)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
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
        runUntil([] { return false; }, 100ms);
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

void BM_RepeatTenShots(benchmark::State& state) {
    PacedWindow w;
    StretchWatch watch;
    for (auto _ : state) {
        w.arrivals.clear();
        watch.start();
        timedApp()->reset();
        w.repeat(11);
        if (w.arrivals.size() < 11) {
            state.SkipWithError("the shots did not come");
            break;
        }
        const double seconds = std::chrono::duration<double>(w.arrivals[10] - w.arrivals[0]).count();
        state.SetIterationTime(seconds);
        state.counters["ten_shots_s"] = seconds;
        state.counters["over_floor_pct"] = (seconds / (10 * kLinkFloorSeconds) - 1) * 100;
        state.counters["longest_timer_gap_ms"] = watch.longestMs();
        state.counters["longest_event_ms"] = timedApp()->longestMs;
        state.counters["longest_event_cpu_ms"] = timedApp()->longestCpuMs;
        state.SetLabel(timedApp()->longestWhat.toStdString());
    }
}
BENCHMARK(BM_RepeatTenShots)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_RepeatWithFourFollowers(benchmark::State& state) {
    PacedWindow w;
    w.follower<TMDIChild_Scope>(&TMainForm::Scope_TBClick);
    const auto* measure = w.follower<TMDIChild_Math>(&TMainForm::Measure_TBClick);
    w.follower<TMDIChild_FFT>(&TMainForm::FFT_TBClick);
    w.follower<TMDIChild_Scope>(&TMainForm::Scope_TBClick);
    StretchWatch watch;
    for (auto _ : state) {
        w.arrivals.clear();
        watch.start();
        timedApp()->reset();
        w.repeat(6);
        if (w.arrivals.size() < 6) {
            state.SkipWithError("the shots did not come");
            break;
        }
        const double seconds = std::chrono::duration<double>(w.arrivals[5] - w.arrivals[0]).count();
        state.SetIterationTime(seconds);
        state.counters["over_floor_pct"] = (seconds / (5 * kLinkFloorSeconds) - 1) * 100;
        // Each shot loaded by the followers: the Measure display counts them.
        state.counters["measured_shots"] = double(measure->statistics.shots());
        state.counters["longest_timer_gap_ms"] = watch.longestMs();
        state.counters["longest_event_ms"] = timedApp()->longestMs;
        state.counters["longest_event_cpu_ms"] = timedApp()->longestCpuMs;
        state.SetLabel(timedApp()->longestWhat.toStdString());
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
