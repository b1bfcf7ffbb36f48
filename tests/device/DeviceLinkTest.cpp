#include "device/link/DeviceLink.h"
#include "core/acquisition/AcquisitionControl.h"

#include <gtest/gtest.h>

namespace kavlon {
namespace {

class FakeDevice : public TJvHidDevice {
public:
    explicit FakeDevice(int outputLength) : m_outputLength(outputLength) {}
    std::string deviceString(int) override { return {}; }
    HidCaps Caps() override {
        ++capsReads;
        return {65, m_outputLength};
    }
    bool WriteReport(std::span<const std::uint8_t> report) override {
        written.emplace_back(report.begin(), report.end());
        return true;
    }
    int capsReads = 0;
    std::vector<std::vector<std::uint8_t>> written;

private:
    int m_outputLength;
};

TEST(DeviceLink, CommandsGoToTheFirstDeviceAndStopWhenItIsGone) {
    NullReceiveListener screen;
    DeviceLink link;
    AcquisitionControl control(screen, link);
    control.State.Connected = true;

    auto first = std::make_unique<FakeDevice>(65);
    auto second = std::make_unique<FakeDevice>(65);
    FakeDevice* firstPtr = first.get();
    FakeDevice* secondPtr = second.get();
    link.DeviceList.push_back(std::move(first));
    link.DeviceList.push_back(std::move(second));

    control.sendCommand([](CommandBytes& b) { CmdConnect(b); });
    control.sendCommand([](CommandBytes& b) { CmdRunStop(b); });
    ASSERT_EQ(firstPtr->written.size(), 2u);
    EXPECT_EQ(firstPtr->capsReads, 2) << "capabilities are read again before every send";
    EXPECT_EQ(firstPtr->written[1].size(), 65u);
    EXPECT_EQ(firstPtr->written[1][2], 0x06);
    EXPECT_TRUE(secondPtr->written.empty());

    // The instrument was unplugged while connected: nothing to send to, no crash.
    link.DeviceList.clear();
    control.sendCommand([](CommandBytes& b) { CmdSingle(b); });
    control.RequestData("Data00");
    EXPECT_EQ(control.State.RequestName, "Data00");
}

} // namespace
} // namespace kavlon
