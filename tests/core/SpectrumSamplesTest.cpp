#include "ShotTestSupport.h"

#include "core/spectrum/SpectrumSamples.h"
#include "core/spectrum/SpectrumTables.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kavlon {
namespace {

using test::ShotBench;

TEST(SpectrumTables, RangesUnitsAndStepsByTimebase) {
    struct Case {
        int e;
        double lo, hi;
        const char* unit;
        double step;
    };
    const Case cases[] = {
        {0, 40, 4000, "MHz", 0.00004}, {3, 5, 400, "MHz", 0.0004},    {10, 0.5, 2, "MHz", 0.0001},
        {11, 0.5, 1, "kHz", 0.0002},   {12, 0.5, 400, "kHz", 0.0004}, {20, 0.5, 1, "kHz", 0.0002},
        {21, 0.5, 400, "Hz", 0.0004},  {28, 0.5, 2, "Hz", 0.0001},    {30, 0.5, 400, "mHz", 0.0004},
        {31, 0.5, 200, "mHz", 0.001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.e);
        EXPECT_EQ(frequencyRange(c.e)->lo, c.lo);
        EXPECT_EQ(frequencyRange(c.e)->hi, c.hi);
        EXPECT_EQ(*frequencyUnit(c.e), c.unit);
        EXPECT_EQ(*frequencyStep(c.e), c.step);
    }
    for (int outside : {-1, 32})
        EXPECT_FALSE(frequencyRange(outside) || frequencyUnit(outside) || frequencyStep(outside));
    EXPECT_EQ(spectrumValueRange(1)->hi, 50000);
    EXPECT_FALSE(spectrumValueRange(7));
}

TEST(SpectrumSamples, RowsFollowTheReadingStepAndEmptyCellsKeepSamples) {
    ShotBench bench;
    bench.state.TimeStepIndex = 3; // reading step 2.5
    bench.state.ChannelOn = {true, false, true, true};
    for (int k = 1; k <= 4; ++k)
        bench.fill(k, [](int i) { return i; });
    bench.transfer();
    auto samples = std::make_unique<SpectrumSamples>();
    samples->x[1][1] = 123.0;
    readSpectrumSamples(bench.record, 512, *samples);
    // Rows 2, 4, 7, 9, 12: samples 0, 2, 5, 7, 10.
    const int read[] = {0, 2, 5, 7, 10};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(samples->x[0][std::size_t(i)], 2.0 * read[i] - 60) << i;
    EXPECT_EQ(samples->x[1][1], 123.0) << "a disabled channel's cells are empty";
    // Past the 100-sample shot the cells are empty too.
    EXPECT_EQ(samples->x[0][100], 0.0);
}

TEST(SpectrumSamples, UpsamplingRepeatsTheInputStaysInRangeAndInsideTheSamples) {
    InterpolationTable table;
    std::vector<int> input(20, 0);
    for (std::size_t i = 10; i < input.size(); ++i)
        input[i] = 255; // a full-scale step rings past both ends of the raw range
    std::vector<int> output(60);
    ASSERT_EQ(interpolate(table, input, 5, 14, output), 60u);
    for (int a = 5; a <= 14; ++a)
        EXPECT_EQ(output[std::size_t(6 * (a - 5))], input[std::size_t(a)]) << a;
    for (int v : output) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 255);
    }
    // Just after the step the taps sum to 272: held at the top, not wrapped to 16.
    EXPECT_EQ(output[6 * (10 - 5) + 1], 255);
    // Just before it they sum to 29.88: truncated, not rounded.
    EXPECT_EQ(output[6 * (9 - 5) + 1], 29);
    // A falling step rings below zero: held at the bottom, not wrapped to 238.
    std::vector<int> falling(input.rbegin(), input.rend());
    ASSERT_EQ(interpolate(table, falling, 5, 14, output), 60u);
    EXPECT_EQ(output[6 * (10 - 5) + 1], 0);

    // Timebase 3 from a HeaderValue1 far past the samples read: positions take the
    // nearest sample, so a constant shot stays about constant and nothing is read outside.
    ShotSettings shot;
    shot.TimebaseIndex = 3;
    shot.HeaderValue1 = 1000000;
    auto samples = std::make_unique<SpectrumSamples>();
    for (auto& x : samples->x)
        std::fill(x.begin(), x.end(), 2.0 * 100 - 60);
    interpolateFastTimebase(shot, 512, table, *samples);
    for (int i : {0, 300, 600})
        EXPECT_NEAR(samples->x[0][std::size_t(i)], 140.0, 2.0) << i;
}

// Upsampling of the two fastest timebases, on the screen scale, from channel I's samples.
TEST(SpectrumSamples, FastTimebasesUpsampleScreenValuesFromTenBeforeTheTrigger) {
    struct Case {
        const char* name;
        int timebase;
        int header;
        std::function<double(int)> sample;
        std::vector<std::pair<int, double>> expected; // upsampled index, value
    };
    const Case cases[] = {
        // Phase 0 repeats input 5 on, that is sample HeaderValue1 - 10 + 5 on.
        {"a ramp at timebase 2",
         2,
         50,
         [](int i) { return double(i); },
         {{0, 45}, {6, 46}, {12, 47}, {600, 145}}},
        {"a ramp at timebase 3 keeps every second output",
         3,
         50,
         [](int i) { return double(i); },
         {{0, 45}, {3, 46}, {300, 145}}},
        // Odd screen values (no raw value has them) come through as they are.
        {"odd screen values", 2, 20, [](int) { return 141.0; }, {{0, 141}, {1, 140}, {6, 141}}},
        // The eight-bit result holds what lies past it at its edges.
        {"above the eight bits", 2, 20, [](int) { return 300.0; }, {{0, 255}, {300, 255}}},
        {"below zero", 3, 20, [](int) { return -60.0; }, {{0, 0}, {300, 0}}},
        {"other timebases are used as read", 4, 20, [](int i) { return 3.0 * i; }, {{0, 0}, {7, 21}}},
    };
    InterpolationTable table;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShotSettings shot;
        shot.TimebaseIndex = c.timebase;
        shot.HeaderValue1 = c.header;
        auto samples = std::make_unique<SpectrumSamples>();
        for (int i = 0; i < 512; ++i)
            samples->x[0][std::size_t(i)] = c.sample(i);
        interpolateFastTimebase(shot, 512, table, *samples);
        for (const auto& [index, value] : c.expected)
            EXPECT_EQ(samples->x[0][std::size_t(index)], value) << index;
    }
}

} // namespace
} // namespace kavlon
