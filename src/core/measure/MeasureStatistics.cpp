#include "core/measure/MeasureStatistics.h"

#include "core/measure/MeasureFormat.h"
#include "core/measure/MeasureLayout.h"

#include <algorithm>
#include <cmath>

namespace kavlon {

void RunningStatistic::add(double value) {
    ++m_count;
    const double before = value - m_mean;
    m_mean += before / double(m_count);
    m_squares += before * (value - m_mean);
    m_minimum = m_count == 1 ? value : std::min(m_minimum, value);
    m_maximum = m_count == 1 ? value : std::max(m_maximum, value);
}

std::optional<double> RunningStatistic::minimum() const {
    return m_count > 0 ? std::optional(m_minimum) : std::nullopt;
}

std::optional<double> RunningStatistic::maximum() const {
    return m_count > 0 ? std::optional(m_maximum) : std::nullopt;
}

std::optional<double> RunningStatistic::mean() const {
    return m_count > 0 ? std::optional(m_mean) : std::nullopt;
}

std::optional<double> RunningStatistic::deviation() const {
    if (m_count < 2)
        return std::nullopt;
    // Rounding can leave the sum a hair below zero for equal values.
    return std::sqrt(std::max(0.0, m_squares) / double(m_count - 1));
}

void MeasureStatistics::add(const MeasureResults& results, const std::vector<int>& shown) {
    ++m_shots;
    for (int k : shown) {
        if (k < 0 || k >= kChannels)
            continue;
        m_included[std::size_t(k)] = true;
        for (std::size_t r = 0; r < std::size_t(kMeasureRows); ++r) {
            const MeasureResult& result = results[std::size_t(k)].rows[r];
            RowStatistics& statistic = m_rows[std::size_t(k)][r];
            statistic.last = result;
            if (result.defined())
                statistic.values.add(result.value);
        }
    }
}

void MeasureStatistics::reset() {
    *this = MeasureStatistics{};
}

bool MeasureStatistics::includes(int channel) const {
    return channel >= 0 && channel < kChannels && m_included[std::size_t(channel)];
}

const RowStatistics& MeasureStatistics::row(int channel, int row) const {
    static const RowStatistics kEmpty{};
    if (channel < 0 || channel >= kChannels || row < 0 || row >= kMeasureRows)
        return kEmpty;
    return m_rows[std::size_t(channel)][std::size_t(row)];
}

std::vector<StatisticsLine> statisticsLines(const MeasureStatistics& statistics) {
    std::vector<StatisticsLine> lines;
    for (int k = 0; k < kChannels; ++k)
        if (statistics.includes(k))
            for (int r = 0; r < kMeasureRows; ++r)
                lines.push_back({k, r});
    return lines;
}

const std::array<std::string_view, kStatisticsColumns> kStatisticsHeadings = {
    "Measurement", "Channel", "Last", "Minimum", "Maximum", "Mean", "Std. deviation", "Shots defined"};

namespace {

std::string_view withoutLeadingBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The last shot's cell; the reference mark's blanks only lined it up in the drawn table.
std::string lastText(const MeasureResult& last, char decimalSeparator) {
    return last.state == MeasureState::Reference
               ? std::string(withoutLeadingBlanks(kReferenceMark))
               : resultText(last, decimalSeparator).value_or(std::string(kNoValue));
}

} // namespace

std::string statisticsText(const MeasureStatistics& statistics, const StatisticsLine& line,
                           StatisticsColumn column, char decimalSeparator) {
    const RowStatistics& s = statistics.row(line.channel, line.row);
    const auto row = std::size_t(std::clamp(line.row, 0, kMeasureRows - 1));
    const MeasureUnit unit = kMeasureUnits[row];
    const auto number = [&](std::optional<double> value) {
        return measureText(unit, value, decimalSeparator);
    };
    switch (column) {
    case StatisticsColumn::Measurement:
        return std::string(withoutLeadingBlanks(kMeasureCaptions[row]));
    case StatisticsColumn::Channel:
        return std::string(kMeasureChannelNames[std::size_t(std::clamp(line.channel, 0, kChannels - 1))]);
    case StatisticsColumn::Last:
        return lastText(s.last, decimalSeparator);
    case StatisticsColumn::Minimum:
        return number(s.values.minimum());
    case StatisticsColumn::Maximum:
        return number(s.values.maximum());
    case StatisticsColumn::Mean:
        return number(s.values.mean());
    case StatisticsColumn::Deviation:
        return number(s.values.deviation());
    case StatisticsColumn::Count:
        return std::to_string(s.values.count());
    }
    return {};
}

std::string statisticsTabText(const MeasureStatistics& statistics, char decimalSeparator) {
    std::string text;
    const auto addLine = [&text](const auto& cell) {
        for (int c = 0; c < kStatisticsColumns; ++c) {
            if (c > 0)
                text += '\t';
            text += cell(c);
        }
        text += '\n';
    };
    addLine([](int c) { return std::string(kStatisticsHeadings[std::size_t(c)]); });
    for (const StatisticsLine& line : statisticsLines(statistics))
        addLine(
            [&](int c) { return statisticsText(statistics, line, StatisticsColumn(c), decimalSeparator); });
    return text;
}

} // namespace kavlon
