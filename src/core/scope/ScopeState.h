#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/shot/ShotSettings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kavlon {

// Sample positions a Scope display keeps per channel: one per numbered row of a Data
// display's table (0-16384).
constexpr int kScopeSamples = kBlockSize + 1;

// A Scope display's copy of a shot: its settings and texts as the Data display holds
// them, and the samples in screen rows (row 2r - 60 for raw value r). SamplesPerPixel
// is the Scope's own once the zoom box changes it.
// Per-channel arrays are indexed 0..3 for channels 1..4, like AcquisitionState.
// A new display holds flat demonstration traces and enables no channel, so its first
// picture is the bare graticule.
struct ScopeState : ShotSettings {
    std::int32_t CursorX1 = 60;
    std::int32_t CursorX2 = 540;
    std::int32_t CursorY1 = 70;
    std::int32_t CursorY2 = 210;
    std::array<std::int32_t, kChannels> ZeroRow = {60, 180, 90, 210};
    // kScopeSamples values per channel.
    std::array<std::vector<std::int32_t>, kChannels> Samples;
    std::array<std::int32_t, 5> ZoomFactor{};
    std::int32_t PrintKind = 0;

    ScopeState() {
        // One sample per column until a shot says otherwise, so that nothing divides by zero.
        SamplesPerPixel = 1;
        constexpr std::array<std::int32_t, kChannels> demoRows = {25, 75, 150, 200};
        for (std::size_t c = 0; c < kChannels; ++c) {
            Samples[c].assign(kScopeSamples, 0);
            std::fill_n(Samples[c].begin(), 600, demoRows[c]);
        }
    }
};

} // namespace kavlon
