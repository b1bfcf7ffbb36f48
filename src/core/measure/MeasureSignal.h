#pragma once

#include "core/measure/MeasureCopy.h"
#include "core/measure/MeasureFormat.h"
#include "core/measure/MeasureResults.h"

#include <array>
#include <string>

namespace kavlon {

// A cell holds at most this many characters.
constexpr std::size_t kMeasureCellLength = 20;

// Result cells per channel (0..3 for I..IV), one per row, UTF-8; empty until written.
using MeasureColumn = std::array<std::string, kMeasureRows>;
using MeasureCellTable = std::array<MeasureColumn, kChannels>;

// Writes the cells of every measured channel from its results; others keep their
// texts. Overshoot and preshoot keep theirs too while the amplitude is not positive.
void MeasureSignal(const MeasureResults& results, MeasureCellTable& cells, char decimalSeparator = '.');
// The same, measuring the copy first.
void MeasureSignal(const MeasureCopy& copy, MeasureCellTable& cells, char decimalSeparator = '.');

} // namespace kavlon
