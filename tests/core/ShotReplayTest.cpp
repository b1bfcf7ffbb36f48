// A saved shot turned back into the instrument's frames: what cannot come back as it
// was written. What the receive path makes of the frames is the replay's test (device).
#include "core/shot/ShotReplay.h"

#include "ShotTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace kavlon {
namespace {

TEST(ShotReplay, RefusesWhatTheInstrumentCannotSendAgain) {
    const struct {
        std::function<void(ShotRecord&)> change;
        const char* error;
    } cases[] = {
        {[](ShotRecord& r) { r.HasShot = false; }, "it holds no shot"},
        {[](ShotRecord& r) { r.WindowStart = 1; },
         "its window starts at sample 1, where the instrument's trailers put none (0, or 40 and beyond)"},
        {[](ShotRecord& r) { r.WindowStart = 39; },
         "its window starts at sample 39, where the instrument's trailers put none (0, or 40 and beyond)"},
        {[](ShotRecord& r) { r.TriggerSource = 9; }, "its trigger source 9 is outside 0..5"},
        {[](ShotRecord& r) {
             r.ChannelOn[1] = false;
             r.Analysis[1].Histogram[7] += 1;
         },
         "the value counts of channel 2 do not add up to the shot's samples"},
    };
    for (const auto& c : cases) {
        test::ShotBench bench;
        bench.transfer();
        c.change(bench.record);
        const ReplayShotResult replay = replayShotOf(bench.record);
        EXPECT_FALSE(replay.ok) << c.error;
        EXPECT_EQ(replay.error, c.error);
    }
}

} // namespace
} // namespace kavlon
