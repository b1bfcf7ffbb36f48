#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace kavlon {

// What the FFT display shows, by spectrum type t = 0..6 and by the displayed
// timebase e = TimebaseIndex + ZoomIndex = 0..31.
constexpr int kSpectrumTypes = 7;
constexpr int kSpectrumTimebases = 32;

struct ValueRange {
    double lo = 0.0, hi = 0.0;
};
// The Y range of a spectrum type; nothing outside 0..6.
std::optional<ValueRange> spectrumValueRange(int type);
// The chart caption of a spectrum type.
std::optional<std::string_view> spectrumCaption(int type);
// The frequency range, the axis unit and the sampling interval in that unit; nothing
// outside 0..31.
std::optional<ValueRange> frequencyRange(int e);
std::optional<std::string_view> frequencyUnit(int e);
std::optional<double> frequencyStep(int e);

// Table rows are read every r samples: 2.5 for SamplesPerPixel 3, 1 for 0, else itself.
double readingStep(int samplesPerPixel);

// The six-fold upsampling of the two fastest timebases: six phases of nine taps each,
// scaled by 256, the first phase repeating the input sample.
constexpr int kInterpolationPhases = 6;
extern const std::array<std::array<int, 9>, kInterpolationPhases> kInterpolationTaps;

// Products v * tap for every raw value v, built once.
class InterpolationTable {
public:
    InterpolationTable();
    int product(int value, int phase, int tap) const {
        return m_products[std::size_t(value)][std::size_t(phase)][std::size_t(tap)];
    }

private:
    std::array<std::array<std::array<int, 9>, kInterpolationPhases>, 256> m_products{};
};

// Upsamples values at input positions first..last into `output`, six outputs per
// position, as many as fit. Each output is the tap sum divided by 256 (truncated) and
// held within the eight bits 0..255. Taps that reach outside the input take its
// nearest end. Returns the number of outputs written.
std::size_t interpolate(const InterpolationTable& table, std::span<const int> input, int first, int last,
                        std::span<int> output);

} // namespace kavlon
