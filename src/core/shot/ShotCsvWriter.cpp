// A shot as CSV: the settings in '#' lines, a header row, one row per sample position.
#include "core/shot/ShotCsv.h"

#include "core/files/CsvRecords.h"
#include "core/shot/ShotFileFormat.h"

#include <charconv>

namespace kavlon {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void appendNumber(std::string& out, long long value) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end);
}

void appendSettings(std::string& out, const ShotRecord& record) {
    out += kShotFileMagic;
    out += ',';
    appendNumber(out, kShotFileVersion);
    out += kLineEnd;
    const SettingValues values = settingValues(record);
    std::size_t i = 0;
    for (const SettingLine& line : kSettingLines) {
        out += line.key;
        for (int k = 0; k < line.count; ++k) {
            out += ',';
            appendNumber(out, values[i++]);
        }
        out += kLineEnd;
    }
    out += kVoltsTextKey;
    for (const std::string& text : record.VoltsPerDivText) {
        out += ',';
        appendCsvField(out, text);
    }
    out += kLineEnd;
}

// A channel that was read but is off has no cells; its analysis counted its values all
// the same, and how often each came is all the shot keeps of them.
void appendValueCounts(std::string& out, const ShotRecord& record) {
    for (int c : countedChannels(record)) {
        out += kValueCountsKey;
        out += ',';
        appendNumber(out, c + 1);
        const auto& histogram = record.Analysis[std::size_t(c)].Histogram;
        for (int value = 0; value < 256; ++value)
            if (histogram[std::size_t(value)] != 0) {
                out += ',';
                appendNumber(out, value);
                out += ',';
                appendNumber(out, histogram[std::size_t(value)]);
            }
        out += kLineEnd;
    }
}

void appendRows(std::string& out, const ShotRecord& record) {
    const std::vector<int> channels = columnChannels(record);
    std::vector<VoltsTexts> volts;
    for (int c : channels)
        volts.push_back(voltsTexts(record, c));
    const int positions = shotExtent(record.TimebaseIndex, record.WindowStart).positions;
    out.reserve(out.size() + std::size_t(positions) * (8 + channels.size() * 26));
    for (int i = 0; i < positions; ++i) {
        appendNumber(out, i);
        for (std::size_t k = 0; k < channels.size(); ++k) {
            const int raw = record.Cells.rawValue(channels[k] + 1, i).value_or(0);
            out += ',';
            appendNumber(out, raw);
            out += ',';
            out += volts[k][std::size_t(raw)].view();
        }
        out += kLineEnd;
    }
}

} // namespace

std::string shotCsvText(const ShotRecord& record) {
    std::string out;
    appendSettings(out, record);
    appendValueCounts(out, record);
    const std::vector<std::string> header = headerFields(record);
    for (std::size_t k = 0; k < header.size(); ++k) {
        if (k > 0)
            out += ',';
        appendCsvField(out, header[k]);
    }
    out += kLineEnd;
    appendRows(out, record);
    return out;
}

SaveResult saveShotCsv(const std::filesystem::path& path, const ShotRecord& record, Existing existing,
                       const FileCalls& calls) {
    if (!record.HasShot)
        return {false, "the display holds no shot yet"};
    if (const auto problem = settingProblem(settingValues(record)))
        return {false, "the shot cannot be saved: its " + *problem};
    for (const std::string& text : record.VoltsPerDivText)
        if (const auto problem = voltsTextProblem(text))
            return {false, "the shot cannot be saved: " + *problem};
    return saveFileWhole(path, shotCsvText(record), existing, calls);
}

} // namespace kavlon
