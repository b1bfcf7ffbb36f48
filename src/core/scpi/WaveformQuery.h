#pragma once

#include "core/shot/ShotRecord.h"

#include <optional>
#include <string>

namespace kavlon::scpi {

enum class WaveformFormat { Byte, Ascii };

// A channel's waveform as the offline-shot CSV holds it: one raw byte per sample
// position, and a preamble that turns byte b of position i into the CSV's volts and into
// seconds after the first sample:
//   volts = (b - y reference) * y increment + y origin,  seconds = i * x increment.
// Channels are 1-4.

// Why the shot has no waveform of the channel (it was off or not read), or nothing.
std::optional<std::string> waveformProblem(const ShotRecord& record, int channel);

// Sample positions of the shot, as the CSV has rows.
int waveformPoints(const ShotRecord& record);

// format, type, points, count, x increment, x origin, x reference, y increment,
// y origin, y reference.
std::string waveformPreamble(const ShotRecord& record, int channel, WaveformFormat format);

// BYTE: a definite-length block of the raw bytes; ASCii: the CSV's volts, comma-separated.
std::string waveformData(const ShotRecord& record, int channel, WaveformFormat format);

} // namespace kavlon::scpi
