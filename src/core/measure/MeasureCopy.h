#pragma once

#include "core/shot/ShotRecord.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kavlon {

constexpr int kMeasureRows = 22;
// Row captions of the measurement table, in row order.
extern const std::array<std::string_view, kMeasureRows> kMeasureCaptions;
// The first of the rows made from edge crossings (frequency to the delays).
constexpr int kFirstTimeRow = 10;
// The first of the phase and delay rows, which channel I marks as the reference.
constexpr int kFirstPhaseRow = 18;

// One channel as the Measure display keeps it: levels on the screen scale (2v - 60
// of raw value v, 48 units to a division) and the analysis's edges unchanged.
struct MeasureChannel {
    std::int64_t VoltsPerDivIndex = 0;
    std::int64_t ProbeIndex = 0;
    std::int32_t Z = 0;
    std::int32_t Max = 0;
    std::int32_t Mid = 0;
    std::int32_t Min = 0;
    std::int32_t Base = 0;
    std::int32_t Top = 0;
    std::int32_t AvgSum = 0;
    std::int32_t AvgCount = 0;
    std::int32_t Level1 = 0;
    std::int32_t Level2 = 0;
    std::int32_t Level3 = 0;
    EdgeRecord Rise1, Fall1, Rise2, Fall2, CycleRise, CycleFall;
};

// What the Measure display copies of a shot, kept until the next copy.
struct MeasureCopy {
    std::int32_t ChannelMode = 0;
    std::array<bool, kChannels> ChannelOn{};
    std::int32_t TimebaseIndex = 0;
    std::int32_t ZoomIndex = 0;
    // Crossing indices at or past this length (or -1) mean the crossing never came.
    std::int32_t ShotLength = 0;
    std::array<MeasureChannel, kChannels> Channels{};
};

MeasureCopy takeMeasureCopy(const ShotRecord& record);

} // namespace kavlon
