#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/acquisition/Frames.h"
#include "core/shot/ShotRecord.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavlon {

// A saved shot as the instrument would send it again: the frames that make the
// receive path (interpretation, window cut, transfer) deliver the same record, cell
// for cell and setting for setting. Gains are 0 so the window is cut unscaled, and the
// trailer puts it where the shot had it.
struct ReplayShot {
    // The shot's settings report, after one more that first sets a volts text which the
    // shot's own scale has no label for (the front panel keeps the text it had).
    std::vector<Frame> settingsReport;
    Frame gain{};
    Frame trailer{};
    // The raw index of the window's first sample, and the window of every channel the
    // shot reads, on or off (a channel that is off keeps only how often each value came);
    // empty for the others.
    int windowStart = 0;
    std::array<std::vector<std::uint8_t>, kChannels> window;
    // What of the file comes back otherwise than it was written, said for the user.
    std::vector<std::string> notes;

    // Whether the instrument sends this channel's (0-based) memory.
    bool sendsChannel(int channel) const { return !window[std::size_t(channel)].empty(); }
    // The channel's memory as the instrument holds it: the window in place, zero elsewhere.
    void fillMemory(int channel, std::span<std::uint8_t, kBlockSize> memory) const;
};

struct ReplayShotResult {
    bool ok = false;
    ReplayShot shot;
    // Why the shot cannot come back through the instrument's frames.
    std::string error;
};

// The frames of a record as a shot file's reader or a transfer left it.
ReplayShotResult replayShotOf(const ShotRecord& record);

} // namespace kavlon
