#pragma once

#include "device/hid/HidBackend.h"

#include <memory>

namespace kavlon {

class UdevMonitor;

// Real HID devices through hidapi (the hidraw backend on Linux), with udev
// telling when devices come and go. Outlives every device it made.
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<TJvHidDevice> makeDevice(const HidDeviceInfo& info) override;
    void watch(std::function<void()> changed) override;

    // False when the platform's device-change news cannot be had; the device
    // list is then read at start-up only.
    bool watching() const;

private:
    std::unique_ptr<UdevMonitor> m_monitor;
};

} // namespace kavlon
