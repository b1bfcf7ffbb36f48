// The one instrument session: the order its parts end in, and what it tells its
// clients about a shot.
#include "device/session/InstrumentSession.h"

#include "support/EventLoopWait.h"
#include "support/FaultyBackend.h"
#include "support/SessionRecorder.h"

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;

constexpr SimulationOptions kUnpaced{.paced = false, .pollInterval = 0ms};

TEST(InstrumentSession, EndsItsReaderBeforeItsDevicesAndItsDevicesBeforeTheBackend) {
    // Ended at rest, in the middle of a shot, and before it was ever connected.
    for (int moment = 0; moment < 3; ++moment) {
        auto trace = std::make_shared<test::LinkTrace>();
        {
            InstrumentSession session(
                std::make_unique<test::FaultyBackend>(kUnpaced, test::LinkFaults{}, trace));
            session.controller().setSettleTime(0ms);
            session.start();
            if (moment == 2)
                continue;
            session.connectInstrument();
            ASSERT_TRUE(waitUntil([&] { return session.settingsReports() >= 1; }));
            if (moment == 1) {
                session.requestShot("Data00");
                // Ended while the reader is busy with the shot's frames.
                ASSERT_TRUE(waitUntil([&] { return session.acquisition().progressPosition() >= 8; }));
            }
            EXPECT_GT(trace->devicesAlive, 0) << moment;
        }
        EXPECT_EQ(trace->destroyedWhileRead, 0) << moment;
        EXPECT_EQ(trace->readsUnderway, 0) << moment;
        EXPECT_EQ(trace->devicesAlive, 0) << moment;
        EXPECT_FALSE(trace->backendWentFirst) << moment;
    }
}

TEST(InstrumentSession, AShotThatLostAFrameIsOfferedAndAnnouncedAsNotWhole) {
    // Reports 1 and 2 answer the connection; the shot's frames follow, 512 per channel,
    // of which the first 127 hold the 4,060 samples the power-on timebase keeps.
    for (std::uint64_t lost : {0, 60, 100}) {
        InstrumentSession session(std::make_unique<test::FaultyBackend>(kUnpaced, test::LinkFaults{lost}));
        test::RecordingListener taker;
        test::recordSession(session, taker);
        std::vector<std::pair<QString, bool>> announced;
        QObject::connect(&session, &InstrumentSession::shotReady,
                         [&](const QString& name, bool whole) { announced.emplace_back(name, whole); });
        session.controller().setSettleTime(0ms);
        session.start();
        session.connectInstrument();
        ASSERT_TRUE(waitUntil([&] { return session.settingsReports() >= 1; })) << lost;
        session.requestShot("Data07");
        ASSERT_TRUE(waitUntil([&] { return !announced.empty(); }, 20s)) << lost;

        const bool whole = lost == 0;
        EXPECT_EQ(taker.completedShots, std::vector<std::string>{"Data07"}) << lost;
        EXPECT_EQ(taker.wholeShots, std::vector<bool>{whole}) << lost;
        EXPECT_EQ(taker.gaps.front().empty(), whole) << lost << ": " << taker.gaps.front();
        EXPECT_EQ(announced, (std::vector<std::pair<QString, bool>>{{"Data07", whole}})) << lost;
        EXPECT_TRUE(session.state().RequestName.empty()) << "settled once offered";
    }
}

} // namespace
} // namespace kavlon
