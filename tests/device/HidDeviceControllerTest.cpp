#include "device/hid/HidDeviceController.h"
#include "device/simulator/SimulatedBackend.h"

#include "support/EventLoopWait.h"

#include <gtest/gtest.h>

#include <thread>

namespace kavlon {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;

const HidDeviceInfo kKeyboard{"sim:keyboard", "Keys Inc", "Keyboard", ""};
const HidDeviceInfo kMouse{"sim:mouse", "Pointers", "Mouse", "M1"};

struct ControllerFixture : ::testing::Test {
    SimulatedBackend sim{{.paced = false, .pollInterval = 0ms}};
    TJvHidDeviceController controller{sim};
    int changes = 0;
    std::vector<std::string> seen;

    ControllerFixture() {
        sim.setOtherDevices({kKeyboard}, {kMouse});
        controller.setSettleTime(0ms);
        controller.setOnEnumerate([this](TJvHidDevice& d, int index) {
            seen.push_back(std::to_string(index) + ":" + d.deviceString(2));
            return true;
        });
    }
};

TEST_F(ControllerFixture, AttachingTheHandlerRaisesItOnceWithTheDevicesAlreadyListed) {
    int listed = -1;
    controller.setOnDeviceChange([&] {
        ++changes;
        listed = controller.count();
    });
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(listed, 3);
}

TEST_F(ControllerFixture, EnumeratesInListOrderAndStopsWhenTheHandlerSaysSo) {
    controller.setOnDeviceChange([] {});
    EXPECT_EQ(controller.Enumerate(), 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"0:Keyboard", "1:Scope Interface", "2:Mouse"}));

    int calls = 0;
    controller.setOnEnumerate([&](TJvHidDevice&, int) { return ++calls < 2; });
    EXPECT_EQ(controller.Enumerate(), 2);
}

TEST_F(ControllerFixture, ACheckedOutDeviceIsReservedUntilCheckedIn) {
    controller.setOnDeviceChange([] {});
    auto first = controller.CheckOutByIndex(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->devicePath(), SimulatedBackend::kInstrumentPath);
    EXPECT_EQ(controller.CheckOutByIndex(1), nullptr) << "already checked out";
    EXPECT_EQ(controller.CheckOutByIndex(3), nullptr);
    EXPECT_EQ(controller.CheckOutByIndex(-1), nullptr);
    // The list still offers the device for enumeration.
    EXPECT_EQ(controller.Enumerate(), 3);

    controller.CheckIn(std::move(first));
    auto again = controller.CheckOutByIndex(1);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->WriteReport(std::vector<std::uint8_t>(65, 0)));
}

TEST_F(ControllerFixture, AReservationEndsWithItsDeviceAndAStaleCheckInLeavesTheNewOne) {
    controller.setOnDeviceChange([] {});
    auto old = controller.CheckOutByIndex(1);
    sim.unplug();
    controller.refreshNow();
    sim.plugIn();
    controller.refreshNow();
    auto fresh = controller.CheckOutByIndex(1);
    ASSERT_NE(fresh, nullptr) << "the instrument came back: a new device";
    EXPECT_FALSE(old->WriteReport(std::vector<std::uint8_t>(65, 0))) << "the old handle is dead";
    controller.CheckIn(std::move(old));
    EXPECT_EQ(controller.CheckOutByIndex(1), nullptr) << "still reserved by the fresh object";
}

TEST_F(ControllerFixture, ABurstOfChangesMakesOneNotification) {
    controller.setOnDeviceChange([&] { ++changes; });
    controller.setSettleTime(30ms);
    for (int i = 0; i < 10; ++i)
        controller.devicesChanged();
    sim.unplug();
    ASSERT_TRUE(waitUntil([&] { return changes == 2; }));
    EXPECT_EQ(controller.count(), 2) << "the instrument is gone from the list";
    QCoreApplication::processEvents();
    ASSERT_FALSE(waitUntil([&] { return changes > 2; }, 100ms));
}

TEST_F(ControllerFixture, ChangesFromAnotherThreadArriveOnTheControllersThread) {
    controller.setOnDeviceChange([&] { ++changes; });
    std::thread other([&] { sim.unplug(); });
    other.join();
    ASSERT_TRUE(waitUntil([&] { return changes == 2; }));
}

} // namespace
} // namespace kavlon
