#pragma once

#include "device/hid/HidBackend.h"

#include <hidapi.h>

namespace kavlon {

// One hidapi device. Reads and writes go through two handles of their own, so
// the reader thread and the main thread never share hidapi's per-handle state.
// Capabilities come from the report descriptor, read once when the object is made.
class HidapiDevice : public TJvHidDevice {
public:
    explicit HidapiDevice(HidDeviceInfo info);
    ~HidapiDevice() override;
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    std::string deviceString(int index) override { return infoString(m_info, index); }
    HidCaps Caps() override { return m_caps; }
    bool WriteReport(std::span<const std::uint8_t> report) override;
    int ReadReport(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
    std::string devicePath() const override { return m_info.path; }
    bool present() const override;
    bool open() override;

private:
    void close();

    HidDeviceInfo m_info;
    HidCaps m_caps;
    bool m_numbered = false;
    hid_device* m_readHandle = nullptr;
    hid_device* m_writeHandle = nullptr;
};

} // namespace kavlon
