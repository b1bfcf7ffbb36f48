#pragma once

#include "core/acquisition/Frames.h"

#include <cstdint>
#include <span>

namespace kavlon {

// An input report as the program sees it: byte 0 is the report ID, byte 1 is
// not examined, the frame starts at byte 2.
constexpr int kReportFrameOffset = 2;
// Report bytes that can reach a frame: the two leading bytes and a whole frame.
constexpr int kReportBytesUsed = kReportFrameOffset + kFrameSize;

// The frame carried by a report: ReportLength - 1 bytes from report byte 2, but
// never more than the report actually holds and never more than a frame; the
// rest of the frame is zero. A reportLength of 0 or less (capabilities unknown)
// is bounded by the report alone.
Frame frameFromReport(std::span<const std::uint8_t> report, int reportLength);

} // namespace kavlon
