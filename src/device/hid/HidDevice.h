#pragma once

#include "core/link/DeviceRecognition.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace kavlon {

// HID capabilities the program uses: report lengths in bytes, report ID included.
struct HidCaps {
    int InputReportByteLength = 0;
    int OutputReportByteLength = 0;
};

// One HID device as the controller lists it. The controller's own objects only
// answer questions (strings, capabilities); a checked-out object has been opened
// and also reads and writes. The hidapi device and the simulated instrument
// both implement it.
class TJvHidDevice {
public:
    virtual ~TJvHidDevice() = default;
    // USB string descriptor 0-3 as text; 0 is always empty, an unreadable one too.
    virtual std::string deviceString(int index) = 0;
    virtual HidCaps Caps() = 0;
    // Writes one output report, report ID first; true when the whole report went out.
    virtual bool WriteReport(std::span<const std::uint8_t> report) = 0;

    // Reads one input report into buffer, report ID first whether or not the
    // device numbers its reports. Returns the report's length (at most the
    // buffer's size), 0 when nothing arrived within timeout, and -1 when the
    // read failed: the device may be gone (removed, closed, never opened), or
    // only the wait was interrupted (a signal); present() tells which.
    virtual int ReadReport(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
        (void)buffer;
        (void)timeout;
        return -1;
    }
    // Ends a ReadReport waiting in another thread early, where the device can;
    // otherwise that read returns at its timeout.
    virtual void cancelRead() {}

    // The device's node is still there, so a failed read may be worth another
    // try. A device that cannot tell counts as gone.
    virtual bool present() const { return false; }

    // Where the platform finds the device; identifies it across enumerations.
    virtual std::string devicePath() const { return {}; }
    // Opens the device for reading and writing; called by the controller's check-out.
    virtual bool open() { return true; }
};

// The device string the instrument is recognised by, from the device's descriptors 0-3.
inline std::string deviceStringOf(TJvHidDevice& device) {
    std::array<std::string, 4> descriptors;
    for (int i = 0; i < 4; ++i)
        descriptors[std::size_t(i)] = device.deviceString(i);
    return deviceStringOf(descriptors);
}

} // namespace kavlon
