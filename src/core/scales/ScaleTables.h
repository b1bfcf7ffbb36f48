#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kavlon {

// Texts are UTF-8; the micro sign is U+00B5 (0xB5 once written in the ANSI code page).

struct TimebaseEntry {
    std::string_view label;
    double secondsPerDiv;
};

constexpr int kTimebaseSteps = 32;
extern const std::array<TimebaseEntry, kTimebaseSteps> TimebaseTable;

// Volts per division for a probe factor of 1, by VoltsIndex; index 0 has no value.
constexpr int kVoltsIndexCount = 12;
extern const std::array<double, kVoltsIndexCount> VoltsPerDivTable;

// Probe multiplier by ProbeRange.
constexpr int kProbeRangeCount = 13;
extern const std::array<double, kProbeRangeCount> ScaleFactorTable;

// Only VoltsIndex 3..11 carry a front-panel label.
constexpr int kFirstLabelledVolts = 3;
constexpr int kLastLabelledVolts = 11;

// Volts per division at the probe range; nullopt for VoltsIndex outside 1..11 or
// ProbeRange outside 0..12.
std::optional<double> voltsPerDivOf(int probeRange, int voltsIndex);

// "2 ns / Div" ... "50 s / Div"; nullopt when index is outside the table.
std::optional<std::string_view> timebaseLabel(int index);

// The volts-per-division label ("250 mV / Div", "2.5 kV / Div"), or nullopt when
// the pair has no label (VoltsIndex outside 3..11, ProbeRange outside 0..12).
std::optional<std::string_view> voltsPerDivLabel(int probeRange, int voltsIndex);

// The TimebaseTable entry of that many seconds per division.
std::optional<int> timebaseIndexFor(double secondsPerDiv);
// The VoltsIndex giving that many volts per division at the probe range, among
// those the front panel labels.
std::optional<int> voltsIndexFor(double voltsPerDiv, int probeRange);

// The label text of value in tenths of a millivolt, by the grid's rule:
// mV below 1 V, V below 1000 V, kV above, no trailing zeros, point as decimal mark.
std::string formatVoltsPerDiv(long long tenthsOfMillivolt);

// A voltage as "%3.1f" with a unit chosen by magnitude (kV, V, mV).
struct VoltageText {
    std::array<char, 32> chars{};
    std::size_t size = 0;
    std::string_view view() const { return {chars.data(), size}; }
};
VoltageText FormatVoltage(double volts, char decimalSeparator = '.');

// The voltage of raw sample units on a channel's scale; empty for indexes
// outside VoltsIndex 1..11 or ProbeRange 0..12.
std::string CalcVoltage_Value(int scaleIndex, int voltsIndex, int raw, char decimalSeparator = '.');
std::optional<double> voltageOf(int scaleIndex, int voltsIndex, int raw);

} // namespace kavlon
