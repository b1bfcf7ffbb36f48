#pragma once

#include "core/measure/MeasureCopy.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kavlon {

// The base unit a row counts in.
enum class MeasureUnit : std::uint8_t { Volt, Second, Hertz, Percent, Degree };
// "V", "s", "Hz", "%" or "°" (UTF-8).
std::string_view unitText(MeasureUnit unit);
// The unit of each row, in row order.
extern const std::array<MeasureUnit, kMeasureRows> kMeasureUnits;

// What a shot says about one row of one channel.
enum class MeasureState : std::uint8_t {
    // The value is the measurement.
    Defined,
    // The shot gives the row no value: no complete cycle, a crossing that never came, a
    // zero period, a setting outside the tables, a channel the shot did not analyse.
    Undefined,
    // Channel I's phase and delay rows: channel I is what the others are measured against.
    Reference,
    // Overshoot and preshoot without a positive amplitude: not measured, and a window
    // keeps what it showed before.
    Kept,
};

struct MeasureResult {
    // In the row's base unit, and exactly the single-precision value the row's text is
    // made from; 0 unless defined.
    double value = 0.0;
    MeasureUnit unit = MeasureUnit::Volt;
    MeasureState state = MeasureState::Undefined;

    bool defined() const { return state == MeasureState::Defined; }
};

struct ChannelResults {
    // The channel was on in the shot, so its rows were measured; otherwise every row is
    // Undefined and a window keeps what it showed.
    bool measured = false;
    std::array<MeasureResult, kMeasureRows> rows{};
};
// Channels I..IV.
using MeasureResults = std::array<ChannelResults, kChannels>;

// The 22 rows of every enabled channel of the copy, as numbers.
MeasureResults measureResults(const MeasureCopy& copy);

} // namespace kavlon
