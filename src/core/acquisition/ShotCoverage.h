#pragma once

#include "core/acquisition/AcquisitionState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kavlon {

// Which raw samples the frames of one shot wrote. The instrument's trailer closes a
// shot whatever frames came before it, and samples that no frame of this shot wrote
// keep the previous shot's values; a shot taken like that would be silently wrong.
// The interpretation marks every sample frame here, so a lost frame is known when
// the trailer arrives.
class ShotCoverage {
public:
    // A new shot begins: nothing written yet.
    void reset();
    // The frame wrote samples offset .. offset + 31 of channel 1-4 (clipped to the block).
    void mark(int channel, int offset);
    // Every sample of every channel counts as written (a shot made without frames).
    void markAll();

    // With the state the trailer left: nothing when every raw sample first .. first +
    // length - 1 (what the shot window was cut from) came with this shot, else which
    // channel lacks which sample.
    std::optional<std::string> gap(const AcquisitionState& state, int first, int length) const;

private:
    static constexpr int kWords = kBlockSize / 64;
    // First sample of first..last (both included) that no frame wrote, if any.
    std::optional<int> firstMissing(int channel, int first, int last) const;

    std::array<std::array<std::uint64_t, kWords>, kChannels> m_written{};
};

} // namespace kavlon
