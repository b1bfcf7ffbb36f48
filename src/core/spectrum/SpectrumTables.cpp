#include "core/spectrum/SpectrumTables.h"

#include <algorithm>

namespace kavlon {

namespace {

constexpr std::array<ValueRange, kSpectrumTypes> kValueRanges = {{
    {0, 30},
    {0, 50000},
    {-2, 2},
    {-10, 10},
    {-10, 10},
    {-2000, 2000},
    {-2000, 2000},
}};

constexpr std::array<std::string_view, kSpectrumTypes> kCaptions = {
    "Magnitude Spectrum",
    "Power Spectrum",
    "Phase Angle",
    "Cosine Terms",
    "Sine Terms",
    "Real Part of Complex Spectrum",
    "Imaginary Part of Complex Spectrum",
};

// From e = 12 on the upper limit runs through this cycle.
constexpr std::array<double, 9> kUpperCycle = {400, 200, 100, 40, 20, 10, 4, 2, 1};
constexpr std::array<ValueRange, 12> kFastRanges = {{
    {40, 4000},
    {20, 2000},
    {10, 1000},
    {5, 400},
    {2, 200},
    {0.5, 100},
    {0.5, 40},
    {0.5, 20},
    {0.5, 10},
    {0.5, 4},
    {0.5, 2},
    {0.5, 1},
}};

constexpr std::array<double, 10> kFastSteps = {0.00004, 0.0001, 0.0002, 0.0004, 0.001,
                                               0.002,   0.004,  0.01,   0.02,   0.04};
// From e = 10 on, the steps restart every nine indices.
constexpr std::array<double, 9> kStepCycle = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.004, 0.01, 0.02, 0.04};

bool validTimebase(int e) {
    return e >= 0 && e < kSpectrumTimebases;
}

} // namespace

const std::array<std::array<int, 9>, kInterpolationPhases> kInterpolationTaps = {{
    {0, 0, 0, 0, 256, 0, 0, 0, 0},
    {9, -12, 18, -34, 244, 48, -22, 14, -10},
    {16, -21, 30, -52, 211, 105, -42, 26, -19},
    {18, -23, 32, -54, 163, 163, -54, 32, -23},
    {15, -19, 26, -42, 105, 211, -52, 30, -21},
    {8, -10, 14, -22, 48, 244, -34, 18, -12},
}};

std::optional<ValueRange> spectrumValueRange(int type) {
    if (type < 0 || type >= kSpectrumTypes)
        return std::nullopt;
    return kValueRanges[std::size_t(type)];
}

std::optional<std::string_view> spectrumCaption(int type) {
    if (type < 0 || type >= kSpectrumTypes)
        return std::nullopt;
    return kCaptions[std::size_t(type)];
}

std::optional<ValueRange> frequencyRange(int e) {
    if (!validTimebase(e))
        return std::nullopt;
    if (e < int(kFastRanges.size()))
        return kFastRanges[std::size_t(e)];
    return ValueRange{0.5, kUpperCycle[std::size_t(e - 12) % kUpperCycle.size()]};
}

std::optional<std::string_view> frequencyUnit(int e) {
    if (!validTimebase(e))
        return std::nullopt;
    return e <= 10 ? "MHz" : e <= 20 ? "kHz" : e <= 29 ? "Hz" : "mHz";
}

std::optional<double> frequencyStep(int e) {
    if (!validTimebase(e))
        return std::nullopt;
    if (e < int(kFastSteps.size()))
        return kFastSteps[std::size_t(e)];
    return kStepCycle[std::size_t(e - 10) % kStepCycle.size()];
}

double readingStep(int samplesPerPixel) {
    if (samplesPerPixel == 3)
        return 2.5;
    if (samplesPerPixel == 0)
        return 1.0;
    return samplesPerPixel;
}

InterpolationTable::InterpolationTable() {
    for (int v = 0; v < 256; ++v)
        for (int j = 0; j < kInterpolationPhases; ++j)
            for (int k = 0; k < 9; ++k)
                m_products[std::size_t(v)][std::size_t(j)][std::size_t(k)] =
                    v * kInterpolationTaps[std::size_t(j)][std::size_t(k)];
}

namespace {

long long tapProduct(const InterpolationTable& table, int value, int phase, int tap) {
    // Screen values below 0 or above 255 have no entry in the table.
    if (value >= 0 && value <= 255)
        return table.product(value, phase, tap);
    return (long long)value * kInterpolationTaps[std::size_t(phase)][std::size_t(tap)];
}

} // namespace

std::size_t interpolate(const InterpolationTable& table, std::span<const int> input, int first, int last,
                        std::span<int> output) {
    if (input.empty())
        return 0;
    const int end = int(input.size()) - 1;
    std::size_t o = 0;
    for (int a = first; a <= last && o < output.size(); ++a)
        for (int j = 0; j < kInterpolationPhases && o < output.size(); ++j) {
            long long sum = 0;
            for (int k = -4; k <= 4; ++k)
                sum += tapProduct(table, input[std::size_t(std::clamp(a + k, 0, end))], j, k + 4);
            // The result has eight bits: what lies past them stays at the edge instead
            // of wrapping around.
            output[o++] = int(std::clamp(sum / 256, 0LL, 255LL));
        }
    return o;
}

} // namespace kavlon
