#pragma once

#include <array>
#include <optional>

namespace kavlon {

// The Measure display's own conversion tables, by the shot's settings.
// Volts per division by VoltsPerDivIndex 0..11.
extern const std::array<double, 12> MeasureVoltsPerDiv;
// Probe factor by ProbeIndex 0..12.
extern const std::array<double, 13> MeasureProbeFactor;
// Microseconds from one sample to the next by time index (timebase + zoom) 0..31.
extern const std::array<float, 32> SampleTimeTable;

// Volts for a difference of u screen units (48 to a division); nothing for indices
// outside the tables.
std::optional<float> CalcVolage(int voltsPerDivIndex, int probeIndex, int u);

// Seconds for n sample steps, or hertz (1/t) when reciprocal is set; nothing for a
// time index outside the table.
std::optional<float> CalcTime(int timeIndex, bool reciprocal, int n);

} // namespace kavlon
