#include "core/chart/ChartAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavlon {
namespace {

std::vector<double> values(const std::vector<ChartTick>& ticks) {
    std::vector<double> out;
    for (const ChartTick& t : ticks)
        out.push_back(t.value);
    return out;
}

TEST(ChartAxis, RangesAreWidenedOrRefusedAsTheAxisRequires) {
    ChartAxis x;
    x.setHi(5 + 1e-12);
    x.setLo(5);
    EXPECT_EQ(x.lo(), 5);
    EXPECT_EQ(x.hi(), 5 + 1e-10);

    ChartAxis y;
    y.setHi(10);
    EXPECT_FALSE(y.setLogarithmic(true)) << "the range starts at 0";
    y.setLo(0.01);
    EXPECT_TRUE(y.setLogarithmic(true));
    y.setLo(-2);
    EXPECT_EQ(y.lo(), 0.01) << "a negative limit on a log axis is ignored";
    y.setLo(std::nan(""));
    y.setHi(std::numeric_limits<double>::infinity());
    EXPECT_EQ(y.lo(), 0.01);
    EXPECT_EQ(y.hi(), 10);
    EXPECT_FALSE(y.setLogarithmic(false));
}

TEST(ChartAxis, PixelsOfLinearAndLogarithmicAxes) {
    ChartAxis x;
    x.setHi(400);
    x.setLo(0.5);
    x.setLogarithmic(true);
    constexpr int left = 60, right = 660;
    EXPECT_EQ(x.toPixel(0.5, left, right), left);
    EXPECT_EQ(x.toPixel(400, left, right), right);
    EXPECT_EQ(x.toPixel(20, left, right), left + int(std::nearbyint(600 * std::log(40.0) / std::log(800.0))));
    // What a log axis cannot show lands on its low edge; nothing leaves the int range.
    for (double bad : {0.0, -3.0, std::nan(""), 1e-200})
        EXPECT_EQ(x.toPixel(bad, left, right), left) << bad;
    EXPECT_NEAR(x.fromPixel(right, left, right), 400, 1e-9);

    ChartAxis y; // 0 .. 1 upward on the screen: low at the bottom
    EXPECT_EQ(y.toPixel(0.25, 300, 100), 250);
    // Pixels are rounded to the nearest, either way along the axis.
    EXPECT_EQ(y.toPixel(0.56, 0, 10), 6);
    EXPECT_EQ(y.toPixel(0.44, 10, 0), 6);
    EXPECT_EQ(y.toPixel(0.54, 0, 10), 5);
    EXPECT_EQ(y.toPixel(-1e300, 300, 100), std::numeric_limits<int>::max());
    EXPECT_DOUBLE_EQ(y.fromPixel(200, 300, 100), 0.5);
}

TEST(ChartAxis, TicksAndTheirLabels) {
    struct Case {
        double lo, hi;
        int minTicks;
        std::vector<double> ticks;
        std::vector<std::string> labels; // automatic decimals
    };
    const Case cases[] = {
        {0, 30, 3, {0, 10, 20, 30}, {"0.0", "10.0", "20.0", "30.0"}},
        {0,
         50000,
         3,
         {0, 10000, 20000, 30000, 40000, 50000},
         {"0", "10000", "20000", "30000", "40000", "50000"}},
        {-2, 2, 3, {-2, -1, 0, 1, 2}, {"-2.0", "-1.0", "0.0", "1.0", "2.0"}},
        {0.3, 0.9, 3, {0.4, 0.6, 0.8}, {"0.40", "0.60", "0.80"}},
        {0,
         35,
         6,
         {0, 5, 10, 15, 20, 25, 30, 35},
         {"0.0", "5.0", "10.0", "15.0", "20.0", "25.0", "30.0", "35.0"}},
        // Wider than 100 000: the zero tick keeps a decimal, as the automatic setting is not 0.
        {0, 200000, 3, {0, 50000, 100000, 150000, 200000}, {"0.0", "50000", "100000", "150000", "200000"}},
        {7, 7, 3, {7}, {"7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lo);
        const auto ticks = linearTicks(c.lo, c.hi, c.minTicks);
        ASSERT_EQ(ticks.size(), c.ticks.size());
        const TickFormat format = linearTickFormat(c.lo, c.hi, -2);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i].value, c.ticks[i], 1e-9);
            if (c.lo != c.hi) {
                EXPECT_EQ(tickLabel(ticks[i].value, format, c.lo, c.hi), c.labels[i]);
            }
        }
    }
    EXPECT_EQ(tickLabel(0.5, linearTickFormat(0, 30, -2), 0, 30, ','), "0,5");
    EXPECT_EQ(tickLabel(1.5e7, linearTickFormat(0, 2e7, -2), 0, 2e7), "1.50e7");
    EXPECT_EQ(tickLabel(0, linearTickFormat(0, 2e7, -2), 0, 2e7), "0.0");
    EXPECT_EQ(tickLabel(0, linearTickFormat(-1e5, 1e5, 0), -1e5, 1e5), "0") << "a setting of 0";
    EXPECT_EQ(tickLabel(1e-20, linearTickFormat(-1e5, 1e5, 3), -1e5, 1e5), "0.0");
    EXPECT_EQ(tickLabel(1e-20, linearTickFormat(-1, 1, 3), -1, 1), "0.000") << "narrow: the normal format";

    // A log axis over 0.5 .. 400: every decade, and 2 and 5 times it when there are few.
    EXPECT_EQ(values(logTicks(0.5, 400, 6, false)),
              (std::vector<double>{0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500}));
    EXPECT_EQ(logTicks(0.5, 400, 6, true).size(), 12u + 4u * 6u);
    // Exactly one decade is a log axis already, with 2 and 5 times each decade.
    EXPECT_EQ(values(logTicks(1, 10, 3, false)), (std::vector<double>{0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50}));
    EXPECT_EQ(values(logTicks(2, 19.9, 3, false)), values(linearTicks(2, 19.9, 3))) << "under a decade";
    // The decades start one below lo (the drawing leaves out what lies off the axis).
    EXPECT_EQ(values(logTicks(0.01, 1000, 3, false)),
              (std::vector<double>{0.001, 0.01, 0.1, 1, 10, 100, 1000}));
    const TickFormat log = logTickFormat(0.5, 400);
    EXPECT_EQ(tickLabel(0.5, log, 0.5, 400), "0.5");
    EXPECT_EQ(tickLabel(200, log, 0.5, 400), "200");

    // Ranges no axis can show give no ticks rather than endless ones.
    EXPECT_TRUE(linearTicks(std::nan(""), 1, 3).empty());
    EXPECT_TRUE(logTicks(-1, 10, 3, true).empty());
    EXPECT_EQ(linearTicks(1e20, 1e20 + 1, 3).size(), 1u);
    EXPECT_LE(linearTicks(0, 1, 1 << 30).size(), 1000u);
}

TEST(ChartAxis, AnAxisDrawsOnlyTheTicksOnIt) {
    struct Case {
        const char* what;
        double lo, hi;
        bool log;
        int minTicks;
        std::vector<double> ticks;
    };
    const Case cases[] = {
        // The power spectrum: a decade below 1e-4 is one step of the value range in from zero.
        {"power spectrum", 1e-4, 1e7, true, 3, {1e-4, 1e-3, 1e-2, 0.1, 1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7}},
        {"frequencies", 0.5, 400, true, 6, {0.5, 1, 2, 5, 10, 20, 50, 100, 200}},
        {"one decade", 1, 10, true, 3, {1, 2, 5, 10}},
        {"linear", 0, 30, false, 3, {0, 10, 20, 30}},
        {"linear, off the multiples", 0.3, 0.9, false, 3, {0.4, 0.6, 0.8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChartAxis axis;
        axis.setHi(c.hi);
        axis.setLo(c.lo);
        axis.setLogarithmic(c.log);
        const std::vector<double> got = values(axisTicks(axis, c.minTicks, false));
        ASSERT_EQ(got.size(), c.ticks.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.ticks[i], c.ticks[i] * 1e-9) << i;
    }
}

TEST(ChartAxis, LabelsThatWouldCrowdTheLastOneWrittenAreLeftOut) {
    struct Case {
        const char* what;
        std::vector<LabelSpan> spans;
        std::vector<bool> written;
    };
    const Case cases[] = {
        {"to the right", {{0, 10}, {12, 20}, {14, 30}, {30, 40}, {34, 44}}, {true, false, true, false, true}},
        // Y labels run upward: each lies above the one before.
        {"upward", {{100, 113}, {94, 107}, {87, 100}, {70, 83}, {60, 67}}, {true, false, false, true, false}},
        {"apart", {{0, 10}, {20, 30}}, {true, true}},
        {"none", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(labelsThatFit(c.spans, 4), c.written);
    }
}

} // namespace
} // namespace kavlon
