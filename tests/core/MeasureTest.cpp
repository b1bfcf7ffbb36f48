#include "ShotTestSupport.h"

#include "core/measure/MeasureFormat.h"
#include "core/measure/MeasureLayout.h"
#include "core/measure/MeasureSignal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavlon {
namespace {

using test::ShotBench;

// The largest float below a threshold, and the one below that.
float justUnder(double threshold, int steps = 1) {
    float x = float(threshold);
    while (double(x) >= threshold)
        x = std::nextafter(x, 0.0f);
    for (int i = 1; i < steps; ++i)
        x = std::nextafter(x, 0.0f);
    return x;
}

TEST(MeasureFormat, EngineeringNotation) {
    struct Case {
        const char* unit;
        std::optional<float> x;
        const char* text;
    };
    const Case cases[] = {
        {"V", 0.0123f, "12.3 mV"},
        {"Hz", 1500.0f, "1.5 KHz"},
        {"V", -0.5f, "-500.0 mV"},
        {"s", 2.5e-7f, "250.0 ns"},
        {"V", 0.0f, "0.0 V"},
        {"V", 1e-13f, "0.0 V"},
        {"Hz", 2.5e9f, "2.5 GHz"},
        {"V", 3e-12f, "3.0 pV"},
        // Single precision lifts the largest float under 1 µ to 1000 n: it reads 1.0 µ.
        {"s", justUnder(1e-6), "1.0 \u00b5s"},
        // The next float down stays under 1000 n and prints as 1000.0 n.
        {"s", justUnder(1e-6, 2), "1000.0 ns"},
        {"V", std::numeric_limits<float>::infinity(), "---"},
        {"V", std::nanf(""), "---"},
        {"V", std::nullopt, "---"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreCalcValue(c.unit, c.x), c.text) << c.text;
    EXPECT_EQ(PreCalcValue("V", 0.0123f, ','), "12,3 mV");
    EXPECT_EQ(percentText(50.0), "50.00 %");
    EXPECT_EQ(percentText(-7.126, ','), "-7,13 %");
    EXPECT_EQ(phaseText(12.34), "12.3 \u00b0");
    EXPECT_EQ(phaseText(std::nullopt), "---");
}

// One channel with 1 V per division, probe factor 1, and a 500-sample period at time
// index 13 (1 µs per sample).
MeasureCopy oneChannel() {
    MeasureCopy copy;
    copy.ChannelMode = 4;
    copy.ChannelOn = {true, false, false, false};
    copy.TimebaseIndex = 7;
    copy.ZoomIndex = 6;
    copy.ShotLength = 4000;
    MeasureChannel& c = copy.Channels[0];
    c.VoltsPerDivIndex = 9;
    c.ProbeIndex = 3;
    c.Z = 200;
    c.Min = 152; // the highest voltage: one division above zero
    c.Max = 200;
    c.Mid = 176;
    c.Top = 152;
    c.Base = 200;
    c.AvgSum = 0;
    c.AvgCount = 500;
    c.Rise1 = {90, 100, 110};
    c.Fall1 = {360, 350, 340};
    c.Rise2 = {590, 600, 610};
    c.Fall2 = {860, 850, 840};
    return copy;
}

std::string cell(const MeasureCellTable& cells, int channel, const char* caption) {
    for (int r = 0; r < kMeasureRows; ++r)
        if (kMeasureCaptions[std::size_t(r)] == caption)
            return cells[std::size_t(channel)][std::size_t(r)];
    ADD_FAILURE() << "no row " << caption;
    return {};
}

TEST(MeasureSignal, RowsOfAKnownChannel) {
    MeasureCellTable cells;
    MeasureSignal(oneChannel(), cells);
    const std::pair<const char*, const char*> rows[] = {
        {"Vpp", "1.0 V"},
        {"Vmax", "1.0 V"},
        {"Vmin", "0.0 V"},
        {"Vavg", "500.0 mV"},
        {"Vtamp", "1.0 V"},
        {"Vtop", "1.0 V"},
        {"Vbase", "0.0 V"},
        {"Vrms", "687.5 mV"},
        {"Vover", "0.00 %"},
        {"Vpre", "0.00 %"},
        {"Frequency", "2.0 KHz"},
        {"Rise Time", "20.0 \u00b5s"},
        {"Fall Time", "20.0 \u00b5s"},
        {"Period", "500.0 \u00b5s"},
        {"+ Pulse Width", "250.0 \u00b5s"},
        {" - Pulse Width", "250.0 \u00b5s"},
        {"+ Duty", "50.00 %"},
        {" - Duty", "50.00 %"},
        {"Phase", "  XXXXXXXXX"},
        {"+/- Delay", "  XXXXXXXXX"},
    };
    for (const auto& [caption, text] : rows)
        EXPECT_EQ(cell(cells, 0, caption), text) << caption;
    for (int k = 1; k < kChannels; ++k)
        EXPECT_EQ(cells[std::size_t(k)][0], "") << "channel off";

    MeasureCopy slower = oneChannel();
    slower.ZoomIndex = 12; // e = 19: 100 µs per sample
    slower.Channels[0].Rise2 = {190, 200, 210};
    MeasureSignal(slower, cells);
    EXPECT_EQ(cell(cells, 0, "Period"), "10.0 ms");
    EXPECT_EQ(cell(cells, 0, "Frequency"), "100.0 Hz");
}

TEST(MeasureSignal, ShotsWithoutAValueShowOneTextAndNeverGarbage) {
    struct Case {
        const char* name;
        std::function<void(MeasureCopy&)> change;
        std::vector<const char*> noValue;
    };
    const Case cases[] = {
        {"no complete cycle", [](MeasureCopy& c) { c.Channels[0].AvgCount = 0; }, {"Vavg"}},
        {"crossings that never came",
         [](MeasureCopy& c) {
             c.Channels[0].Rise2 = {4000, 4000, 4000};
             c.Channels[0].Fall2 = {-1, -1, -1};
             c.Channels[0].Fall1 = {4000, 4000, 4000};
         },
         {"Frequency", "Period", "Fall Time", "+ Pulse Width", " - Pulse Width", "+ Duty", " - Duty"}},
        {"a zero period",
         [](MeasureCopy& c) { c.Channels[0].Rise2 = c.Channels[0].Rise1; },
         {"Frequency", "+ Duty", " - Duty"}},
        {"volts index past the table",
         [](MeasureCopy& c) { c.Channels[0].VoltsPerDivIndex = 12; },
         {"Vpp", "Vmax", "Vmin", "Vavg", "Vtamp", "Vtop", "Vbase", "Vrms"}},
        {"probe index past the table",
         [](MeasureCopy& c) { c.Channels[0].ProbeIndex = 4294967295; },
         {"Vpp", "Vrms"}},
        {"time index past the table",
         [](MeasureCopy& c) { c.ZoomIndex = 25; },
         {"Frequency", "Rise Time", "Fall Time", "Period", "+ Pulse Width", " - Pulse Width"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MeasureCopy copy = oneChannel();
        c.change(copy);
        MeasureCellTable cells;
        MeasureSignal(copy, cells);
        for (const char* caption : c.noValue)
            EXPECT_EQ(cell(cells, 0, caption), "---") << caption;
        for (const std::string& text : cells[0]) {
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(text.find("inf"), std::string::npos) << text;
            EXPECT_EQ(text.find("nan"), std::string::npos) << text;
        }
    }

    // Without a positive amplitude, overshoot and preshoot keep their earlier texts.
    MeasureCopy flat = oneChannel();
    flat.Channels[0].Top = flat.Channels[0].Base;
    MeasureCellTable cells;
    cells[0][8] = "earlier";
    cells[0][9] = "earlier";
    MeasureSignal(flat, cells);
    EXPECT_EQ(cell(cells, 0, "Vover"), "earlier");
    EXPECT_EQ(cell(cells, 0, "Vpre"), "earlier");
}

// A square wave through the transfer and its analysis, measured on two channels.
TEST(MeasureSignal, ASquareWaveMeasuredAgainstItselfEndToEnd) {
    ShotBench bench;
    bench.state.WindowStart = 4060 - 2000;
    bench.state.TimebaseIndex = 7;
    bench.state.TimebaseOffset = 6;
    bench.state.ReferenceLevels = {10, 50, 90};
    const auto square = [](int i) { return (i / 250) % 2 == 0 ? 160 : 112; };
    for (int k = 1; k <= 4; ++k)
        bench.fill(k, square);
    bench.transfer();

    MeasureCellTable cells;
    MeasureSignal(takeMeasureCopy(bench.record), cells);
    for (int k : {0, 1}) {
        SCOPED_TRACE(k);
        EXPECT_EQ(cell(cells, k, "Vpp"), "2.0 V");
        EXPECT_EQ(cell(cells, k, "+ Duty"), "50.00 %");
        EXPECT_EQ(cell(cells, k, " - Duty"), "50.00 %");
        EXPECT_EQ(cell(cells, k, "Vover"), "0.00 %");
        EXPECT_EQ(cell(cells, k, "Vpre"), "0.00 %");
        EXPECT_EQ(cell(cells, k, "Period"), "500.0 \u00b5s");
    }
    EXPECT_EQ(cell(cells, 1, "Phase"), "0.0 \u00b0");
    for (const char* delay : {"+ Delay", " - Delay"})
        EXPECT_EQ(cell(cells, 1, delay), "0.0 s") << delay;
    EXPECT_EQ(cell(cells, 0, "+ Delay"), "  XXXXXXXXX");
}

TEST(MeasureLayout, ShownChannelsDecideSizesAndPlaces) {
    MeasureCellTable cells;
    for (auto& column : cells)
        column.fill("v");
    struct Case {
        const char* name;
        int mode;
        std::array<bool, 4> on;
        std::vector<int> shown;
        std::vector<std::pair<std::string_view, int>> headings; // after "Measure"
        std::vector<int> valueColumns;
        bool phaseRows;
    };
    const Case cases[] = {
        {"channel I alone", 4, {true, false, false, false}, {0}, {{"Channel I", 91}}, {125}, false},
        {"channels I and III",
         4,
         {true, false, true, false},
         {0, 2},
         {{"Channel I", 91}, {"Channel III", 212}},
         {125, 246},
         true},
        {"channels II and IV",
         4,
         {false, true, false, true},
         {1, 3},
         {{"Channel II", 91}, {"Channel IV", 212}},
         {125, 246},
         false},
        {"a two-channel shot",
         2,
         {true, true, true, true},
         {0, 1},
         {{"Channel I", 91}, {"Channel II", 212}},
         {125, 246},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MeasureCopy copy;
        copy.ChannelMode = c.mode;
        copy.ChannelOn = c.on;
        const std::vector<int> shown = shownChannels(copy);
        EXPECT_EQ(shown, c.shown);
        const auto heading = headingTexts(shown);
        ASSERT_EQ(heading.size(), c.headings.size() + 1);
        for (std::size_t i = 0; i < c.headings.size(); ++i) {
            EXPECT_EQ(heading[i + 1].text, c.headings[i].first);
            EXPECT_EQ(heading[i + 1].x, c.headings[i].second);
        }
        const auto texts = tableTexts(shown, cells);
        const std::size_t rows = c.phaseRows ? kMeasureRows : kFirstPhaseRow;
        EXPECT_EQ(texts.size(), kMeasureRows + rows * shown.size());
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_EQ(texts[kMeasureRows + rows * i].x, c.valueColumns[i]);
    }
    EXPECT_EQ(measureSizes(1)->windowHeight, 440);
    EXPECT_EQ(measureSizes(1)->windowWidth, 330);
    EXPECT_EQ(measureSizes(4)->gridWidth, 605);
    EXPECT_FALSE(measureSizes(0));
    EXPECT_EQ(tableRows(1).back(), 17 * 21);
    EXPECT_EQ(headingSeparators(4), (std::vector<int>{68, 189, 310, 431}));
}

} // namespace
} // namespace kavlon
