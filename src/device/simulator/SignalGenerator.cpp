#include "device/simulator/SignalGenerator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavlon {

namespace {

// xorshift32: cheap, deterministic per seed, good enough to look like noise.
std::uint32_t nextRandom(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

} // namespace

double signalVolts(const SignalSettings& s, double t) {
    const double half = s.peakToPeak / 2;
    const double cycles = t * s.frequency;
    const double phase = cycles - std::floor(cycles);
    switch (s.shape) {
    case WaveShape::Square:
        return s.offset + (phase < 0.5 ? half : -half);
    case WaveShape::Pulse:
        return s.offset + (phase < std::clamp(s.duty, 0.0, 1.0) ? half : -half);
    case WaveShape::Sine:
        return s.offset + half * std::sin(2 * std::numbers::pi * phase);
    case WaveShape::Triangle:
        // Rises from the bottom through the first half period, falls through the second.
        return s.offset + half * (phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase);
    case WaveShape::Noise:
        return s.offset;
    }
    return s.offset;
}

void renderSignal(const SignalSettings& signal, const ChannelView& view, std::uint32_t seed,
                  std::span<std::uint8_t> out) {
    std::uint32_t random = seed == 0 ? 0x9E3779B9u : seed;
    const double coupled = view.acCoupled ? signal.offset : 0.0;
    const double sign = view.inverted ? -1.0 : 1.0;
    const double step = view.voltsPerRawStep > 0 ? view.voltsPerRawStep : 1.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        double v = signalVolts(signal, double(i) * view.secondsPerSample);
        if (signal.shape == WaveShape::Noise)
            v += signal.peakToPeak * (double(nextRandom(random)) / 4294967295.0 - 0.5);
        v = sign * (v - coupled);
        const double raw = std::round(view.zeroLevel - v / step);
        out[i] = std::uint8_t(std::clamp(raw, 0.0, 255.0));
    }
}

} // namespace kavlon
