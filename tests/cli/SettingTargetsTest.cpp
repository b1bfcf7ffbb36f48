// What the command line accepts as settings, and what it turns away before any
// command reaches the instrument.
#include "cli/SettingTargets.h"

#include "core/scales/ScaleTables.h"

#include <gtest/gtest.h>

namespace kavlon::cli {
namespace {

struct QuantityCase {
    const char* text;
    char unit;
    std::optional<double> value;
};

const QuantityCase kQuantities[] = {
    {"200 \xC2\xB5s", 's', 200e-6}, // the micro sign as the front panel writes it
    {"200us", 's', 200e-6},
    {"0.2 ms", 's', 200e-6},
    {"50 s / Div", 's', 50.0},
    {"2 ns/div", 's', 2e-9},
    {"500mV", 'V', 0.5},
    {"2.5 kV / Div", 'V', 2500.0},
    {"1V", 'V', 1.0},
    {"500 mV", 's', std::nullopt}, // a voltage is no time
    {"200 xs", 's', std::nullopt},
    {"-1 ms", 's', std::nullopt},
    {"ms", 's', std::nullopt},
    {"1e999 s", 's', std::nullopt},
    {"200", 's', std::nullopt},
};

TEST(SettingTargets, QuantitiesInTheFrontPanelsWordsAndShorter) {
    for (const auto& c : kQuantities) {
        const auto got = parseQuantity(c.text, c.unit);
        ASSERT_EQ(got.has_value(), c.value.has_value()) << c.text;
        if (c.value) {
            EXPECT_NEAR(*got, *c.value, *c.value * 1e-9) << c.text;
        }
    }
}

TEST(SettingTargets, TableEntriesAreFoundWhateverTheRounding) {
    // 0.1 + 0.2 is not 0.3 in binary; the tables' steps must still be found.
    EXPECT_EQ(timebaseIndexFor(0.1 * 2e-3), 15);
    EXPECT_EQ(timebaseIndexFor(2e-9), 0);
    EXPECT_EQ(timebaseIndexFor(50.0), 31);
    EXPECT_EQ(timebaseIndexFor(3e-4), std::nullopt);
    EXPECT_EQ(voltsIndexFor(0.5, 3), 8);
    EXPECT_EQ(voltsIndexFor(2.5, 2), 11);             // 5 V / Div behind a 0.5 probe
    EXPECT_EQ(voltsIndexFor(0.002, 3), std::nullopt); // a value without a label
    EXPECT_EQ(voltsIndexFor(0.5, 13), std::nullopt);
    EXPECT_EQ(offeredVolts(3), "10 mV, 20 mV, 50 mV, 100 mV, 200 mV, 500 mV, 1 V, 2 V, 5 V");
}

TEST(SettingTargets, EveryOptionReachesItsTarget) {
    SettingTexts texts;
    texts.timebase = "200 \xC2\xB5s";
    texts.volts = {"1:500mV", "2:1V,4:20 mV"};
    texts.channels = "1, 2,4";
    texts.coupling = {"2:AC", "1:dc"};
    texts.invert = {"3:on"};
    texts.run = "off";
    SettingTargets t;
    ASSERT_TRUE(parseTargets(texts, t).ok());
    EXPECT_EQ(t.timebase, 15);
    EXPECT_DOUBLE_EQ(*t.voltsPerDiv[0], 0.5);
    EXPECT_DOUBLE_EQ(*t.voltsPerDiv[1], 1.0);
    EXPECT_FALSE(t.voltsPerDiv[2].has_value());
    EXPECT_DOUBLE_EQ(*t.voltsPerDiv[3], 0.02);
    EXPECT_EQ(t.channelsOn, (std::array<bool, kChannels>{true, true, false, true}));
    EXPECT_EQ(t.acCoupled[1], true);
    EXPECT_EQ(t.acCoupled[0], false);
    EXPECT_FALSE(t.acCoupled[2].has_value());
    EXPECT_EQ(t.inverted[2], true);
    EXPECT_EQ(t.running, false);
}

struct BadCase {
    void (*fill)(SettingTexts&);
    const char* mentions;
};

TEST(SettingTargets, BadValuesAreUsageErrorsThatNameTheOption) {
    const BadCase cases[] = {
        {[](SettingTexts& t) { t.timebase = "300 \xC2\xB5s"; }, "--timebase 300"},
        {[](SettingTexts& t) { t.timebase = "fast"; }, "--timebase fast"},
        {[](SettingTexts& t) { t.volts = {"5:1V"}; }, "--volts 5:1V"},
        {[](SettingTexts& t) { t.volts = {"1:1V,0:1V"}; }, "--volts 0:1V"},
        {[](SettingTexts& t) { t.volts = {"500mV"}; }, "CHANNEL:VALUE"},
        {[](SettingTexts& t) { t.volts = {"1:lots"}; }, "--volts 1:lots"},
        {[](SettingTexts& t) { t.channels = "1,5"; }, "--channels 1,5"},
        {[](SettingTexts& t) { t.channels = ""; }, "--channels"},
        {[](SettingTexts& t) { t.coupling = {"2:XY"}; }, "AC or DC"},
        {[](SettingTexts& t) { t.invert = {"1:maybe"}; }, "on or off"},
        {[](SettingTexts& t) { t.run = "sometimes"; }, "--run"},
    };
    for (const auto& c : cases) {
        SettingTexts texts;
        c.fill(texts);
        SettingTargets t;
        const Outcome o = parseTargets(texts, t);
        EXPECT_EQ(o.code, ExitCode::Usage) << c.mentions;
        EXPECT_NE(o.message.find(c.mentions), std::string::npos) << o.message;
    }
}

} // namespace
} // namespace kavlon::cli
