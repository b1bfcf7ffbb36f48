// The receive path end to end: the real reader thread reading the simulated
// instrument, the queue, and the interpretation on this (the main) thread.
#include "device/session/InstrumentSession.h"
#include "device/simulator/SimulatedBackend.h"

#include "core/acquisition/Commands.h"
#include "core/scales/ScaleTables.h"

#include "support/EventLoopWait.h"
#include "support/SessionRecorder.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <thread>

namespace kavlon {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;

// The front panel and a Data display that takes every shot it asked for.
class Screen : public test::RecordingListener {
public:
    std::vector<std::string> events;
    // Sleeps as a busy main thread would: how long, after how many sample frames.
    std::map<std::size_t, std::chrono::milliseconds> stalls;
    // Open a local event loop for a while on a quick-print request, as a dialog would.
    bool dialogOnQuickPrint = false;
    bool insideDialog = false;
    int reentered = 0;

    void progressPositionChanged(int position) override {
        reentered += insideDialog ? 1 : 0;
        RecordingListener::progressPositionChanged(position);
        if (const auto stall = stalls.find(progressHistory.size()); stall != stalls.end())
            std::this_thread::sleep_for(stall->second);
    }
    void runStateChanged(bool r) override {
        reentered += insideDialog ? 1 : 0;
        RecordingListener::runStateChanged(r);
    }
    ShotDelivery shotCompleted(const CompletedShot& shot) override {
        events.push_back("shot " + shot.requestName);
        return RecordingListener::shotCompleted(shot);
    }
    void quickPrintRequested(int mode) override {
        RecordingListener::quickPrintRequested(mode);
        events.push_back("quick print");
        if (dialogOnQuickPrint) {
            QEventLoop dialog;
            QTimer::singleShot(80ms, &dialog, &QEventLoop::quit);
            insideDialog = true;
            dialog.exec();
            insideDialog = false;
        }
    }
};

struct Link {
    explicit Link(SimulationOptions options = {.paced = false, .pollInterval = 0ms})
        : session(std::make_unique<SimulatedBackend>(options)) {
        controller.setSettleTime(0ms);
        test::recordSession(session, screen);
        QObject::connect(&session, &InstrumentSession::connectButtonEnabled, [this](bool e) { button = e; });
        QObject::connect(&session, &InstrumentSession::connectionLost, [this] { ++lost; });
        session.start();
    }

    // Connects and waits for the instrument's first settings report.
    void connect() {
        const int before = screen.controlsEnabledCount;
        connection.Open_TBtnClick();
        ASSERT_TRUE(waitUntil([&] { return screen.controlsEnabledCount > before; }));
    }

    // Waits until every report sent has been interpreted, including the
    // answers to the commands the check boxes echo back.
    void settle(std::chrono::milliseconds timeout = 10s) {
        ASSERT_TRUE(waitUntil(
            [&] { return sim.reportsWaiting() == 0 && sim.reportsRead() == connection.pump().interpreted(); },
            timeout));
    }

    void expectShotMatchesInstrument() {
        for (int c = 1; c <= kChannels; ++c) {
            std::array<std::uint8_t, kBlockSize> sent;
            sim.withInstrument([&](SimulatedInstrument& i) {
                std::copy(i.lastShot(c).begin(), i.lastShot(c).end(), sent.begin());
            });
            const auto got = control.State.RawSamples(c - 1);
            ASSERT_TRUE(std::equal(sent.begin(), sent.end(), got.begin())) << "channel " << c;
        }
    }

    InstrumentSession session;
    SimulatedBackend& sim = static_cast<SimulatedBackend&>(session.backend());
    TJvHidDeviceController& controller = session.controller();
    Screen screen;
    DeviceLink& link = session.link();
    AcquisitionControl& control = session.acquisition();
    DeviceConnection& connection = session.connection();
    bool button = false;
    int lost = 0;
};

struct CommandCase {
    const char* name;
    void (*send)(AcquisitionControl&);
    bool (*shown)(const Screen&);
    // A box the report changes echoes its command, which the instrument reports again.
    int reports = 1;
};

const CommandCase kCommandCases[] = {
    {"slower timebase",
     [](AcquisitionControl& c) {
         c.sendCommand([](CommandBytes& b) { CmdTimebaseStep(b, TimebaseStep::Slower); });
     },
     [](const Screen& s) { return s.timebaseLabel == TimebaseTable[16].label; }},
    {"bigger volts on channel 2",
     [](AcquisitionControl& c) {
         c.sendCommand([](CommandBytes& b) { CmdVoltsStep(b, 2, VoltsStep::Bigger); });
     },
     [](const Screen& s) { return s.voltsLabel[1] == "1 V / Div" && s.voltsLabel[0] == "500 mV / Div"; }},
    {"zero level of channel 1",
     [](AcquisitionControl& c) { c.sendCommand([](CommandBytes& b) { CmdZeroLevel(b, 1, 100); }); },
     [](const Screen& s) { return s.zeroLevelPosition[0] == 100 && s.zeroLevelPosition[1] == 196; }},
    {"run/stop", [](AcquisitionControl& c) { c.sendCommand([](CommandBytes& b) { CmdRunStop(b); }); },
     [](const Screen& s) { return s.running == false; }},
    {"channel 3 off", [](AcquisitionControl& c) { c.PanelBoxClick(PanelBox::Channel, 3, false); },
     [](const Screen& s) { return s.channelEnabled[2] == false && s.progressMaximum == 192; }},
    {"invert channel 2 from elsewhere than its box",
     [](AcquisitionControl& c) { c.sendCommand([](CommandBytes& b) { CmdInvert(b, 2, true); }); },
     [](const Screen& s) { return s.boxes[int(PanelBox::Invert)][1] && !s.boxes[int(PanelBox::Invert)][0]; },
     2},
};

class FrontPanelCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(FrontPanelCommandTest, ComesBackAsASettingsReport) {
    Link k;
    k.connect();
    k.settle();
    const int reports = k.screen.controlsEnabledCount;
    GetParam().send(k.control);
    ASSERT_TRUE(waitUntil([&] { return GetParam().shown(k.screen); })) << GetParam().name;
    k.settle();
    EXPECT_EQ(k.screen.controlsEnabledCount, reports + GetParam().reports);
}

INSTANTIATE_TEST_SUITE_P(Commands, FrontPanelCommandTest, ::testing::ValuesIn(kCommandCases));

TEST(EndToEnd, ADataRequestMovesTheProgressBarAndCompletes) {
    Link k;
    k.sim.withInstrument([](SimulatedInstrument& i) { i.setScrambledOrder(true); });
    k.connect();
    EXPECT_EQ(k.screen.progressMaximum, 256);
    k.control.RequestData("Data00");
    ASSERT_TRUE(waitUntil([&] { return !k.screen.completedShots.empty(); }));
    EXPECT_EQ(k.screen.completedShots, std::vector<std::string>{"Data00"});
    EXPECT_TRUE(k.control.State.RequestName.empty());
    EXPECT_EQ(k.screen.progressHistory.size(), 2048u);
    const std::set<int> positions(k.screen.progressHistory.begin(), k.screen.progressHistory.end());
    EXPECT_EQ(positions.size(), 256u);
    EXPECT_EQ(*positions.rbegin(), 255);
    k.expectShotMatchesInstrument();
}

TEST(EndToEnd, PollsAreAcknowledgedAndQuickPrintsArrive) {
    Link k({.paced = false, .pollInterval = 20ms});
    k.connect();
    k.sim.withInstrument([](SimulatedInstrument& i) { i.sendQuickPrint(2); });
    ASSERT_TRUE(waitUntil([&] { return k.screen.quickPrintModes == std::vector<int>{2}; }));
    int acknowledged = 0;
    ASSERT_TRUE(waitUntil([&] {
        k.sim.withInstrument([&](SimulatedInstrument& i) { acknowledged = i.acknowledgements(); });
        return acknowledged >= 2;
    }));
}

// The progress positions of one shot's sample frames, in the order the
// instrument sends them (scrambled, so a lost or swapped frame shows).
std::vector<int> progressOfOneShot() {
    SimulatedInstrument instrument;
    instrument.setScrambledOrder(true);
    CommandBytes request{};
    CmdRequestData(request);
    instrument.receive(buildOutputReport(request, 6, SimulatedInstrument::kReportLength));
    std::vector<int> positions;
    while (instrument.hasFrame()) {
        const Frame f = instrument.takeFrame();
        if (f[0] >= frame::SampleCh1 && f[0] <= frame::SampleCh4)
            positions.push_back(f[1] + 64 * (f[0] - frame::SampleCh1));
    }
    return positions;
}

struct StallCase {
    const char* name;
    std::map<std::size_t, std::chrono::milliseconds> stalls;
};

// Each stall outlasts the platform's own buffer of 64 reports (one a
// millisecond) several times over, so only the receive queue can save them.
const StallCase kStallCases[] = {
    {"250 ms, three times", {{200, 250ms}, {900, 250ms}, {1600, 250ms}}},
    {"3 s, once mid-shot", {{1000, 3000ms}}},
};

void PrintTo(const StallCase& c, std::ostream* out) {
    *out << c.name;
}

// The shot came whole, every frame once and in order, through a queue that held
// more than the platform's buffer.
void expectEveryFrameOfOneShot(Link& k) {
    EXPECT_EQ(k.sim.reportsLost(), 0u);
    ASSERT_EQ(k.screen.completedShots, std::vector<std::string>{"Data01"});
    EXPECT_EQ(k.screen.progressHistory, progressOfOneShot()) << "every frame, once, in order";
    k.expectShotMatchesInstrument();
    // The stalls really outlasted the platform's buffer: far more than its 64
    // reports waited in the queue at once.
    EXPECT_GT(k.connection.pump().queue().highWater(), 128u);
}

class MainThreadStallTest : public ::testing::TestWithParam<StallCase> {};

TEST_P(MainThreadStallTest, LosesNoFrameAndKeepsTheirOrder) {
    // A report lost while the test's reader slept in a read the machine did not run in
    // time is the machine's doing: such a shot is taken again, a few times at most.
    for (int attempt = 1;; ++attempt) {
        Link k({.paced = true, .pollInterval = 0ms});
        k.sim.withInstrument([](SimulatedInstrument& i) { i.setScrambledOrder(true); });
        k.connect();
        k.screen.stalls = GetParam().stalls;
        k.control.RequestData("Data01");
        // Everything sent has been read and interpreted, or lost.
        k.settle(30s);
        const std::uint64_t lost = k.sim.reportsLost();
        if (lost > 0 && lost == k.sim.reportsLostToScheduling()) {
            if (attempt < 3)
                continue;
            GTEST_SKIP() << "the machine never ran the reader in time; nothing to judge the program by";
        }
        expectEveryFrameOfOneShot(k);
        return;
    }
}

INSTANTIATE_TEST_SUITE_P(Stalls, MainThreadStallTest, ::testing::ValuesIn(kStallCases));

struct ReadFailureCase {
    const char* name;
    int failures;
    bool unplugged;
    bool connectionSurvives;
};

const ReadFailureCase kReadFailureCases[] = {
    {"one failed read", 1, false, true},
    {"failed reads one short of the bound", TDevThread::kMaxConsecutiveReadFailures - 1, false, true},
    {"failed reads up to the bound", TDevThread::kMaxConsecutiveReadFailures, false, false},
    {"a failed read with the instrument gone", 0, true, false},
};

void PrintTo(const ReadFailureCase& c, std::ostream* out) {
    *out << c.name;
}

class LinkReadFailureTest : public ::testing::TestWithParam<ReadFailureCase> {};

TEST_P(LinkReadFailureTest, OnlyAGoneOrPersistentlyFailingInstrumentEndsTheConnection) {
    const ReadFailureCase& c = GetParam();
    // Paced, so the failures come in the middle of a shot; with a platform buffer no
    // late reader overflows, as overflowing is not what this is about.
    Link k({.paced = true, .pollInterval = 0ms, .platformBuffer = std::size_t(1) << 20});
    k.sim.withInstrument([](SimulatedInstrument& i) { i.setScrambledOrder(true); });
    k.connect();
    k.control.RequestData("Data06");
    ASSERT_TRUE(waitUntil([&] { return k.screen.progressHistory.size() > 300; }));
    if (c.unplugged)
        k.sim.unplug();
    else
        k.sim.failReads(c.failures);

    if (c.connectionSurvives) {
        k.settle(30s);
        EXPECT_EQ(k.sim.readFailures(), std::uint64_t(c.failures));
        EXPECT_TRUE(k.connection.reading());
        EXPECT_EQ(k.lost, 0);
        EXPECT_EQ(k.sim.reportsLost(), 0u);
        ASSERT_EQ(k.screen.completedShots, std::vector<std::string>{"Data06"});
        EXPECT_EQ(k.screen.progressHistory, progressOfOneShot()) << "every frame, once, in order";
        k.expectShotMatchesInstrument();
        return;
    }
    ASSERT_TRUE(waitUntil([&] { return k.lost == 1 && !k.connection.reading(); }));
    if (c.unplugged)
        EXPECT_LE(k.sim.readFailures(), 1u) << "a gone instrument is not read again";
    else
        EXPECT_EQ(k.sim.readFailures(), std::uint64_t(c.failures));
    // The button follows what is plugged in now.
    ASSERT_TRUE(waitUntil([&] { return k.button == !c.unplugged; }));
    if (!c.unplugged)
        k.connect();
}

INSTANTIATE_TEST_SUITE_P(ReadFailures, LinkReadFailureTest, ::testing::ValuesIn(kReadFailureCases));

TEST(EndToEnd, ADialogInsideAnInterpretationLetsNoFrameIn) {
    Link k;
    k.connect();
    k.screen.dialogOnQuickPrint = true;
    k.sim.withInstrument([](SimulatedInstrument& i) { i.sendQuickPrint(1); });
    k.control.RequestData("Data02");
    ASSERT_TRUE(waitUntil([&] { return !k.screen.completedShots.empty(); }));
    EXPECT_EQ(k.screen.reentered, 0);
    EXPECT_EQ(k.screen.events, (std::vector<std::string>{"quick print", "shot Data02"}));
    k.expectShotMatchesInstrument();
}

TEST(EndToEnd, TheDemonstrationShotHoldsBackFramesUntilItEnds) {
    Link k;
    k.connect();
    k.control.DemoMode = true;
    int pauses = 0;
    k.control.setDemoPause([&](std::chrono::milliseconds) {
        // The instrument speaks up while the demonstration shot is being made.
        if (pauses++ == 0)
            k.sim.withInstrument([](SimulatedInstrument& i) { i.sendQuickPrint(3); });
        QEventLoop wait;
        QTimer::singleShot(1ms, &wait, &QEventLoop::quit);
        wait.exec();
    });
    k.control.RequestData("Data03");
    EXPECT_EQ(k.screen.events, std::vector<std::string>{"shot Data03"});
    ASSERT_TRUE(waitUntil([&] { return k.screen.events.size() == 2; }));
    EXPECT_EQ(k.screen.events[1], "quick print");
}

TEST(EndToEnd, UnplugDuringAReadEndsTheReaderAndTheInstrumentCanReturn) {
    Link k({.paced = true, .pollInterval = 0ms});
    k.connect();
    k.control.RequestData("Data04");
    ASSERT_TRUE(waitUntil([&] { return k.screen.progressHistory.size() > 100; }));
    k.sim.unplug();
    ASSERT_TRUE(waitUntil([&] { return k.lost == 1 && !k.connection.reading(); }));
    EXPECT_FALSE(k.button);
    EXPECT_TRUE(k.link.DeviceList.empty());
    EXPECT_TRUE(k.screen.completedShots.empty());
    // Sending to a removed instrument is skipped quietly.
    k.control.sendCommand([](CommandBytes& b) { CmdSingle(b); });

    k.sim.plugIn();
    ASSERT_TRUE(waitUntil([&] { return k.button; }));
    k.connect();
    k.control.RequestData("Data05");
    ASSERT_TRUE(waitUntil([&] { return !k.screen.completedShots.empty(); }, 20s));
    EXPECT_EQ(k.screen.completedShots.back(), "Data05");
    EXPECT_EQ(k.lost, 1);
}

TEST(EndToEnd, AThousandConnectUnplugCycles) {
    Link k;
    for (int cycle = 1; cycle <= 1000; ++cycle) {
        ASSERT_TRUE(waitUntil([&] { return k.button; })) << "cycle " << cycle;
        k.connect();
        ASSERT_TRUE(k.connection.reading());
        k.sim.unplug();
        ASSERT_TRUE(waitUntil([&] { return k.lost == cycle && !k.connection.reading(); }))
            << "cycle " << cycle;
        k.sim.plugIn();
    }
    EXPECT_GE(k.screen.controlsEnabledCount, 1000);
}

} // namespace
} // namespace kavlon
