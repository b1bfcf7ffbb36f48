#include "device/session/InstrumentSession.h"
#include "device/simulator/SimulatedBackend.h"

#include "support/EventLoopWait.h"
#include "support/SessionRecorder.h"

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;

const HidDeviceInfo kMouse{"sim:mouse", "Pointers", "Mouse", "M1"};
const HidDeviceInfo kAdapter{"sim:adapter", "Quorvel", "Serial Adapter Bench Scope", ""};
const HidDeviceInfo kAdapterWithSerial{"sim:adapter2", "Quorvel", "Serial Adapter Bench Scope", "A7"};
const HidDeviceInfo kNoProduct{"sim:noproduct", "Quorvel", "", "Scope Interface 12"};

// The session as the main window holds it, with the simulated instrument behind
// the device layer.
struct Connection {
    explicit Connection(SimulationOptions options = {.paced = false, .pollInterval = 0ms})
        : session(std::make_unique<SimulatedBackend>(options)) {
        controller.setSettleTime(0ms);
        test::recordSession(session, screen);
        QObject::connect(&session, &InstrumentSession::connectButtonEnabled,
                         [this](bool enabled) { button = enabled; });
        QObject::connect(&session, &InstrumentSession::connectionLost, [this] { ++lost; });
        QObject::connect(&session, &InstrumentSession::connectFailed, [this](const QString&) { ++failed; });
    }

    InstrumentSession session;
    SimulatedBackend& sim = static_cast<SimulatedBackend&>(session.backend());
    TJvHidDeviceController& controller = session.controller();
    test::RecordingListener screen;
    DeviceLink& link = session.link();
    AcquisitionControl& control = session.acquisition();
    DeviceConnection& connection = session.connection();
    std::optional<bool> button;
    int lost = 0;
    int failed = 0;
};

struct EnumerationCase {
    const char* name;
    std::vector<HidDeviceInfo> before;
    bool instrument;
    std::vector<HidDeviceInfo> after;
    std::vector<std::string> names;
    std::size_t devices;
    bool button;
};

const EnumerationCase kEnumerationCases[] = {
    {"instrument alone", {}, true, {}, {" Quorvel Scope Interface SIM0001"}, 1, true},
    {"another device enumerated last disables the button",
     {},
     true,
     {kMouse},
     {" Quorvel Scope Interface SIM0001"},
     1,
     false},
    {"instrument enumerated last enables it",
     {kMouse},
     true,
     {},
     {" Quorvel Scope Interface SIM0001"},
     1,
     true},
    {"serial adapter", {kMouse}, false, {kAdapter}, {" Quorvel Serial Adapter Bench Scope"}, 1, true},
    {"adapter string with anything after it", {}, false, {kAdapterWithSerial}, {}, 0, false},
    {"an empty descriptor adds no space", {}, false, {kNoProduct}, {" Quorvel Scope Interface 12"}, 1, true},
    {"both forms, in enumeration order",
     {kAdapter},
     true,
     {},
     {" Quorvel Serial Adapter Bench Scope", " Quorvel Scope Interface SIM0001"},
     2,
     true},
};

class EnumerationTest : public ::testing::TestWithParam<EnumerationCase> {};

TEST_P(EnumerationTest, StartUpNotificationFindsWhatIsPluggedIn) {
    const auto& c = GetParam();
    Connection k;
    k.sim.setOtherDevices(c.before, c.after);
    if (!c.instrument)
        k.sim.unplug();
    // No event loop turn: the start-up notification runs at once.
    k.connection.start();
    EXPECT_EQ(k.link.DeviceNames, c.names) << c.name;
    EXPECT_EQ(k.link.DeviceList.size(), c.devices) << c.name;
    ASSERT_TRUE(k.button.has_value()) << c.name;
    EXPECT_EQ(*k.button, c.button) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Devices, EnumerationTest, ::testing::ValuesIn(kEnumerationCases));

TEST(DeviceConnection, TheButtonGoesOffWhenTheLastDeviceGoes) {
    Connection k;
    k.connection.start();
    ASSERT_TRUE(k.button.value());
    k.sim.unplug();
    ASSERT_TRUE(waitUntil([&] { return !k.button.value(); }));
    EXPECT_TRUE(k.link.DeviceNames.empty());
    k.sim.plugIn();
    ASSERT_TRUE(waitUntil([&] { return k.button.value(); }));
}

TEST(DeviceConnection, DemonstrationConnectsToNothingAndShowsTheStoredSettings) {
    Connection k;
    k.connection.start();
    k.control.DemoMode = true;
    k.connection.Open_TBtnClick();
    EXPECT_TRUE(k.control.State.Connected);
    EXPECT_FALSE(k.button.value());
    EXPECT_FALSE(k.connection.reading());
    EXPECT_EQ(k.screen.upperChannelsShown, false) << "the stored settings are a two-channel instrument";
    EXPECT_EQ(k.screen.running, true);
}

// An instrument the program may see but not open (no permission on its node).
class LockedBackend : public HidBackend {
public:
    std::vector<HidDeviceInfo> enumerate() override { return {simulatedInstrumentInfo()}; }
    std::unique_ptr<TJvHidDevice> makeDevice(const HidDeviceInfo& info) override {
        struct Locked : TJvHidDevice {
            explicit Locked(HidDeviceInfo i) : info(std::move(i)) {}
            std::string deviceString(int index) override { return infoString(info, index); }
            HidCaps Caps() override { return {}; }
            bool WriteReport(std::span<const std::uint8_t>) override { return false; }
            bool open() override { return false; }
            HidDeviceInfo info;
        };
        return std::make_unique<Locked>(info);
    }
    void watch(std::function<void()>) override {}
};

TEST(DeviceConnection, AnInstrumentThatCannotBeOpenedIsReportedOnConnect) {
    InstrumentSession session(std::make_unique<LockedBackend>());
    int failed = 0;
    QObject::connect(&session, &InstrumentSession::connectFailed, [&](const QString&) { ++failed; });
    session.start();
    EXPECT_EQ(session.link().DeviceNames.size(), 1u);
    EXPECT_TRUE(session.link().DeviceList.empty());
    session.connectInstrument();
    EXPECT_EQ(failed, 1);
    EXPECT_FALSE(session.state().Connected);
    EXPECT_FALSE(session.connection().reading());
}

TEST(DeviceConnection, AnotherDeviceComingLeavesTheConnectionAndItsReaderAlone) {
    Connection k;
    k.connection.start();
    k.connection.Open_TBtnClick();
    ASSERT_TRUE(waitUntil([&] { return k.screen.controlsEnabledCount >= 1; }));
    TDevThread* reader = k.connection.ReaderThread();

    k.sim.setOtherDevices({}, {kMouse});
    k.controller.refreshNow();
    EXPECT_EQ(k.connection.ReaderThread(), reader);
    EXPECT_EQ(k.lost, 0);
    EXPECT_FALSE(k.button.value()) << "connected: no second connection";
    EXPECT_EQ(k.link.ActiveDevice(), &reader->device());

    k.control.sendCommand([](CommandBytes& b) { CmdRunStop(b); });
    ASSERT_TRUE(waitUntil([&] { return k.screen.running == false; }));
}

TEST(DeviceConnection, AnInstrumentNoLongerFirstEndsTheConnection) {
    Connection k;
    k.connection.start();
    k.connection.Open_TBtnClick();
    ASSERT_TRUE(k.connection.reading());
    // Commands go to the first device; a reader on another would hear nothing of them.
    k.sim.setOtherDevices({kAdapter}, {});
    k.controller.refreshNow();
    EXPECT_FALSE(k.connection.reading());
    EXPECT_EQ(k.lost, 1);
    EXPECT_TRUE(k.button.value());
}

} // namespace
} // namespace kavlon
