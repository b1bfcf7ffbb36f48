#include "ShotTestSupport.h"

#include "core/measure/MeasureFormat.h"
#include "core/measure/MeasureLayout.h"
#include "core/measure/MeasureResults.h"
#include "core/measure/MeasureSignal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>

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
        // Below the smallest prefix a value reads as zero, never as a negative one.
        {"V", -1e-13f, "0.0 V"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreCalcValue(c.unit, c.x), c.text) << c.text;
    EXPECT_EQ(PreCalcValue("V", 0.0123f, ','), "12,3 mV");
    EXPECT_EQ(percentText(50.0), "50.00 %");
    EXPECT_EQ(percentText(-7.126, ','), "-7,13 %");
    EXPECT_EQ(phaseText(12.34), "12.3 \u00b0");
    EXPECT_EQ(phaseText(std::nullopt), "---");
    // 100 - (100 / 11) * 11 in double precision is -1.4e-14.
    EXPECT_EQ(percentText(-1.4e-14), "0.00 %");
    EXPECT_EQ(percentText(-0.004, ','), "0,00 %");
    EXPECT_EQ(phaseText(-0.04), "0.0 \u00b0");
    EXPECT_EQ(phaseText(-0.06), "-0.1 \u00b0");
}

TEST(MeasureFormat, NumbersReadInTheirRowsUnits) {
    struct Case {
        MeasureUnit unit;
        std::optional<double> value;
        const char* text;
    };
    const Case cases[] = {
        {MeasureUnit::Volt, 0.0123, "12.3 mV"},   {MeasureUnit::Second, 2.5e-7, "250.0 ns"},
        {MeasureUnit::Hertz, 1500, "1.5 KHz"},    {MeasureUnit::Percent, 15.625, "15.62 %"},
        {MeasureUnit::Degree, 36, "36.0 \u00b0"}, {MeasureUnit::Second, std::nullopt, "---"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(measureText(c.unit, c.value), c.text) << c.text;
    EXPECT_EQ(resultText({0.5, MeasureUnit::Volt, MeasureState::Defined}, ','), "500,0 mV");
    EXPECT_EQ(resultText({0.5, MeasureUnit::Volt, MeasureState::Undefined}), "---");
    EXPECT_EQ(resultText({0.0, MeasureUnit::Degree, MeasureState::Reference}), "  XXXXXXXXX");
    EXPECT_FALSE(resultText({0.0, MeasureUnit::Percent, MeasureState::Kept}));
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

using CopyChange = std::function<void(MeasureCopy&)>;

MeasureCopy changed(const CopyChange& change) {
    MeasureCopy copy = oneChannel();
    change(copy);
    return copy;
}

std::string cell(const MeasureCellTable& cells, int channel, const char* caption) {
    for (int r = 0; r < kMeasureRows; ++r)
        if (kMeasureCaptions[std::size_t(r)] == caption)
            return cells[std::size_t(channel)][std::size_t(r)];
    ADD_FAILURE() << "no row " << caption;
    return {};
}

// Channel II beside the channel of oneChannel(): twice its frequency, rising 50 samples later.
void addFasterChannelII(MeasureCopy& copy) {
    copy.ChannelOn[1] = true;
    MeasureChannel& c = copy.Channels[1];
    c = copy.Channels[0];
    c.Rise1 = {140, 150, 160};
    c.Fall1 = {285, 275, 265};
    c.Rise2 = {390, 400, 410};
    c.Fall2 = {535, 525, 515};
}

struct RowsCase {
    const char* name;
    CopyChange change;
    int channel;
    std::vector<std::pair<const char*, const char*>> rows;
};

std::vector<RowsCase> rowsCases() {
    const auto pulse = [](int period, int high) {
        return [period, high](MeasureCopy& copy) {
            MeasureChannel& c = copy.Channels[0];
            c.Fall1 = {100 + high + 10, 100 + high, 100 + high - 10};
            c.Rise2 = {100 + period - 10, 100 + period, 100 + period + 10};
        };
    };
    return {
        {"a known channel",
         [](MeasureCopy&) {},
         0,
         {
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
         }},
        {"100 \u00b5s per sample",
         [](MeasureCopy& copy) {
             copy.ZoomIndex = 12; // e = 19
             copy.Channels[0].Rise2 = {190, 200, 210};
         },
         0,
         {{"Period", "10.0 ms"}, {"Frequency", "100.0 Hz"}}},
        {"the fastest timebase",
         [](MeasureCopy& copy) {
             copy.TimebaseIndex = 0;
             copy.ZoomIndex = 0;
             copy.Channels[0].Rise2 = {110, 120, 130};
         },
         0,
         {{"Period", "800.0 ps"}, {"Frequency", "1.2 GHz"}}},
        {"a fall slower than the rise",
         [](MeasureCopy& copy) {
             copy.Channels[0].Fall1 = {380, 350, 335};
         },
         0,
         {{"Rise Time", "20.0 \u00b5s"}, {"Fall Time", "45.0 \u00b5s"}}},
        {"overshoot and preshoot",
         [](MeasureCopy& copy) {
             copy.Channels[0].Min = 140; // 12 units over the top
             copy.Channels[0].Max = 206; // 6 units under the base
         },
         0,
         {{"Vover", "25.00 %"}, {"Vpre", "12.50 %"}, {"Vtamp", "1.0 V"}}},
        {"a mean between whole units is truncated",
         [](MeasureCopy& copy) { copy.Channels[0].AvgSum = 5, copy.Channels[0].AvgCount = 3; }, // 20.67
         0,
         {{"Vavg", "416.7 mV"}}},
        {"a negative mean is truncated toward zero",
         [](MeasureCopy& copy) {
             copy.Channels[0].Z = 150;
             copy.Channels[0].AvgSum = 1, copy.Channels[0].AvgCount = 3; // -26.67
         },
         0,
         {{"Vavg", "-541.7 mV"}}},
        {"a narrow pulse",
         pulse(96, 15),
         0,
         {{"+ Pulse Width", "15.0 \u00b5s"},
          {" - Pulse Width", "81.0 \u00b5s"},
          {"+ Duty", "15.62 %"},
          {" - Duty", "84.38 %"}}},
        // 100 - (100 / 11) * 11 falls just under zero in double precision, and with 21 in
        // extended precision too.
        {"high for the whole period of 11",
         pulse(11, 11),
         0,
         {{"+ Duty", "100.00 %"}, {" - Duty", "0.00 %"}}},
        {"high for the whole period of 21",
         pulse(21, 21),
         0,
         {{"+ Duty", "100.00 %"}, {" - Duty", "0.00 %"}}},
        {"channel II at twice channel I's frequency",
         addFasterChannelII,
         1,
         {{"Period", "250.0 \u00b5s"},
          {"Phase", "36.0 \u00b0"},
          {"+ Delay", "50.0 \u00b5s"},
          {" - Delay", "-75.0 \u00b5s"},
          {"+/- Delay", "175.0 \u00b5s"}}},
    };
}

TEST(MeasureSignal, RowsOfKnownChannels) {
    for (const RowsCase& c : rowsCases()) {
        SCOPED_TRACE(c.name);
        const MeasureCopy copy = changed(c.change);
        MeasureCellTable cells;
        MeasureSignal(copy, cells);
        for (const auto& [caption, text] : c.rows)
            EXPECT_EQ(cell(cells, c.channel, caption), text) << caption;
        for (int k = 0; k < kChannels; ++k)
            if (!copy.ChannelOn[std::size_t(k)]) {
                EXPECT_EQ(cells[std::size_t(k)][0], "") << "channel off";
            }
    }
}

struct NoValueCase {
    const char* name;
    CopyChange change;
    std::vector<const char*> noValue;
    int channel = 0;
};

const std::vector<const char*> kTimeRows = {"Frequency",     "Rise Time",      "Fall Time", "Period",
                                            "+ Pulse Width", " - Pulse Width", "+ Duty",    " - Duty",
                                            "Phase",         "+ Delay",        " - Delay",  "+/- Delay"};

std::vector<NoValueCase> noValueCases() {
    return {
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
        // Channel III of a three-channel instrument is counted but never analysed: its
        // crossings are an earlier shot's, whether they lie inside this shot or not.
        {"a channel this shot did not analyse",
         [](MeasureCopy& c) {
             c.ChannelMode = 3;
             c.ChannelOn[2] = true;
             c.Channels[2] = c.Channels[0];
             c.Channels[2].Fall2 = {4000, 4000, 4000};
         },
         kTimeRows, 2},
        {"channel I off: no reference for the phase and delays",
         [](MeasureCopy& c) {
             addFasterChannelII(c);
             c.ChannelOn[0] = false;
         },
         {"Phase", "+ Delay", " - Delay", "+/- Delay"},
         1},
    };
}

TEST(MeasureSignal, ShotsWithoutAValueShowOneTextAndNeverGarbage) {
    for (const NoValueCase& c : noValueCases()) {
        SCOPED_TRACE(c.name);
        MeasureCellTable cells;
        MeasureSignal(changed(c.change), cells);
        for (const char* caption : c.noValue)
            EXPECT_EQ(cell(cells, c.channel, caption), "---") << caption;
        EXPECT_NE(cell(cells, c.channel, "Vpp"), "") << "the channel was measured";
        for (const std::string& text : cells[std::size_t(c.channel)]) {
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

// A square wave of a 500-sample period on every channel, 2000 samples at 1 µs each,
// through the transfer and its analysis.
void takeSquareShot(ShotBench& bench) {
    bench.state.WindowStart = 4060 - 2000;
    bench.state.TimebaseIndex = 7;
    bench.state.TimebaseOffset = 6;
    bench.state.ReferenceLevels = {10, 50, 90};
    const auto square = [](int i) { return (i / 250) % 2 == 0 ? 160 : 112; };
    for (int k = 1; k <= 4; ++k)
        bench.fill(k, square);
    bench.transfer();
}

// A square wave through the transfer and its analysis, measured on two channels.
TEST(MeasureSignal, ASquareWaveMeasuredAgainstItselfEndToEnd) {
    ShotBench bench;
    takeSquareShot(bench);

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

    // The next shot comes from a three-channel instrument, which has channel III
    // counted but not analysed: the crossings it still holds are the shot before's.
    bench.state.ChannelCount = 3;
    bench.fill(3, [](int i) { return (i / 50) % 2 == 0 ? 150 : 120; });
    bench.transfer();
    MeasureSignal(takeMeasureCopy(bench.record), cells);
    EXPECT_EQ(cell(cells, 2, "Vpp"), "1.2 V") << "counted in this shot";
    for (const char* row : kTimeRows)
        EXPECT_EQ(cell(cells, 2, row), "---") << row;
    EXPECT_EQ(cell(cells, 1, "Period"), "500.0 \u00b5s");
}

// The number a cell's text stands for, in the row's base unit, and how far the
// rounding to its last digit may have moved it.
struct TextNumber {
    double value = 0.0;
    double rounding = 0.0;
};

std::optional<TextNumber> numberOf(const std::string& text, MeasureUnit unit) {
    static const std::map<std::string, double> prefixes = {{"G", 1e9},  {"M", 1e6},  {"K", 1e3},
                                                           {"", 1},     {"m", 1e-3}, {"\u00b5", 1e-6},
                                                           {"n", 1e-9}, {"p", 1e-12}};
    const auto blank = text.rfind(' ');
    const std::string_view name = unitText(unit);
    if (blank == std::string::npos || !text.ends_with(name))
        return std::nullopt;
    const auto prefix = prefixes.find(text.substr(blank + 1, text.size() - blank - 1 - name.size()));
    if (prefix == prefixes.end())
        return std::nullopt;
    const std::string number = text.substr(0, blank);
    const auto point = number.find('.');
    const int decimals = point == std::string::npos ? 0 : int(number.size() - point - 1);
    return TextNumber{std::stod(number) * prefix->second, 0.5 * std::pow(10.0, -decimals) * prefix->second};
}

TEST(MeasureResults, NumbersAndTextsAgree) {
    std::vector<std::pair<std::string, MeasureCopy>> shots;
    for (const RowsCase& c : rowsCases())
        shots.emplace_back(c.name, changed(c.change));
    for (const NoValueCase& c : noValueCases())
        shots.emplace_back(c.name, changed(c.change));
    shots.emplace_back("no amplitude",
                       changed([](MeasureCopy& c) { c.Channels[0].Top = c.Channels[0].Base; }));
    ShotBench bench;
    takeSquareShot(bench);
    shots.emplace_back("a square wave through the transfer", takeMeasureCopy(bench.record));

    for (const auto& [name, copy] : shots) {
        SCOPED_TRACE(name);
        const MeasureResults results = measureResults(copy);
        MeasureCellTable cells;
        for (auto& column : cells)
            column.fill("earlier");
        MeasureSignal(copy, cells);
        for (std::size_t k = 0; k < kChannels; ++k) {
            EXPECT_EQ(results[k].measured, copy.ChannelOn[k]);
            for (std::size_t r = 0; r < kMeasureRows; ++r) {
                SCOPED_TRACE(std::string(kMeasureCaptions[r]) + " of channel " + std::to_string(k + 1));
                const MeasureResult& result = results[k].rows[r];
                const std::string& text = cells[k][r];
                EXPECT_EQ(result.unit, kMeasureUnits[r]);
                if (result.defined()) {
                    EXPECT_EQ(result.value, double(float(result.value))) << "the float the text is made from";
                    const auto shown = numberOf(text, result.unit);
                    ASSERT_TRUE(shown) << text;
                    EXPECT_LE(std::fabs(result.value - shown->value),
                              shown->rounding * (1 + 1e-6) + 1e-7 * std::fabs(result.value))
                        << text << " for " << result.value;
                } else if (result.state == MeasureState::Reference) {
                    EXPECT_EQ(k, 0u);
                    EXPECT_EQ(text, kReferenceMark);
                } else {
                    const bool kept = result.state == MeasureState::Kept || !results[k].measured;
                    EXPECT_EQ(text, kept ? "earlier" : "---");
                    EXPECT_EQ(result.value, 0.0);
                }
            }
        }
    }
    // The units follow the rows.
    EXPECT_EQ(unitText(kMeasureUnits[0]), "V");
    EXPECT_EQ(unitText(kMeasureUnits[9]), "%");
    EXPECT_EQ(unitText(kMeasureUnits[10]), "Hz");
    EXPECT_EQ(unitText(kMeasureUnits[13]), "s");
    EXPECT_EQ(unitText(kMeasureUnits[18]), "\u00b0");
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
