#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/acquisition/Frames.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace kavlon {

// The instrument's side of the frames the receive interpretation reads: what the
// simulated instrument and the replay of saved shots send, encoded in one place so
// both speak exactly as the instrument does. Channels are 0-based in the arrays.

// A settings report, field by field. Values are written as the instrument writes
// them: one byte each, probe ranges biased by 101.
struct SettingsReport {
    std::array<int, kChannels> voltsIndex{};
    std::array<int, kChannels> probeRange{};
    std::array<int, kChannels> zeroLevel{};
    std::array<bool, kChannels> on{};
    std::array<bool, kChannels> acCoupled{};
    std::array<bool, kChannels> inverted{};
    int timebaseIndex = 0;
    int timebaseOffset = 0;
    int timeStepIndex = 0;
    int channelCount = kChannels;
    bool running = false;
    int triggerSource = 0;
    int triggerLevel = 0;
    bool auxFlag = false;
};

// What a trailer tells: the window position is the raw index of the window's start
// less the 40 the interpretation adds back (ignored in window mode 1).
struct TrailerReport {
    std::array<int, 3> referenceLevels{};
    int triggerPoint = 0;
    int windowPosition = 0;
    int trailerValue = 0;
};

constexpr int kFramesPerMemory = kBlockSize / frame::SamplesPerFrame;

Frame encodeSettings(const SettingsReport& report);
// Gains of 0, which hand the raw samples on unscaled; window mode 1 starts the window at
// sample 0.
Frame encodeGain(int windowMode);
Frame encodeTrailer(const TrailerReport& report);

// Every sample frame of a channel's memory: the n-th frame sent carries block
// n * stride mod 512. Stride 1 is the instrument's own order; any odd stride visits
// every block once, scrambled, as the link allows.
void forEachSampleFrame(int channel, std::span<const std::uint8_t, kBlockSize> memory, int stride,
                        const std::function<void(const Frame&)>& send);

} // namespace kavlon
