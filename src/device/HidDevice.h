#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kavlon {

// HID capabilities the program uses: report lengths in bytes, report ID included.
struct HidCaps {
    int InputReportByteLength = 0;
    int OutputReportByteLength = 0;
};

// One HID device checked out for the program's use. The hidapi device and the
// simulated instrument both implement it.
class TJvHidDevice {
public:
    virtual ~TJvHidDevice() = default;
    // USB string descriptor 0-3 as text; 0 is always empty, an unreadable one too.
    virtual std::string deviceString(int index) = 0;
    virtual HidCaps Caps() = 0;
    // Writes one output report; true when the whole report went out.
    virtual bool WriteReport(std::span<const std::uint8_t> report) = 0;
};

} // namespace kavlon
