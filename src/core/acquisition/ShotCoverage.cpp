#include "core/acquisition/ShotCoverage.h"

#include "core/acquisition/Frames.h"

#include <algorithm>
#include <bit>

namespace kavlon {

namespace {

// Bits lo..hi (both included) of one word.
constexpr std::uint64_t bitRange(int lo, int hi) {
    const std::uint64_t upTo = hi == 63 ? ~std::uint64_t(0) : (std::uint64_t(1) << (hi + 1)) - 1;
    return upTo & ~((std::uint64_t(1) << lo) - 1);
}

} // namespace

void ShotCoverage::reset() {
    for (auto& channel : m_written)
        channel.fill(0);
}

void ShotCoverage::markAll() {
    for (auto& channel : m_written)
        channel.fill(~std::uint64_t(0));
}

// Called for every sample frame on the interpretation's hot path: a frame's 32
// samples touch at most two words, and only the last word of the block cuts them.
void ShotCoverage::mark(int channel, int offset) {
    static_assert(frame::SamplesPerFrame == 32 && kBlockSize % 64 == 0);
    if (channel < 1 || channel > kChannels || offset < 0 || offset >= kBlockSize)
        return;
    constexpr std::uint64_t kFrame = 0xFFFFFFFFu;
    auto& words = m_written[std::size_t(channel - 1)];
    const int word = offset / 64;
    const int bit = offset % 64;
    words[std::size_t(word)] |= kFrame << bit;
    if (bit > 32 && word + 1 < kWords)
        words[std::size_t(word + 1)] |= kFrame >> (64 - bit);
}

std::optional<int> ShotCoverage::firstMissing(int channel, int first, int last) const {
    const auto& words = m_written[std::size_t(channel)];
    for (int w = first / 64; w <= last / 64; ++w) {
        const int lo = std::max(first, w * 64) - w * 64;
        const int hi = std::min(last, w * 64 + 63) - w * 64;
        const std::uint64_t wanted = bitRange(lo, hi);
        if (const std::uint64_t missing = wanted & ~words[std::size_t(w)])
            return w * 64 + std::countr_zero(missing);
    }
    return std::nullopt;
}

std::optional<std::string> ShotCoverage::gap(const AcquisitionState& state, int first, int length) const {
    if (length <= 0 || first < 0 || first + length > kBlockSize)
        return std::nullopt;
    const int last = first + length - 1;
    for (int c = 0; c < channelCountOf(state); ++c) {
        if (!state.ChannelOn[std::size_t(c)])
            continue;
        if (const auto missing = firstMissing(c, first, last))
            return "channel " + std::to_string(c + 1) + " lacks sample " + std::to_string(*missing) +
                   " of the shot (a frame was lost)";
    }
    return std::nullopt;
}

} // namespace kavlon
