#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kavlon {

// Report lengths as the platform's HID capabilities state them: the longest
// report of each kind in bytes, plus one byte for the report ID, which is
// counted even when the device does not number its reports. 0 when the device
// has no report of that kind.
struct ReportLengths {
    int input = 0;
    int output = 0;
    int feature = 0;
    // The device numbers its reports, so every report on the wire starts with its ID.
    bool numbered = false;
};

// The longest report the parser accepts, in bytes without the ID; larger
// reports mean a damaged descriptor.
constexpr int kMaxReportBytes = 16384;

// Reads the report lengths from a HID report descriptor. Returns nullopt for a
// descriptor that is truncated, pops more than it pushed, nests pushes too
// deeply, uses report ID 0 or declares a report longer than kMaxReportBytes.
std::optional<ReportLengths> parseReportDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace kavlon
