#pragma once

#include "core/measure/MeasureResults.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon {

// Mean and spread of a series, taken one value at a time (Welford's update). The
// running sum of squares is kept about the running mean, so values far from zero that
// differ only a little (a 1 GHz line with hertz of jitter) keep their digits, where a
// plain sum of squares would cancel them all away.
class RunningStatistic {
public:
    void add(double value);

    std::size_t count() const { return m_count; }
    // Nothing before the first value.
    std::optional<double> minimum() const;
    std::optional<double> maximum() const;
    std::optional<double> mean() const;
    // The sample standard deviation (divided by n - 1): the spread a further shot is
    // expected to show. Nothing before the second value.
    std::optional<double> deviation() const;

private:
    std::size_t m_count = 0;
    double m_mean = 0.0;
    double m_squares = 0.0; // sum of squared distances from the running mean
    double m_minimum = 0.0;
    double m_maximum = 0.0;
};

// One measurement of one channel over the shots since the last reset.
struct RowStatistics {
    // The values of the shots that defined it.
    RunningStatistic values;
    // What the last shot that showed the channel said.
    MeasureResult last{};
};

// A Measure display's measurements over the shots it loaded since the last reset.
class MeasureStatistics {
public:
    // One shot's results; only the channels shown (0..3) count, as only they are seen.
    void add(const MeasureResults& results, const std::vector<int>& shown);
    void reset();

    std::uint64_t shots() const { return m_shots; }
    // The channel (0..3) was shown in at least one shot since the reset.
    bool includes(int channel) const;
    // Channel 0..3, row 0..21; out of range gives an empty statistic.
    const RowStatistics& row(int channel, int row) const;

private:
    std::array<std::array<RowStatistics, kMeasureRows>, kChannels> m_rows{};
    std::array<bool, kChannels> m_included{};
    std::uint64_t m_shots = 0;
};

// A line of the statistics table: one measurement of one channel.
struct StatisticsLine {
    int channel = 0; // 0..3
    int row = 0;     // 0..21
    bool operator==(const StatisticsLine&) const = default;
};
// Channel by channel, the 22 measurements of every channel the statistics include.
std::vector<StatisticsLine> statisticsLines(const MeasureStatistics& statistics);

enum class StatisticsColumn { Measurement, Channel, Last, Minimum, Maximum, Mean, Deviation, Count };
constexpr int kStatisticsColumns = 8;
extern const std::array<std::string_view, kStatisticsColumns> kStatisticsHeadings;

// A cell as the statistics window shows it: the numbers in the texts the Measure
// display gives numbers of the row's unit, kNoValue where there is none, the count plain.
std::string statisticsText(const MeasureStatistics& statistics, const StatisticsLine& line,
                           StatisticsColumn column, char decimalSeparator = '.');

// The whole table as the clipboard takes it: the headings, then a line per measurement
// and channel, cells separated by tabs, lines ended by LF.
std::string statisticsTabText(const MeasureStatistics& statistics, char decimalSeparator = '.');

} // namespace kavlon
