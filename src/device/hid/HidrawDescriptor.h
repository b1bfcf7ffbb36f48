#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavlon {

// The HID report descriptor of the device at a hidraw path ("/dev/hidraw3"):
// from sysfs, which needs no access to the device node, else through the
// node itself. nullopt where neither works or the platform has no hidraw.
std::optional<std::vector<std::uint8_t>> readReportDescriptor(const std::string& devicePath);

} // namespace kavlon
