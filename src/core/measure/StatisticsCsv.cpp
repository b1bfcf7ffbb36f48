#include "core/measure/StatisticsCsv.h"

#include "core/files/CsvRecords.h"

#include <charconv>
#include <cmath>

namespace kavlon {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Shortest round trip, always with a point: to_chars ignores the locale.
void appendNumber(std::string& out, std::optional<double> value) {
    if (!value || !std::isfinite(*value))
        return;
    char digits[32];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, *value);
    if (ec == std::errc())
        out.append(digits, end);
}

// The window's headings, with the unit the numbers are in after the channel.
void appendHeadings(std::string& out) {
    for (int c = 0; c < kStatisticsColumns; ++c) {
        if (c > 0)
            out += ',';
        appendCsvField(out, kStatisticsHeadings[std::size_t(c)]);
        if (StatisticsColumn(c) == StatisticsColumn::Channel)
            out += ",Unit";
    }
    out += kLineEnd;
}

} // namespace

std::string statisticsCsv(const MeasureStatistics& statistics) {
    std::string out;
    appendHeadings(out);
    for (const StatisticsLine& line : statisticsLines(statistics)) {
        const RowStatistics& s = statistics.row(line.channel, line.row);
        appendCsvField(out, statisticsText(statistics, line, StatisticsColumn::Measurement));
        out += ',';
        appendCsvField(out, statisticsText(statistics, line, StatisticsColumn::Channel));
        out += ',';
        appendCsvField(out, unitText(kMeasureUnits[std::size_t(line.row)]));
        const std::optional<double> numbers[] = {
            s.last.defined() ? std::optional(s.last.value) : std::nullopt, s.values.minimum(),
            s.values.maximum(), s.values.mean(), s.values.deviation()};
        for (const auto& number : numbers) {
            out += ',';
            appendNumber(out, number);
        }
        out += ',';
        out += std::to_string(s.values.count());
        out += kLineEnd;
    }
    return out;
}

SaveResult saveStatisticsCsv(const std::filesystem::path& path, const MeasureStatistics& statistics,
                             const FileCalls& calls) {
    return saveFileWhole(path, statisticsCsv(statistics), Existing::Replace, calls);
}

} // namespace kavlon
