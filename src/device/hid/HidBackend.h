#pragma once

#include "device/hid/HidDevice.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kavlon {

// One HID device found by enumeration. Strings are UTF-8, empty when unreadable.
struct HidDeviceInfo {
    std::string path;
    std::string manufacturer;
    std::string product;
    std::string serialNumber;

    bool operator==(const HidDeviceInfo&) const = default;
};

// The HID access beneath the device controller: hidapi on real hardware, or the
// simulated instrument.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Every HID device present, in the platform's order.
    virtual std::vector<HidDeviceInfo> enumerate() = 0;
    // A device object for an enumerated device, not yet opened.
    virtual std::unique_ptr<TJvHidDevice> makeDevice(const HidDeviceInfo& info) = 0;
    // From now on, changed() is called whenever devices may have come or gone,
    // on the thread that called watch() or any other; it may come in bursts.
    virtual void watch(std::function<void()> changed) = 0;
};

// USB strings 1-3 as the device-string order gives them: manufacturer, product, serial.
std::string infoString(const HidDeviceInfo& info, int index);

} // namespace kavlon
