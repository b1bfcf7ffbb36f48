#include "cli/ShotCoverage.h"

#include <algorithm>

namespace kavlon::cli {

void ShotCoverage::reset() {
    for (auto& written : m_written)
        written.reset();
    m_closed = false;
    m_extendedTrailer = false;
}

void ShotCoverage::mark(int channel, int offset) {
    auto& written = m_written[std::size_t(channel - 1)];
    for (int k = 0; k < frame::SamplesPerFrame && offset + k < kBlockSize; ++k)
        written.set(std::size_t(offset + k));
}

void ShotCoverage::observe(const Frame& f) {
    const std::uint8_t type = f[0];
    if (type >= frame::SampleCh1 && type <= frame::SampleCh4) {
        mark(type - frame::SampleCh1 + 1, frame::be16(f, 1));
    } else if (type == frame::Trailer) {
        m_closed = true;
    } else if (type == frame::Extended) {
        const std::uint8_t subtype = f[1];
        if (subtype >= frame::ExtSampleCh1 && subtype <= frame::ExtSampleCh4)
            mark(subtype, frame::be16(f, 2));
        if (subtype == frame::ExtTrailer)
            m_closed = m_extendedTrailer = true;
    }
}

std::optional<std::string> ShotCoverage::gap(const AcquisitionState& state) const {
    // The window is cut from raw samples first ... shotLength (both included); the
    // extended trailer counts its start from the trigger point.
    const long long first = (m_extendedTrailer ? state.TriggerPoint : 0) + (long long)state.WindowStart;
    const long long last = std::min<long long>(state.currentShotLength(), kBlockSize - 1);
    const int channels = state.ChannelCount == 2 ? 2 : kChannels;
    for (int c = 0; c < channels; ++c) {
        if (!state.ChannelOn[std::size_t(c)])
            continue;
        const auto& written = m_written[std::size_t(c)];
        for (long long i = std::max(first, 0LL); i <= last; ++i) {
            if (!written.test(std::size_t(i)))
                return "channel " + std::to_string(c + 1) + " lacks sample " + std::to_string(i) +
                       " of the shot (a frame was lost)";
        }
    }
    return std::nullopt;
}

} // namespace kavlon::cli
