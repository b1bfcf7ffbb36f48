#include "core/scales/ScaleTables.h"
#include "core/scales/TextEncoding.h"

#include <gtest/gtest.h>

namespace kavlon {
namespace {

// The volts-per-division grid as the front panel must show it, row ProbeRange 0-12,
// columns VoltsIndex 3-11 (" / Div" follows each cell).
const char* const kGrid[13][9] = {
    {"1 mV", "2 mV", "5 mV", "10 mV", "20 mV", "50 mV", "100 mV", "200 mV", "500 mV"},
    {"2 mV", "4 mV", "10 mV", "20 mV", "40 mV", "100 mV", "200 mV", "400 mV", "1 V"},
    {"5 mV", "10 mV", "25 mV", "50 mV", "100 mV", "250 mV", "500 mV", "1 V", "2.5 V"},
    {"10 mV", "20 mV", "50 mV", "100 mV", "200 mV", "500 mV", "1 V", "2 V", "5 V"},
    {"20 mV", "40 mV", "100 mV", "200 mV", "400 mV", "1 V", "2 V", "4 V", "10 V"},
    {"50 mV", "100 mV", "250 mV", "500 mV", "1 V", "2.5 V", "5 V", "10 V", "25 V"},
    {"100 mV", "200 mV", "500 mV", "1 V", "2 V", "5 V", "10 V", "20 V", "50 V"},
    {"200 mV", "400 mV", "1 V", "2 V", "4 V", "10 V", "20 V", "40 V", "100 V"},
    {"500 mV", "1 V", "2.5 V", "5 V", "10 V", "25 V", "50 V", "100 V", "250 V"},
    {"1 V", "2 V", "5 V", "10 V", "20 V", "50 V", "100 V", "200 V", "500 V"},
    {"2 V", "4 V", "10 V", "20 V", "40 V", "100 V", "200 V", "400 V", "1 kV"},
    {"5 V", "10 V", "25 V", "50 V", "100 V", "250 V", "500 V", "1 kV", "2.5 kV"},
    {"10 V", "20 V", "50 V", "100 V", "200 V", "500 V", "1 kV", "2 kV", "5 kV"},
};

TEST(ScaleTables, VoltsPerDivisionGridFollowsItsRule) {
    for (int range = 0; range < 13; ++range)
        for (int volts = 3; volts <= 11; ++volts) {
            auto label = voltsPerDivLabel(range, volts);
            ASSERT_TRUE(label) << range << "/" << volts;
            EXPECT_EQ(*label, std::string(kGrid[range][volts - 3]) + " / Div") << range << "/" << volts;
            const auto perDiv = voltsPerDivOf(range, volts);
            ASSERT_TRUE(perDiv) << range << "/" << volts;
            EXPECT_EQ(voltsIndexFor(*perDiv, range), volts) << range << "/" << volts;
        }
    for (auto [range, volts] : {std::pair{-1, 5}, {13, 5}, {3, 0}, {3, 1}, {3, 2}, {3, 12}, {200, 200}})
        EXPECT_FALSE(voltsPerDivLabel(range, volts)) << range << "/" << volts;
    for (auto [range, volts] : {std::pair{-1, 5}, {13, 5}, {3, 0}, {3, 12}, {200, 200}})
        EXPECT_FALSE(voltsPerDivOf(range, volts)) << range << "/" << volts;
    // Unlabelled, but a scale the instrument may report all the same.
    EXPECT_EQ(voltsPerDivOf(3, 1), 0.002);
    EXPECT_EQ(voltsPerDivOf(12, 11), 5000.0);

    // The rule past the grid's own cells.
    EXPECT_EQ(formatVoltsPerDiv(12'345), "1.2345 V");
    EXPECT_EQ(formatVoltsPerDiv(5), "0.5 mV");
    EXPECT_EQ(formatVoltsPerDiv(25'000'000), "2.5 kV");
}

TEST(ScaleTables, TimebaseTableIsA125Sequence) {
    ASSERT_EQ(TimebaseTable.size(), 32u);
    EXPECT_EQ(*timebaseLabel(0), "2 ns / Div");
    EXPECT_EQ(*timebaseLabel(5), "100 ns / Div");
    EXPECT_EQ(*timebaseLabel(8), "1 µs / Div");
    EXPECT_EQ(*timebaseLabel(17), "1 ms / Div");
    EXPECT_EQ(*timebaseLabel(26), "1 s / Div");
    EXPECT_EQ(*timebaseLabel(31), "50 s / Div");
    EXPECT_FALSE(timebaseLabel(32));
    EXPECT_FALSE(timebaseLabel(-1));
    for (std::size_t k = 1; k < TimebaseTable.size(); ++k) {
        const double ratio = TimebaseTable[k].secondsPerDiv / TimebaseTable[k - 1].secondsPerDiv;
        EXPECT_TRUE(std::abs(ratio - 2) < 1e-9 || std::abs(ratio - 2.5) < 1e-9) << k;
    }
}

TEST(ScaleTables, CalcVoltageValueExamples) {
    struct Case {
        int scale, volts, raw;
        const char* text;
    };
    const Case cases[] = {
        {3, 3, 24, "10.0 mV"},  {6, 9, -48, "-20.0 V"},     {0, 1, 0, "0.0 mV"},   {12, 11, 0, "0.0 mV"},
        {12, 11, 24, "5.0 kV"}, {3, 9, 24, "1.0 V"},        {3, 9, -24, "-1.0 V"}, {3, 9, 23, "958.3 mV"},
        {3, 1, 1, "0.1 mV"},    {12, 11, -254, "-52.9 kV"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalcVoltage_Value(c.scale, c.volts, c.raw), c.text)
            << c.scale << "/" << c.volts << "/" << c.raw;

    EXPECT_EQ(CalcVoltage_Value(3, 3, 24, ','), "10,0 mV") << "the caller's locale supplies the mark";
    for (auto [scale, volts] : {std::pair{-1, 3}, {13, 3}, {3, 0}, {3, 12}})
        EXPECT_EQ(CalcVoltage_Value(scale, volts, 24), "") << scale << "/" << volts;
}

TEST(ScaleTables, VoltageUnitBoundaries) {
    struct Case {
        double volts;
        const char* text;
    };
    const Case cases[] = {
        {1.0, "1.0 V"},       {-1.0, "-1.0 V"},    {1000.0, "1.0 kV"}, {-1000.0, "-1.0 kV"},
        {0.9996, "999.6 mV"}, {999.94, "999.9 V"}, {0.0, "0.0 mV"},    {0.00004, "0.0 mV"},
        {12345.0, "12.3 kV"}, {-0.5, "-500.0 mV"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatVoltage(c.volts).view(), c.text) << c.volts;
}

TEST(TextEncoding, MicroSignIsOneAnsiByte) {
    EXPECT_EQ(toAnsi("1 µs / Div"), std::string("1 \xB5s / Div"));
    EXPECT_EQ(fromAnsi("1 \xB5s"), "1 µs");
    EXPECT_EQ(toAnsi("a\xE2\x82\xAC"
                     "b"),
              "a?b")
        << "outside Latin-1";
    EXPECT_EQ(toAnsi("x\xC3"), "x?") << "a cut-off sequence";
    for (int c = 0; c < 256; ++c) {
        const std::string ansi(1, char(c));
        EXPECT_EQ(toAnsi(fromAnsi(ansi)), ansi) << c;
    }
}

} // namespace
} // namespace kavlon
