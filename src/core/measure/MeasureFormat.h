#pragma once

#include "core/measure/MeasureResults.h"

#include <optional>
#include <string>
#include <string_view>

namespace kavlon {

// What a measurement cell shows when the shot gives the measurement no value: no
// complete cycle, no crossing, a zero period, a setting outside the tables.
constexpr std::string_view kNoValue = "---";
// Channel I's phase and delay cells: the channel the others are measured against.
constexpr std::string_view kReferenceMark = "  XXXXXXXXX";

// x in engineering notation: "%3.1f" of the value scaled to a prefix chosen by its
// magnitude (G, M, K, none, m, µ, n, p), a blank, the prefix and the unit ("12.3 mV").
// Texts are UTF-8. kNoValue for a value that is missing or not finite.
std::string PreCalcValue(std::string_view unit, std::optional<float> x, char decimalSeparator = '.');

// "50.00 %": two decimals, a blank and a percent sign.
std::string percentText(std::optional<double> percent, char decimalSeparator = '.');

// "12.5 °": one decimal, a blank and the degree sign.
std::string phaseText(std::optional<double> degrees, char decimalSeparator = '.');

// A number in a row's unit as a cell shows it: PreCalcValue for volts, seconds and
// hertz, percentText and phaseText for the others. Also for numbers made from
// results, such as a statistic over shots.
std::string measureText(MeasureUnit unit, std::optional<double> value, char decimalSeparator = '.');

// The cell text of a result: its number's text, kNoValue or kReferenceMark. Nothing for
// a row that keeps the text it had.
std::optional<std::string> resultText(const MeasureResult& result, char decimalSeparator = '.');

} // namespace kavlon
