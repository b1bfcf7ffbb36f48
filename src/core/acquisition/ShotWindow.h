#pragma once

#include "core/acquisition/AcquisitionState.h"

namespace kavlon {

// The raw samples a window was cut from: first .. first + length - 1.
struct CutWindow {
    int first = 0;
    int length = 0; // 0: nothing was cut
};

// Cuts the shot window out of the raw memories into the display blocks, from
// WindowStart on, scaled by each channel's gain. Samples shotLength - WindowStart + 1;
// nothing when the window starts beyond the shot.
CutWindow cutShotWindow(AcquisitionState& state, int shotLength);

// The extended trailer's window: from TriggerPoint + WindowStart on, unscaled.
CutWindow cutExtendedShotWindow(AcquisitionState& state, int shotLength);

// A raw sample scaled by a channel gain; a gain of 0 or less leaves it as it is.
std::uint8_t scaleByGain(std::uint8_t raw, int gain);

} // namespace kavlon
