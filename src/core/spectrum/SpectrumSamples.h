#pragma once

#include "core/shot/ShotRecord.h"
#include "core/spectrum/SpectrumTables.h"

#include <array>
#include <vector>

namespace kavlon {

// The FFT display's samples of each channel on the screen scale (2v - 60 of raw value
// v), one per table row, zero until a shot fills them.
struct SpectrumSamples {
    static constexpr int kLength = 16385;
    std::array<std::vector<double>, kChannels> x;
    SpectrumSamples() {
        for (auto& channel : x)
            channel.assign(kLength, 0.0);
    }
};

// Reads samples 0..n-1 of every channel from the record's cells, sample i from
// row 2 + Trunc(i * r) with the reading step r of the shot; an empty cell leaves
// what was there.
void readSpectrumSamples(const ShotRecord& record, int n, SpectrumSamples& samples);

// The two fastest timebases (2 and 3) are upsampled six-fold on the screen scale from
// HeaderValue1 - 10 on, the results held within 0..255; the others are used as read.
// Positions before or past the n samples read take the nearest one read.
void interpolateFastTimebase(const ShotSettings& shot, int n, const InterpolationTable& table,
                             SpectrumSamples& samples);

} // namespace kavlon
