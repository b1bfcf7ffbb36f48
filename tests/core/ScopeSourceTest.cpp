#include "ShotTestSupport.h"

#include "core/scope/ScopeSource.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace kavlon {
namespace {

using test::ShotBench;

TEST(ScopeSource, ScrollMaximumKeepsTheLastSampleInsideTheShot) {
    struct Case {
        int timebase, samplesPerPixel, maximum;
    };
    const Case cases[] = {
        {7, 2, 1430}, {0, 3, 4833}, {7, 1, 3460},    {6, 1, 15700}, {7, 6, 76},
        {31, 4, 415}, {7, 7, 0},    {7, 10, 0},      {0, 28, 0},    {0, 27, 3},
        {0, 0, 0},    {0, -4, 0},   {0, INT_MAX, 0}, {40, 2, 1430}, {-3, 1, 15700},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scrollMaximum(c.timebase, c.samplesPerPixel), c.maximum)
            << c.timebase << " " << c.samplesPerPixel;
}

TEST(ScopeSource, ZoomRowsByTimebase) {
    struct Case {
        int timebase;
        std::vector<std::string> entries;
        std::array<std::int32_t, 5> factors;
    };
    const std::vector<std::string> fine = {"1 : 0.2", "1 : 0.4", "1 : 1", "1 : 2", "1 : 5"};
    const Case cases[] = {
        {0, {"1 : 1", "1 : 2.5", "1 : 5", "1 : 10", "1 : 25"}, {1, 3, 5, 10, 25}},
        {6, {"1 : 1", "1 : 2.5", "1 : 5", "1 : 10", "1 : 25"}, {1, 3, 5, 10, 25}},
        {4, {"1 : 1", "1 : 2", "1 : 4", "1 : 10", "1 : 20"}, {1, 2, 4, 10, 20}},
        {3, fine, {1, 1, 1, 2, 5}},
        {5, {"1 : 1", "1 : 2", "1 : 5", "1 : 10", "1 : 20"}, {1, 2, 5, 10, 20}},
        {7, {"1 : 1", "1 : 2", "1 : 4"}, {1, 2, 4, 10, 20}},
        {31, {"1 : 1", "1 : 2", "1 : 4"}, {1, 2, 4, 10, 20}},
        {29, {"1 : 1", "1 : 2", "1 : 5"}, {1, 2, 5, 10, 20}},
        {12, {"1 : 1", "1 : 2.5", "1 : 5"}, {1, 3, 5, 10, 25}},
    };
    for (const Case& c : cases) {
        const auto row = zoomRow(c.timebase);
        ASSERT_TRUE(row) << c.timebase;
        EXPECT_EQ(std::vector<std::string>(row->entries.begin(), row->entries.end()), c.entries)
            << c.timebase;
        EXPECT_EQ(row->factors, c.factors) << c.timebase;
    }
    for (int outside : {-1, 32, 255})
        EXPECT_FALSE(zoomRow(outside)) << outside;
}

TEST(ScopeSource, CopyTakesTheCellsSettingsAndCaptions) {
    ShotBench bench;
    bench.state.ChannelOn = {true, false, true, true};
    bench.state.ZeroLevel = {100, 31, 130, 222};
    bench.state.TimeStepIndex = 2;
    bench.state.TimebaseOffset = 1;
    for (int k = 1; k <= 4; ++k)
        bench.fill(k, [k](int i) { return (i + 40 * k) % 256; });
    bench.transfer();

    bench.state.TriggerSource = 1;
    bench.state.TriggerLevel = 76;
    bench.transfer();
    auto scope = std::make_unique<ScopeState>();
    copyShot(bench.record, *scope);

    // Positions 0..n were written: row 2r - 60 of each raw value.
    for (int i : {0, 57, ShotBench::kN})
        for (int k : {1, 3, 4})
            EXPECT_EQ(scope->Samples[std::size_t(k - 1)][std::size_t(i)], 2 * ((i + 40 * k) % 256) - 60)
                << k << "/" << i;
    // An empty cell keeps what was there: past the shot, and the disabled channel.
    EXPECT_EQ(scope->Samples[0][ShotBench::kN + 1], 25);
    EXPECT_EQ(scope->Samples[0][600], 0);
    EXPECT_EQ(scope->Samples[1][0], 75);

    EXPECT_EQ(scope->TimebaseIndex, 7);
    EXPECT_EQ(scope->ZoomIndex, 1);
    EXPECT_EQ(scope->SamplesPerPixel, 2);
    EXPECT_EQ(scope->ChannelMode, 4);
    EXPECT_EQ(scope->ChannelOn, (std::array<bool, 4>{true, false, true, true}));
    EXPECT_EQ(scope->ZeroRow, (std::array<std::int32_t, 4>{140, 2, 200, 384}));
    EXPECT_EQ(scope->VoltsPerDivText, bench.state.VoltsPerDivText);
    EXPECT_EQ(scope->ZeroText, (std::array<std::string, 4>{"Zero CH 1 : 4.2 V", "Zero CH 2 : 1.3 V",
                                                           "Zero CH 3 : 5.4 V", "Zero CH 4 : 9.2 V"}));
    EXPECT_EQ(scope->TriggerText, "Trigger : Channel 1");
    EXPECT_EQ(scope->TriggerLevelText, "Trigger Level : 1.0 V");
    EXPECT_EQ(scope->TimebaseText, "Timebase : 1 \u00b5s / Div");
}

// Only a two-channel shot leaves channels 3 and 4 of the copy alone; the mode
// travels with it so that the drawing traces them only for a four-channel shot.
TEST(ScopeSource, ATwoChannelShotLeavesChannelsThreeAndFourAlone) {
    ShotBench four;
    four.fill(3, [](int) { return 90; });
    four.fill(4, [](int) { return 100; });
    four.transfer();
    for (int channelCount : {2, 3, 4}) {
        SCOPED_TRACE(channelCount);
        ShotBench next;
        next.state.ChannelCount = channelCount;
        next.fill(1, [](int) { return 50; });
        next.fill(3, [](int) { return 200; }); // in memory, but not part of a two-channel shot
        next.transfer();

        auto scope = std::make_unique<ScopeState>();
        copyShot(four.record, *scope);
        copyShot(next.record, *scope);
        EXPECT_EQ(scope->Samples[0][10], 40);
        EXPECT_EQ(scope->Samples[2][10], channelCount == 2 ? 120 : 340);
        EXPECT_EQ(scope->Samples[3][10], channelCount == 2 ? 140 : -60);
        EXPECT_EQ(scope->ChannelMode, channelCount);
    }
}

} // namespace
} // namespace kavlon
