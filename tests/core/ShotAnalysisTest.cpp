#include "ShotTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>

namespace kavlon {
namespace {

using test::ShotBench;

// A square wave of period 20 between raw 200 (low voltage) and raw 40, each edge passing
// through 150 and 100 so the three reference levels (168, 120, 72) are crossed at
// different samples. Phase 0 starts low; phase 10 starts high.
int squareWave(int i, int phase) {
    const int p = (i + phase) % 20;
    if (p < 8)
        return 200;
    if (p == 8 || p == 19)
        return 150;
    if (p == 9 || p == 18)
        return 100;
    return 40;
}

struct WaveCase {
    const char* name;
    std::function<int(int)> sample;
    int rawMax, rawMid, rawMin, topRaw, baseRaw;
    int level1, level2, level3;
    EdgeRecord rise1, fall1, rise2, fall2, cycleRise, cycleFall;
    int avgSum, avgCount;
};

constexpr EdgeRecord kNone{-1, -1, -1};
constexpr EdgeRecord kAtEnd{100, 100, 100};

TEST(ShotAnalysis, Waveforms) {
    // clang-format off
    const WaveCase cases[] = {
        // Nothing crosses anything: every search runs to n, and no cycle means no sum.
        {"constant", [](int) { return 100; }, 100, 100, 100, 100, 100, 100, 100, 100,
         kAtEnd, kAtEnd, kAtEnd, kAtEnd, kNone, kNone, 0, 0},
        // Starts low: rise first; the first cycle is the third rise and fall (48/60),
        // replaced by 68/80; the fall after 88 does not finish before n.
        // Sum from sample 9 to 69: three periods (+20 each) and raw[69] = 100 (-20).
        {"square starting low", [](int i) { return squareWave(i, 0); }, 200, 120, 40, 40, 200, 168, 120, 72,
         {8, 9, 10}, {20, 19, 18}, {28, 29, 30}, {40, 39, 38}, {68, 69, 70}, {80, 79, 78}, 40, 61},
        // Sample 0 exactly on Level1 still starts low: the same chain and sum as above.
        {"first sample on Level1", [](int i) { return i == 0 ? 168 : squareWave(i, 0); }, 200, 120, 40, 40, 200,
         168, 120, 72, {8, 9, 10}, {20, 19, 18}, {28, 29, 30}, {40, 39, 38}, {68, 69, 70}, {80, 79, 78}, 40, 61},
        // Starts high: fall first; the cycle search starts at sample 40, already above
        // Level3, so the first cycle's rise sits at 40 for all three levels and the third
        // fall completes it; later cycles replace it up to 78/90.
        // Sum from sample 9 to 89: four periods (+20 each) and raw[89] = 150 (+30).
        {"square starting high", [](int i) { return squareWave(i, 10); }, 200, 120, 40, 40, 200, 168, 120, 72,
         {18, 19, 20}, {10, 9, 8}, {38, 39, 40}, {30, 29, 28}, {78, 79, 80}, {90, 89, 88}, 110, 81},
        // One rise at 30 and one fall at 60: the second rise and fall never come.
        {"one rise and one fall", [](int i) { return i >= 30 && i < 60 ? 40 : 200; }, 200, 120, 40, 40, 200,
         168, 120, 72, {30, 30, 30}, {60, 60, 60}, kAtEnd, kAtEnd, kNone, kNone, 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShotBench bench;
        bench.fill(1, c.sample);
        bench.transfer();
        const ChannelAnalysis& a = bench.analysis(1);
        EXPECT_EQ(std::accumulate(a.Histogram.begin(), a.Histogram.end(), 0), 101) << "positions 0..n";
        EXPECT_EQ(a.RawMax, c.rawMax);
        EXPECT_EQ(a.RawMid, c.rawMid);
        EXPECT_EQ(a.RawMin, c.rawMin);
        EXPECT_EQ(a.TopRaw, c.topRaw);
        EXPECT_EQ(a.BaseRaw, c.baseRaw);
        EXPECT_EQ(a.Level1, c.level1);
        EXPECT_EQ(a.Level2, c.level2);
        EXPECT_EQ(a.Level3, c.level3);
        EXPECT_EQ(a.Rise1, c.rise1);
        EXPECT_EQ(a.Fall1, c.fall1);
        EXPECT_EQ(a.Rise2, c.rise2);
        EXPECT_EQ(a.Fall2, c.fall2);
        EXPECT_EQ(a.CycleRise, c.cycleRise);
        EXPECT_EQ(a.CycleFall, c.cycleFall);
        EXPECT_EQ(a.AvgSum, c.avgSum);
        EXPECT_EQ(a.AvgCount, c.avgCount);
    }
}

TEST(ShotAnalysis, SquareWaveHistogram) {
    ShotBench bench;
    bench.fill(1, [](int i) { return squareWave(i, 0); });
    bench.transfer();
    const auto& h = bench.analysis(1).Histogram;
    // Five periods and position 100, which starts a sixth at 200.
    EXPECT_EQ(h[200], 41);
    EXPECT_EQ(h[150], 10);
    EXPECT_EQ(h[100], 10);
    EXPECT_EQ(h[40], 40);
}

// Top and base: the most frequent value of each raw half, ties to the outer value,
// and levels truncated toward zero.
TEST(ShotAnalysis, TopBaseAndLevels) {
    struct Case {
        const char* name;
        std::vector<int> values; // repeated over samples 0-99
        int last;                // sample 100, kept out of the contest
        std::array<int, 3> percent;
        int topRaw, baseRaw, level1, level2, level3;
    };
    const Case cases[] = {
        // Halves meet at 125; 30 and 50 tie, as do 180 and 220.
        {"ties keep the outer values", {30, 50, 180, 220}, 125, {20, 50, 80}, 30, 220, 182, 125, 68},
        // 201 - 0.2 * 161 = 168.8, 201 - 80.5 = 120.5, 201 - 128.8 = 72.2
        {"fractions truncated", {40, 201}, 40, {20, 50, 80}, 40, 201, 168, 120, 72},
        // 201 - 1.5 * 161 = -40.5 truncates to -40, not -41
        {"toward zero below 0", {40, 201}, 40, {20, 50, 150}, 40, 201, 168, 120, -40},
        // The midpoint itself belongs to both halves.
        {"midpoint in both halves", {0, 100, 100, 100, 200}, 100, {20, 50, 80}, 100, 100, 100, 100, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShotBench bench;
        bench.state.ReferenceLevels = c.percent;
        bench.fill(1, [&](int i) { return i < 100 ? c.values[std::size_t(i) % c.values.size()] : c.last; });
        bench.transfer();
        const ChannelAnalysis& a = bench.analysis(1);
        EXPECT_EQ(a.TopRaw, c.topRaw);
        EXPECT_EQ(a.BaseRaw, c.baseRaw);
        EXPECT_EQ(a.Level1, c.level1);
        EXPECT_EQ(a.Level2, c.level2);
        EXPECT_EQ(a.Level3, c.level3);
    }
}

} // namespace
} // namespace kavlon
