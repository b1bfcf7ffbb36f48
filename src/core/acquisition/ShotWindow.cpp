#include "core/acquisition/ShotWindow.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kavlon {

namespace {

// Length of a window [first, shotLength] clamped to the memory; 0 if empty.
int windowLength(long long first, int shotLength) {
    if (first < 0 || first > shotLength)
        return 0;
    // shotLength never exceeds the 16,384-sample block, so neither end can leave it.
    return int(std::min<long long>(shotLength - first + 1, kBlockSize - first));
}

} // namespace

std::uint8_t scaleByGain(std::uint8_t raw, int gain) {
    if (gain <= 0)
        return raw;
    // The instrument's scaling: truncate, shift down by 64, wrap into a byte.
    const int scaled = raw * 100 / (gain + 15) - 64;
    return std::uint8_t(scaled & 0xFF);
}

CutWindow cutShotWindow(AcquisitionState& state, int shotLength) {
    const int length = windowLength(state.WindowStart, shotLength);
    if (length == 0)
        return {};
    for (int c = 0; c < kChannels; ++c) {
        const int gain = state.ChannelGain[std::size_t(c)];
        const auto raw = state.RawSamples(c).subspan(std::size_t(state.WindowStart));
        auto out = state.DisplaySamples(c);
        if (gain <= 0) { // unscaled: the common case, and a plain copy
            std::memcpy(out.data(), raw.data(), std::size_t(length));
            continue;
        }
        std::array<std::uint8_t, 256> table;
        for (int r = 0; r < 256; ++r)
            table[std::size_t(r)] = scaleByGain(std::uint8_t(r), gain);
        for (int i = 0; i < length; ++i)
            out[std::size_t(i)] = table[raw[std::size_t(i)]];
    }
    return {state.WindowStart, length};
}

CutWindow cutExtendedShotWindow(AcquisitionState& state, int shotLength) {
    const long long first = (long long)state.TriggerPoint + state.WindowStart;
    const int length = windowLength(first, shotLength);
    if (length == 0)
        return {};
    for (int c = 0; c < kChannels; ++c)
        std::memcpy(state.DisplaySamples(c).data(), state.RawSamples(c).data() + first, std::size_t(length));
    return {int(first), length};
}

} // namespace kavlon
