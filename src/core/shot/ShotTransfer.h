#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/shot/DataWindowLabels.h"
#include "core/shot/ShotRecord.h"

#include <array>
#include <string>

namespace kavlon {

// What the Data window hands the transfer besides the acquisition state.
struct TransferInputs {
    // The user's locale decimal mark, for the voltages in the labels.
    char decimalSeparator = '.';
};

struct TransferOutcome {
    DataWindowLabels labels;
    // A two-channel shot: the window shows five grid columns and narrows itself.
    // Otherwise the window restores the nine-column layout.
    bool twoChannelLayout = false;
};

// The shot length n and how many sample positions (0..n) are read, bounded so that no
// read leaves the 16,384-sample display block: a window start past the shot gives an
// empty shot (n 0, nothing read).
struct ShotExtent {
    int n = 0;
    int positions = 0;
};
ShotExtent shotExtent(int timebaseIndex, long long windowStart);

// Whether a shot's transfer analyses channel k (0..3): an enabled one, and channels 3
// and 4 only from a four-channel instrument. Any other channel keeps the analysis of
// an earlier shot.
constexpr bool analysesChannel(std::int32_t channelMode, const std::array<bool, kChannels>& channelOn,
                               int k) {
    return k >= 0 && k < kChannels && channelOn[std::size_t(k)] && (k < 2 || channelMode == 4);
}

// The record work of TransferRequestData once the window has found the display: copies
// the settings, fills the cells, counts and analyses the channels, keeps the label
// texts and sets HasShot, and returns the new label texts and the layout for the window.
TransferOutcome transferShot(const AcquisitionState& state, ShotRecord& record, const TransferInputs& inputs);

} // namespace kavlon
