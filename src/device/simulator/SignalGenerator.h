#pragma once

#include <cstdint>
#include <span>

namespace kavlon {

enum class WaveShape { Square, Sine, Triangle, Pulse, Noise };

// A test signal in physical units, so what the displays measure does not
// depend on the timebase or the volts per division it is looked at with.
struct SignalSettings {
    WaveShape shape = WaveShape::Sine;
    double frequency = 1000.0; // Hz; noise ignores it
    double peakToPeak = 2.0;   // V
    double offset = 0.0;       // V; AC coupling removes it
    double duty = 0.5;         // share of a pulse period spent high
};

// How one channel is being looked at.
struct ChannelView {
    double secondsPerSample = 1e-6;
    double voltsPerRawStep = 0.01;
    int zeroLevel = 124;
    bool acCoupled = false;
    bool inverted = false;
};

// The signal in raw samples: raw = zeroLevel - volts / voltsPerRawStep, so a
// smaller raw value is a higher voltage, clipped to 0..255 like a real input.
// Sample 0 is at the start of a period. Noise draws from seed.
void renderSignal(const SignalSettings& signal, const ChannelView& view, std::uint32_t seed,
                  std::span<std::uint8_t> out);

// The signal's voltage at time t, before coupling and inversion; noise is 0 here.
double signalVolts(const SignalSettings& signal, double t);

} // namespace kavlon
