#pragma once

#include "core/shot/ShotTransfer.h"

#include <algorithm>
#include <memory>

namespace kavlon::bench {

// A full 16,300-sample shot on four channels: square waves of different periods with
// sloped edges and a little noise, so the analysis walks many cycles.
inline std::unique_ptr<AcquisitionState> fullShotState() {
    auto state = std::make_unique<AcquisitionState>();
    state->TimebaseIndex = 6;
    state->WindowStart = 0;
    state->ChannelCount = 4;
    state->ChannelOn = {true, true, true, true};
    state->VoltsIndex = {9, 8, 5, 11};
    state->ProbeRange = {3, 6, 3, 9};
    state->ZeroLevel = {128, 120, 140, 100};
    state->ReferenceLevels = {20, 50, 80};
    unsigned noise = 12345;
    for (int c = 0; c < kChannels; ++c) {
        const int period = 150 + 70 * c;
        auto block = state->DisplaySamples(c);
        for (int i = 0; i < kBlockSize; ++i) {
            noise = noise * 1103515245u + 12345u;
            const int phase = i % period;
            int v = phase < period / 2 ? 40 + phase : 210 - (phase - period / 2);
            v = std::clamp(v, 40, 200) + int((noise >> 16) % 5);
            block[std::size_t(i)] = std::uint8_t(v);
        }
    }
    state->VoltsPerDivText = {"1 V / Div", "5 V / Div", "50 mV / Div", "500 V / Div"};
    return state;
}

// That shot as a Data display's record holds it.
inline std::unique_ptr<ShotRecord> fullShotRecord() {
    auto record = std::make_unique<ShotRecord>();
    transferShot(*fullShotState(), *record, TransferInputs{});
    return record;
}

} // namespace kavlon::bench
