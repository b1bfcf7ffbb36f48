#pragma once

#include "core/acquisition/AcquisitionState.h"

namespace kavlon {

// Cuts the shot window out of the raw memories into the display blocks, from
// WindowStart on, scaled by each channel's gain. Samples shotLength - WindowStart + 1;
// nothing when the window starts beyond the shot. Returns the number of samples cut.
int cutShotWindow(AcquisitionState& state, int shotLength);

// The extended trailer's window: from TriggerPoint + WindowStart on, unscaled.
int cutExtendedShotWindow(AcquisitionState& state, int shotLength);

// A raw sample scaled by a channel gain; a gain of 0 or less leaves it as it is.
std::uint8_t scaleByGain(std::uint8_t raw, int gain);

} // namespace kavlon
