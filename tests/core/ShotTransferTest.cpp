#include "ShotTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>

namespace kavlon {
namespace {

using test::ShotBench;

int counted(const ChannelAnalysis& a) {
    return std::accumulate(a.Histogram.begin(), a.Histogram.end(), 0);
}

// A first four-channel shot of raw 11 everywhere, then the shot under test with raw
// 20 * k on channel k (a constant, so an analysed channel has Level1 = 20 * k).
TEST(ShotTransfer, ChannelModes) {
    struct Case {
        const char* name;
        int channelCount;
        std::array<bool, 4> on;
        bool twoChannelLayout;
        std::array<bool, 4> visited, analysed;
        const char* cells[4][2]; // row 2 of each channel: value and voltage
    };
    // At 1 V / Div and zero level 100: (100 - r) / 24 volts.
    // clang-format off
    const Case cases[] = {
        {"four channels", 4, {true, true, true, true}, false, {true, true, true, true}, {true, true, true, true},
         {{"20", "3.3 V"}, {"40", "2.5 V"}, {"60", "1.7 V"}, {"80", "833.3 mV"}}},
        {"two channels", 2, {true, true, true, true}, true, {true, true, false, false}, {true, true, false, false},
         {{"20", "3.3 V"}, {"40", "2.5 V"}, {"11", "3.7 V"}, {"11", "3.7 V"}}},
        {"channel 2 disabled", 4, {true, false, true, true}, false, {true, true, true, true}, {true, false, true, true},
         {{"20", "3.3 V"}, {"", ""}, {"60", "1.7 V"}, {"80", "833.3 mV"}}},
        {"mode 3", 3, {true, true, true, true}, false, {true, true, true, true}, {true, true, false, false},
         {{"20", "3.3 V"}, {"40", "2.5 V"}, {"60", "1.7 V"}, {"80", "833.3 mV"}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShotBench bench;
        for (int k = 1; k <= 4; ++k)
            bench.fill(k, [](int) { return 11; });
        bench.transfer();
        for (ChannelAnalysis& a : bench.record.Analysis)
            a.Level1 = -77;

        bench.state.ChannelCount = c.channelCount;
        bench.state.ChannelOn = c.on;
        for (int k = 1; k <= 4; ++k)
            bench.fill(k, [k](int) { return 20 * k; });
        const TransferOutcome outcome = bench.transfer();

        EXPECT_EQ(outcome.twoChannelLayout, c.twoChannelLayout);
        EXPECT_TRUE(bench.record.HasShot);
        EXPECT_EQ(bench.record.VoltsPerDivText, bench.state.VoltsPerDivText);
        for (int k = 1; k <= 4; ++k) {
            SCOPED_TRACE(k);
            const auto i = std::size_t(k - 1);
            const ChannelAnalysis& a = bench.analysis(k);
            EXPECT_EQ(bench.cell(2 * k - 1, 2), c.cells[i][0]);
            EXPECT_EQ(bench.cell(2 * k, 2), c.cells[i][1]);
            EXPECT_EQ(counted(a), c.visited[i] ? 101 : 0);
            EXPECT_EQ(a.RawMin, c.visited[i] ? 20 * k : 255);
            EXPECT_EQ(a.RawMax, c.visited[i] ? 20 * k : 0);
            EXPECT_EQ(a.RawMid, c.analysed[i] ? 20 * k : 0);
            EXPECT_EQ(a.Level1, c.analysed[i] ? 20 * k : -77) << "skipped channels keep their analysis";
            EXPECT_EQ(outcome.labels.ZeroLevelCH_lb[i].has_value(), c.visited[i]);
        }
    }
}

TEST(ShotTransfer, Labels) {
    struct Case {
        int channelCount, timebase, offset, triggerSource, triggerLevel;
        char separator;
        const char *timebaseText, *realText, *trigger, *triggerLevelText;
    };
    // Zero levels 120, 100, 130, 100; channel 3 at 10 mV / Div with a x10 probe, the
    // others at 1 V / Div. nullptr: the label keeps its caption.
    // clang-format off
    const Case cases[] = {
        {4, 8, 3, 1, 72, ',', "Timebase : 10 µs / Div", "Real Timebase : 1 µs / Div",
         "Trigger : Channel 1", "Trigger Level : 2,0 V"},
        {4, 30, 5, 3, 82, '.', nullptr, "Real Timebase : 20 s / Div",
         "Trigger : Channel 3", "Trigger Level : 200.0 mV"},
        {2, 0, 0, 3, 82, '.', "Timebase : 2 ns / Div", "Real Timebase : 2 ns / Div",
         "Trigger : Channel 3", "Trigger Level : "},
        {4, 32, 0, 0, 0, '.', nullptr, nullptr, "Trigger : FreeRun", "Trigger Level : No Level"},
        {4, 17, 2, 5, 0, '.', "Timebase : 5 ms / Div", "Real Timebase : 1 ms / Div",
         "Trigger : Extern", "Trigger Level : Extern"},
        {4, 17, 0, 6, 0, '.', "Timebase : 1 ms / Div", "Real Timebase : 1 ms / Div", nullptr, nullptr},
        {3, 17, 0, 4, 52, '.', "Timebase : 1 ms / Div", "Real Timebase : 1 ms / Div",
         "Trigger : Channel 4", "Trigger Level : 2.0 V"},
    };
    // clang-format on
    const char* const zero[4] = {"Zero CH 1 : 5.0 V", "Zero CH 2 : 4.2 V", "Zero CH 3 : 541.7 mV",
                                 "Zero CH 4 : 4.2 V"};
    auto expectLabel = [](const std::optional<std::string>& label, const std::string& text) {
        EXPECT_EQ(label.value_or("<unchanged>"), text);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "source " << c.triggerSource << " timebase " << c.timebase);
        ShotBench bench;
        bench.state.ChannelCount = c.channelCount;
        bench.state.TimebaseIndex = c.timebase;
        bench.state.TimebaseOffset = c.offset;
        bench.state.TriggerSource = c.triggerSource;
        bench.state.TriggerLevel = c.triggerLevel;
        bench.state.ZeroLevel = {120, 100, 130, 100};
        bench.state.VoltsIndex = {9, 9, 3, 9};
        bench.state.ProbeRange = {3, 3, 6, 3};
        bench.inputs.decimalSeparator = c.separator;
        const DataWindowLabels labels = bench.transfer().labels;
        expectLabel(labels.Timebase_lb, c.timebaseText ? c.timebaseText : "<unchanged>");
        expectLabel(labels.RealTimebase_lb, c.realText ? c.realText : "<unchanged>");
        expectLabel(labels.Trigger_lb, c.trigger ? c.trigger : "<unchanged>");
        expectLabel(labels.Triggerlevel_lb, c.triggerLevelText ? c.triggerLevelText : "<unchanged>");
        for (int k = 0; k < 4; ++k) {
            std::string text = k < (c.channelCount == 2 ? 2 : 4) ? zero[k] : "<unchanged>";
            std::replace(text.begin(), text.end(), '.', c.separator);
            expectLabel(labels.ZeroLevelCH_lb[std::size_t(k)], text);
        }
    }
}

// Carried for later readers (the FFT's interpolation starts from HeaderValue1);
// the transfer itself makes nothing of them.
TEST(ShotTransfer, TrailerFieldsTravelWithTheShot) {
    ShotBench bench;
    bench.state.TrailerValue = 0xBEEF;
    bench.state.TriggerPoint = 1234;
    bench.state.AuxFlag = true;
    bench.transfer();
    EXPECT_EQ(bench.record.HeaderValue1, 0xBEEF);
    EXPECT_EQ(bench.record.TriggerPoint, 1234);
    EXPECT_TRUE(bench.record.AuxFlag);
}

// WindowStart comes from the instrument: whatever it says, no read leaves the block.
TEST(ShotTransfer, ShotLengthIsBounded) {
    struct Case {
        int timebase;
        int windowStart;
        int rowCount;
        int positions;
    };
    const Case cases[] = {
        {6, 40, 16260, 16261},      {7, 0, 4060, 4061},         {7, 4060, 2, 1},    {7, 4061, 2, 0},
        {6, -100000, 16383, 16384}, {6, INT_MIN, 16383, 16384}, {6, INT_MAX, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.timebase << "/" << c.windowStart);
        ShotBench bench;
        bench.state.TimebaseIndex = c.timebase;
        bench.state.WindowStart = c.windowStart;
        bench.fill(1, [](int) { return 5; });
        bench.transfer();
        EXPECT_EQ(bench.record.Cells.rowCount(), c.rowCount);
        EXPECT_EQ(counted(bench.analysis(1)), c.positions);
        if (c.positions > 0) {
            EXPECT_EQ(bench.cell(1, c.positions + 1), "5") << "last sample written";
        }
        EXPECT_EQ(bench.cell(1, c.positions + 2), "") << "first sample not written";
        if (c.positions == 0) {
            EXPECT_EQ(bench.analysis(1).CycleRise, (EdgeRecord{-1, -1, -1}));
            EXPECT_EQ(bench.analysis(1).AvgCount, 0);
        }
    }
}

} // namespace
} // namespace kavlon
