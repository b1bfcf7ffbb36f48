#pragma once

#include "core/shot/ShotRecord.h"

#include <array>
#include <cstdint>
#include <span>

namespace kavlon {

// Clears what the sample pass counts: the histogram, RawMax and RawMid to 0, RawMin to 255.
void resetSampleCounts(ChannelAnalysis& analysis);

// Adds the samples to the histogram and widens the extremes to cover them.
void countSamples(ChannelAnalysis& analysis, std::span<const std::uint8_t> samples);

// The waveform analysis of one enabled channel from its counted histogram: top and base,
// the three reference levels from the instrument's percentages, the first two rises and
// falls, the last complete cycle and the whole-period sum. `samples` holds the shot's
// positions 0..n; an empty span is an empty shot (n = 0, nothing read).
void analyseChannel(ChannelAnalysis& analysis, std::span<const std::uint8_t> samples,
                    const std::array<int, 3>& referencePercent);

} // namespace kavlon
