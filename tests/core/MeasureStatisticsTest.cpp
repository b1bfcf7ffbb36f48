// The Measure display's statistics over shots: the arithmetic, the texts, the CSV.
#include "core/measure/MeasureStatistics.h"
#include "core/measure/MeasureTables.h"
#include "core/measure/StatisticsCsv.h"

#include "support/DataScript.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace kavlon {
namespace {

constexpr int kVpp = 0;
constexpr int kOvershoot = 8;
constexpr int kFrequency = 10;
constexpr int kPhase = kFirstPhaseRow;

struct Value {
    int channel;
    int row;
    double value;
};

// A shot's results: every row of the measured channels undefined but the given ones,
// channel I's phase and delay rows the reference, as the measurement leaves them.
MeasureResults shot(std::initializer_list<int> measured, std::initializer_list<Value> values) {
    MeasureResults results{};
    for (int k : measured) {
        ChannelResults& channel = results[std::size_t(k)];
        channel.measured = true;
        for (int r = 0; r < kMeasureRows; ++r) {
            MeasureResult& row = channel.rows[std::size_t(r)];
            row.unit = kMeasureUnits[std::size_t(r)];
            row.state = k == 0 && r >= kFirstPhaseRow ? MeasureState::Reference : MeasureState::Undefined;
        }
    }
    for (const Value& v : values) {
        MeasureResult& row = results[std::size_t(v.channel)].rows[std::size_t(v.row)];
        row.value = v.value;
        row.state = MeasureState::Defined;
    }
    return results;
}

TEST(RunningStatistic, MeanAndDeviationKeepTheirDigits) {
    struct Case {
        const char* name;
        std::vector<double> values;
        std::optional<double> minimum, maximum, mean, deviation;
        double tolerance;
    };
    const double big = 1e9;
    // clang-format off
    const Case cases[] = {
        {"no value", {}, {}, {}, {}, {}, 0},
        {"one value has no spread yet", {2.5}, 2.5, 2.5, 2.5, {}, 0},
        // Deviations -4/3, -1/3, 5/3: squares 42/9, over n - 1 = 2 gives 7/3.
        {"by hand", {1, 2, 4}, 1, 4, 7.0 / 3, std::sqrt(7.0 / 3), 1e-15},
        {"equal values spread nothing", {0.1, 0.1, 0.1}, 0.1, 0.1, 0.1, 0.0, 0},
        // A plain sum of squares works at 4e18, where a step is 512: no digit of 30 survives.
        {"1e9 and a little noise", {big + 4, big + 7, big + 13, big + 16}, big + 4, big + 16, big + 10,
         std::sqrt(30.0), 1e-6},
        {"1e9 and a thousandth", {big + 0.001, big + 0.002, big + 0.003}, big + 0.001, big + 0.003, big + 0.002,
         0.001, 1e-6},
        {"below zero", {-3, -1}, -3, -1, -2, std::sqrt(2.0), 1e-15},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunningStatistic s;
        for (double v : c.values)
            s.add(v);
        EXPECT_EQ(s.count(), c.values.size());
        EXPECT_EQ(s.minimum(), c.minimum);
        EXPECT_EQ(s.maximum(), c.maximum);
        ASSERT_EQ(s.mean().has_value(), c.mean.has_value());
        ASSERT_EQ(s.deviation().has_value(), c.deviation.has_value());
        if (c.mean) {
            EXPECT_NEAR(*s.mean(), *c.mean, c.tolerance);
        }
        if (c.deviation) {
            EXPECT_NEAR(*s.deviation(), *c.deviation, c.tolerance);
        }
    }
}

// Three shots of channels I and II: Vpp 1, 2, 4 V on channel I; the frequency of
// channel II defined in the first and third shots only; channel II's overshoot never.
MeasureStatistics knownSeries() {
    MeasureStatistics s;
    s.add(shot({0, 1}, {{0, kVpp, 1.0}, {1, kFrequency, 1000.0}, {1, kPhase, 90.0}}), {0, 1});
    s.add(shot({0, 1}, {{0, kVpp, 2.0}, {1, kPhase, 45.0}}), {0, 1});
    s.add(shot({0, 1}, {{0, kVpp, 4.0}, {1, kFrequency, 3000.0}}), {0, 1});
    return s;
}

TEST(MeasureStatistics, AKnownSeriesGivesTheHandComputedTexts) {
    const MeasureStatistics s = knownSeries();
    EXPECT_EQ(s.shots(), 3u);
    using enum StatisticsColumn;
    struct Case {
        StatisticsLine line;
        std::array<const char*, kStatisticsColumns> cells;
    };
    // clang-format off
    const Case cases[] = {
        // Mean 7/3, deviation sqrt(7/3) = 1.53.
        {{0, kVpp}, {"Vpp", "Channel I", "4.0 V", "1.0 V", "4.0 V", "2.3 V", "1.5 V", "3"}},
        // Mean 2000, deviation sqrt(2e6) = 1414; the last shot defined it.
        {{1, kFrequency}, {"Frequency", "Channel II", "3.0 KHz", "1.0 KHz", "3.0 KHz", "2.0 KHz", "1.4 KHz", "2"}},
        // Defined in two shots, but not in the last one.
        {{1, kPhase}, {"Phase", "Channel II", "---", "45.0 \u00b0", "90.0 \u00b0", "67.5 \u00b0", "31.8 \u00b0", "2"}},
        {{1, kOvershoot}, {"Vover", "Channel II", "---", "---", "---", "---", "---", "0"}},
        {{0, kPhase}, {"Phase", "Channel I", "XXXXXXXXX", "---", "---", "---", "---", "0"}},
        {{1, 15}, {"- Pulse Width", "Channel II", "---", "---", "---", "---", "---", "0"}},
    };
    // clang-format on
    for (const Case& c : cases)
        for (int col = 0; col < kStatisticsColumns; ++col)
            EXPECT_EQ(statisticsText(s, c.line, StatisticsColumn(col)), c.cells[std::size_t(col)])
                << c.line.channel << "/" << c.line.row << " column " << col;
    // The locale's decimal mark reaches every number, and only numbers.
    EXPECT_EQ(statisticsText(s, {0, kVpp}, Mean, ','), "2,3 V");
    EXPECT_EQ(statisticsText(s, {1, kFrequency}, Count, ','), "2");
}

TEST(MeasureStatistics, OnlyShownChannelsCountAndResetStartsAgain) {
    MeasureStatistics s;
    // Channel III measured in a two-channel shot is not shown, so not counted.
    s.add(shot({0, 2}, {{0, kVpp, 1.0}, {2, kVpp, 9.0}}), {0});
    s.add(shot({0, 2}, {{0, kVpp, 3.0}, {2, kVpp, 5.0}}), {0, 2});
    EXPECT_TRUE(s.includes(0));
    EXPECT_FALSE(s.includes(1));
    EXPECT_TRUE(s.includes(2));
    EXPECT_EQ(s.row(2, kVpp).values.count(), 1u);
    EXPECT_EQ(s.row(2, kVpp).values.maximum(), 5.0);
    EXPECT_EQ(s.row(0, kVpp).values.mean(), 2.0);
    const auto lines = statisticsLines(s);
    ASSERT_EQ(lines.size(), 2u * kMeasureRows);
    EXPECT_EQ(lines[kMeasureRows].channel, 2) << "channel by channel";
    EXPECT_EQ(lines[kMeasureRows].row, 0);

    s.reset();
    EXPECT_EQ(s.shots(), 0u);
    EXPECT_TRUE(statisticsLines(s).empty());
    EXPECT_EQ(s.row(0, kVpp).values.count(), 0u);
    s.add(shot({1}, {{1, kVpp, 7.0}}), {1});
    EXPECT_EQ(s.row(1, kVpp).values.minimum(), 7.0) << "nothing of before the reset";
    // Out of the table's range: an empty statistic, never a read past it.
    EXPECT_EQ(s.row(4, 0).values.count(), 0u);
    EXPECT_EQ(s.row(0, kMeasureRows).values.count(), 0u);
}

TEST(MeasureStatistics, TheClipboardTextIsTheTableWithTabs) {
    const std::string text = statisticsTabText(knownSeries());
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 1u + 2u * kMeasureRows);
    EXPECT_EQ(lines[0], "Measurement\tChannel\tLast\tMinimum\tMaximum\tMean\tStd. deviation\tShots defined");
    EXPECT_EQ(lines[1], "Vpp\tChannel I\t4.0 V\t1.0 V\t4.0 V\t2.3 V\t1.5 V\t3");
    EXPECT_EQ(text.back(), '\n');
}

// The reader's fields of a line; numbers compared within a last-digit rounding.
void expectLine(const std::string& line, const std::vector<std::string>& expected) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '|');)
        fields.push_back(field);
    ASSERT_EQ(fields.size(), expected.size()) << line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        char* end = nullptr;
        const double number = std::strtod(expected[i].c_str(), &end);
        if (i >= 3 && end != expected[i].c_str() && *end == 0) {
            EXPECT_NEAR(std::strtod(fields[i].c_str(), nullptr), number, 1e-12 * std::fabs(number)) << line;
        } else {
            EXPECT_EQ(fields[i], expected[i]) << line;
        }
    }
}

TEST(MeasureStatistics, TheCsvReadsBackInAnIndependentReader) {
    test::ScratchFolder folder;
    const auto path = folder.path() / "statistics.csv";
    ASSERT_TRUE(saveStatisticsCsv(path, knownSeries()).saved);
    const auto lines = test::dataScriptLines("read_statistics_csv.py", path);
    if (!lines)
        GTEST_SKIP() << "python3 is missing (scripts/deps installs it)";
    ASSERT_EQ(lines->size(), 1u + 2u * kMeasureRows);
    EXPECT_EQ((*lines)[0], "Measurement|Channel|Unit|Last|Minimum|Maximum|Mean|Std. deviation|Shots defined");
    expectLine((*lines)[1 + kVpp],
               {"Vpp", "Channel I", "V", "4", "1", "4", "2.333333333333333", "1.527525231651947", "3"});
    // The reference is no number.
    expectLine((*lines)[1 + kPhase], {"Phase", "Channel I", "\u00b0", "-", "-", "-", "-", "-", "0"});
    expectLine((*lines)[1 + kMeasureRows + kFrequency],
               {"Frequency", "Channel II", "Hz", "3000", "1000", "3000", "2000", "1414.213562373095", "2"});
    expectLine((*lines)[1 + kMeasureRows + 16], {"+ Duty", "Channel II", "%", "-", "-", "-", "-", "-", "0"});
}

} // namespace
} // namespace kavlon
