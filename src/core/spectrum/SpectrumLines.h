#pragma once

#include "core/spectrum/FastFourier.h"

#include <optional>
#include <span>
#include <vector>

namespace kavlon {

// What a spectrum display plots of one channel: lines 1..N/2 of the transform, each at
// its frequency in the unit of the frequency step, with the value of one spectrum type.
struct SpectrumLines {
    std::vector<double> frequency;
    std::vector<double> value;
    // The top of the value axis: the largest magnitude or power line for those two
    // types (power leaving out line N/2), nothing for the others.
    std::optional<double> top;
};

// Line `line` of spectrum type 0..6 of the engine's last transform: magnitude, power,
// phase angle, cosine terms, sine terms, then the real and the imaginary part of
// point line + 1, unscaled. 0 for a type outside 0..6.
double spectrumValue(const TFastFourier& engine, int type, long long line);

// Transforms samples 0..N-1 (N the engine's size; missing ones count as 0) with their
// mean taken off, so line 0 carries no offset, and reads the lines of `type` with the
// frequencies L / (step * N). The engine keeps the transform.
SpectrumLines spectrumLines(TFastFourier& engine, std::span<const double> samples, int type, double step);

} // namespace kavlon
