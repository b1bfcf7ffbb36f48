// A shot is only as good as the frames it was made of: every sample of the window
// must have come with this shot, or the shot is refused.
#include "cli/ShotCoverage.h"

#include <gtest/gtest.h>

#include <functional>

namespace kavlon::cli {
namespace {

Frame sampleFrame(int channel, int offset, bool extended = false) {
    Frame f{};
    const int at = extended ? 1 : 0;
    if (extended) {
        f[0] = frame::Extended;
        f[1] = std::uint8_t(channel);
    } else {
        f[0] = std::uint8_t(frame::SampleCh1 + channel - 1);
    }
    f[std::size_t(at + 1)] = std::uint8_t(offset >> 8);
    f[std::size_t(at + 2)] = std::uint8_t(offset & 0xFF);
    return f;
}

Frame trailer(bool extended = false) {
    Frame f{};
    f[0] = extended ? frame::Extended : frame::Trailer;
    f[1] = extended ? frame::ExtTrailer : 0;
    return f;
}

// Feeds a whole memory of each channel that is on, except offsets skip() names.
void feedShot(ShotCoverage& coverage, const AcquisitionState& s, const std::function<bool(int, int)>& skip,
              bool extended = false) {
    coverage.reset();
    for (int c = 1; c <= kChannels; ++c)
        for (int offset = 0; offset < kBlockSize; offset += frame::SamplesPerFrame)
            if (s.ChannelOn[std::size_t(c - 1)] && !skip(c, offset))
                coverage.observe(sampleFrame(c, offset, extended));
    coverage.observe(trailer(extended));
}

AcquisitionState stateWith(std::array<bool, kChannels> on, int windowStart = 0, int timebase = 3) {
    AcquisitionState s;
    s.ChannelOn = on;
    s.WindowStart = windowStart;
    s.TimebaseIndex = timebase;
    return s;
}

struct GapCase {
    const char* name;
    AcquisitionState state;
    std::function<bool(int, int)> skip;
    bool extended;
    const char* gap; // nullptr: the shot is whole
};

TEST(ShotCoverage, ASampleOfTheWindowThatNoFrameBroughtIsAGap) {
    const auto none = [](int, int) { return false; };
    const GapCase cases[] = {
        {"whole four-channel shot", stateWith({true, true, true, true}), none, false, nullptr},
        {"one frame of channel 3 lost", stateWith({true, true, true, true}),
         [](int c, int o) { return c == 3 && o == 16288; }, false, "channel 3 lacks sample 16288"},
        {"a frame past the long shot's end is not needed", stateWith({true, false, false, false}),
         [](int, int o) { return o == 16320; }, false, nullptr},
        {"the last frame before the shot's end lost", stateWith({true, false, false, false}, 0, 7),
         [](int, int o) { return o == 4032; }, false, "channel 1 lacks sample 4032"},
        {"a frame past a short shot's end is not needed", stateWith({true, false, false, false}, 0, 7),
         [](int, int o) { return o >= 4064; }, false, nullptr},
        {"a frame before the window start is not needed", stateWith({true, false, false, false}, 100),
         [](int, int o) { return o == 64; }, false, nullptr},
        {"a channel that is off sends nothing", stateWith({true, false, true, false}), none, false, nullptr},
        {"extended frames count as well", stateWith({true, true, false, false}),
         [](int c, int o) { return c == 2 && o == 0; }, true, "channel 2 lacks sample 0"},
    };
    for (const auto& c : cases) {
        ShotCoverage coverage;
        feedShot(coverage, c.state, c.skip, c.extended);
        EXPECT_TRUE(coverage.closed()) << c.name;
        const auto gap = coverage.gap(c.state);
        if (!c.gap)
            EXPECT_FALSE(gap.has_value()) << c.name << ": " << gap.value_or("");
        else
            EXPECT_NE(gap.value_or("").find(c.gap), std::string::npos) << c.name << ": " << gap.value_or("");
    }
}

TEST(ShotCoverage, FramesOfTheShotBeforeDoNotCount) {
    const AcquisitionState s = stateWith({true, false, false, false});
    ShotCoverage coverage;
    feedShot(coverage, s, [](int, int) { return false; });
    // The next shot lacks one frame that the one before did bring.
    feedShot(coverage, s, [](int, int o) { return o == 320; });
    EXPECT_NE(coverage.gap(s).value_or("").find("sample 320"), std::string::npos);
}

TEST(ShotCoverage, AnInstrumentWithTwoChannelsIsNotAskedForFour) {
    // Entries 3 and 4 keep whatever the instrument sends there.
    AcquisitionState s = stateWith({true, true, true, true});
    s.ChannelCount = 2;
    ShotCoverage coverage;
    feedShot(coverage, stateWith({true, true, false, false}), [](int, int) { return false; });
    EXPECT_FALSE(coverage.gap(s).has_value());
}

} // namespace
} // namespace kavlon::cli
