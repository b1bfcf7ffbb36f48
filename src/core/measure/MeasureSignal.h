#pragma once

#include "core/shot/ShotRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kavlon {

constexpr int kMeasureRows = 22;
// Row captions of the measurement table, in row order.
extern const std::array<std::string_view, kMeasureRows> kMeasureCaptions;
// The first of the phase and delay rows, which channel I marks as the reference.
constexpr int kFirstPhaseRow = 18;
constexpr std::string_view kReferenceMark = "  XXXXXXXXX";
// A cell holds at most this many characters.
constexpr std::size_t kMeasureCellLength = 20;

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

// Result cells per channel (0..3 for I..IV), one per row, UTF-8; empty until written.
using MeasureColumn = std::array<std::string, kMeasureRows>;
using MeasureCellTable = std::array<MeasureColumn, kChannels>;

// Writes the cells of every enabled channel from the copy; others keep their texts.
// Overshoot and preshoot keep theirs too while the amplitude is not positive.
void MeasureSignal(const MeasureCopy& copy, MeasureCellTable& cells, char decimalSeparator = '.');

} // namespace kavlon
