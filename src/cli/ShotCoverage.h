#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/acquisition/Frames.h"

#include <bitset>
#include <optional>
#include <string>

namespace kavlon::cli {

// Which raw samples the frames of one shot wrote. The instrument's trailer closes a
// shot whatever frames came before it, and samples that no frame of this shot wrote
// keep the previous shot's values; a shot saved like that would be silently wrong.
// This keeps count so a lost frame is found before anything is written.
class ShotCoverage {
public:
    // A new shot begins: nothing written yet.
    void reset();
    // Every frame the instrument sends, in order.
    void observe(const Frame& frame);
    // True once the shot's trailer has passed.
    bool closed() const { return m_closed; }

    // After the trailer, with the state it left: nothing when every sample the shot
    // window was cut from came with this shot, else which channel lacks which samples.
    std::optional<std::string> gap(const AcquisitionState& state) const;

private:
    void mark(int channel, int offset);

    std::array<std::bitset<kBlockSize>, kChannels> m_written;
    bool m_closed = false;
    bool m_extendedTrailer = false;
};

} // namespace kavlon::cli
