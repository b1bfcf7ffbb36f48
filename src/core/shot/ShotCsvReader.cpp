// Reads a shot file back into the state the instrument's trailer would have left, and
// hands that to the one transfer, so cells, labels and analysis come out as delivered.
#include "core/shot/ShotCsv.h"

#include "core/files/CsvRecords.h"
#include "core/files/FileReading.h"
#include "core/shot/ShotFileFormat.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>

namespace kavlon {

namespace {

std::optional<long long> wholeNumber(std::string_view text) {
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text.substr(0, 40)) + (text.size() > 40 ? "...\"" : "\"");
}

class ShotCsvReader {
public:
    explicit ShotCsvReader(std::string_view text) : m_csv(text) {}

    // The state for the transfer, or nothing with error() set.
    const AcquisitionState* read();
    const std::string& error() const { return m_error; }

private:
    bool fail(std::string what, bool withLine = true);
    bool nextRecord(std::string_view expected);
    bool readMagic();
    bool readSettingLines();
    bool takeSettingLine();
    bool takeNumbers(const SettingLine& line, std::size_t first);
    bool takeVoltsTexts();
    bool settleSettings();
    bool fillCountedChannels();
    bool fillCounts(int channel, const std::vector<std::string>& fields);
    bool readHeader();
    bool readRows();
    bool readRow(int sample, const std::vector<int>& channels, const std::vector<VoltsTexts>& volts);

    CsvRecords m_csv;
    std::vector<std::string> m_fields;
    std::string m_error;
    std::unique_ptr<AcquisitionState> m_state = std::make_unique<AcquisitionState>();
    ShotSettings m_settings;
    SettingValues m_values{};
    std::array<bool, kSettingLines.size()> m_seen{};
    bool m_seenVoltsTexts = false;
    std::vector<std::pair<int, std::vector<std::string>>> m_counts; // line, fields
    int m_positions = 0;
    // The line a deferred check is about, when it is not the record just read.
    int m_lineOverride = 0;
};

bool ShotCsvReader::fail(std::string what, bool withLine) {
    const int line = m_lineOverride != 0 ? m_lineOverride : m_csv.line();
    m_error = withLine ? "line " + std::to_string(line) + ": " + what : std::move(what);
    return false;
}

// The next record; at the end of the text, a failure that says what was expected.
bool ShotCsvReader::nextRecord(std::string_view expected) {
    if (m_csv.next(m_fields))
        return true;
    if (!m_csv.error().empty())
        return fail(m_csv.error(), false);
    return fail("the file ends before " + std::string(expected), false);
}

bool ShotCsvReader::readMagic() {
    if (!nextRecord("its first line") || m_fields[0] != kShotFileMagic || m_fields.size() != 2)
        return fail("not a KavlonPC shot file (its first line is not \"" + std::string(kShotFileMagic) +
                        ",<version>\")",
                    false);
    const auto version = wholeNumber(m_fields[1]);
    if (!version || *version < 1)
        return fail("the format version " + inQuotes(m_fields[1]) + " is no version number");
    if (*version > kShotFileVersion)
        return fail("format version " + std::to_string(*version) +
                    " is newer than this program reads (up to " + std::to_string(kShotFileVersion) + ")");
    return true;
}

bool ShotCsvReader::takeNumbers(const SettingLine& line, std::size_t first) {
    if (m_fields.size() != std::size_t(line.count) + 1)
        return fail(std::string(line.key.substr(2)) + " needs " + std::to_string(line.count) +
                    (line.count == 1 ? " value" : " values"));
    for (int k = 0; k < line.count; ++k) {
        const std::string& field = m_fields[std::size_t(k) + 1];
        const auto value = wholeNumber(field);
        if (!value)
            return fail(std::string(line.key.substr(2)) + ": " + inQuotes(field) + " is not a whole number");
        if (*value < line.lowest || *value > line.highest)
            return fail(std::string(line.key.substr(2)) + " " + field + " is outside " +
                        std::to_string(line.lowest) + ".." + std::to_string(line.highest));
        m_values[first + std::size_t(k)] = *value;
    }
    return true;
}

bool ShotCsvReader::takeVoltsTexts() {
    if (m_seenVoltsTexts)
        return fail("volts per div text appears twice");
    m_seenVoltsTexts = true;
    if (m_fields.size() != kChannels + 1)
        return fail("volts per div text needs " + std::to_string(kChannels) + " texts");
    for (std::size_t c = 0; c < kChannels; ++c) {
        if (const auto problem = voltsTextProblem(m_fields[c + 1]))
            return fail(*problem);
        m_state->VoltsPerDivText[c] = m_fields[c + 1];
    }
    return true;
}

bool ShotCsvReader::takeSettingLine() {
    const std::string& key = m_fields[0];
    if (key == kVoltsTextKey)
        return takeVoltsTexts();
    if (key == kValueCountsKey) {
        if (m_counts.size() == kChannels)
            return fail("more value counts lines than channels");
        m_counts.emplace_back(m_csv.line(), m_fields);
        return true;
    }
    std::size_t first = 0;
    for (std::size_t i = 0; i < kSettingLines.size(); first += std::size_t(kSettingLines[i++].count)) {
        if (key != kSettingLines[i].key)
            continue;
        if (m_seen[i])
            return fail(std::string(key.substr(2)) + " appears twice");
        m_seen[i] = true;
        return takeNumbers(kSettingLines[i], first);
    }
    return fail("unknown setting " + inQuotes(key));
}

// The '#' lines up to the header row, which is left in m_fields.
bool ShotCsvReader::readSettingLines() {
    for (;;) {
        if (!nextRecord("its header row"))
            return false;
        if (m_fields[0].empty() || m_fields[0][0] != '#')
            return true;
        if (!takeSettingLine())
            return false;
    }
}

bool ShotCsvReader::settleSettings() {
    for (std::size_t i = 0; i < kSettingLines.size(); ++i)
        if (!m_seen[i])
            return fail("setting " + inQuotes(kSettingLines[i].key.substr(2)) +
                        " is missing before the header row");
    if (!m_seenVoltsTexts)
        return fail("setting \"volts per div text\" is missing before the header row");
    if (const auto problem = settingProblem(m_values))
        return fail(*problem, false);
    applySettingValues(m_values, *m_state);
    copyShotSettings(*m_state, m_settings);
    m_positions = shotExtent(m_state->TimebaseIndex, m_state->WindowStart).positions;
    return fillCountedChannels();
}

bool ShotCsvReader::fillCounts(int channel, const std::vector<std::string>& fields) {
    if (fields.size() % 2 != 0)
        return fail("value counts of channel " + std::to_string(channel + 1) +
                    " need pairs of value and count");
    auto block = m_state->DisplaySamples(channel);
    long long total = 0;
    long long previous = -1;
    for (std::size_t i = 2; i < fields.size(); i += 2) {
        const auto value = wholeNumber(fields[i]);
        const auto count = wholeNumber(fields[i + 1]);
        if (!value || *value <= previous || *value > 255)
            return fail("value counts: " + inQuotes(fields[i]) +
                        " is no raw value 0..255 above the one before");
        if (!count || *count < 1 || *count > m_positions - total)
            return fail("value counts: " + inQuotes(fields[i + 1]) + " does not fit the shot's " +
                        std::to_string(m_positions) + " samples");
        // Only the counts matter for a channel that is off, so any order of the values will do.
        std::fill_n(block.begin() + total, *count, std::uint8_t(*value));
        total += *count;
        previous = *value;
    }
    if (total != m_positions)
        return fail("value counts of channel " + std::to_string(channel + 1) + " add up to " +
                    std::to_string(total) + ", not the shot's " + std::to_string(m_positions) + " samples");
    return true;
}

bool ShotCsvReader::fillCountedChannels() {
    const std::vector<int> counted = countedChannels(m_settings);
    std::vector<bool> filled(kChannels, false);
    for (const auto& [line, fields] : m_counts) {
        m_lineOverride = line;
        const auto channel = fields.size() > 1 ? wholeNumber(fields[1]) : std::nullopt;
        if (!channel || std::find(counted.begin(), counted.end(), *channel - 1) == counted.end())
            return fail("value counts are only for a channel that was read but is off");
        if (filled[std::size_t(*channel - 1)])
            return fail("value counts of channel " + fields[1] + " appear twice");
        filled[std::size_t(*channel - 1)] = true;
        if (!fillCounts(int(*channel - 1), fields))
            return false;
    }
    m_lineOverride = 0;
    for (int c : counted)
        if (!filled[std::size_t(c)])
            return fail("value counts of channel " + std::to_string(c + 1) + " (read but off) are missing");
    return true;
}

bool ShotCsvReader::readHeader() {
    const std::vector<std::string> expected = headerFields(m_settings);
    if (m_fields == expected)
        return true;
    std::string row;
    for (const std::string& field : expected)
        row += (row.empty() ? "" : ",") + field;
    return fail("the header row should be \"" + row + "\" for the channels that are on");
}

bool ShotCsvReader::readRow(int sample, const std::vector<int>& channels,
                            const std::vector<VoltsTexts>& volts) {
    if (m_fields.size() != 1 + 2 * channels.size())
        return fail("a sample row needs " + std::to_string(1 + 2 * channels.size()) + " fields, not " +
                    std::to_string(m_fields.size()));
    if (wholeNumber(m_fields[0]) != sample)
        return fail("sample number " + inQuotes(m_fields[0]) + " where " + std::to_string(sample) +
                    " belongs");
    for (std::size_t k = 0; k < channels.size(); ++k) {
        const std::string& rawText = m_fields[1 + 2 * k];
        const auto raw = wholeNumber(rawText);
        if (!raw || *raw < 0 || *raw > 255)
            return fail("raw value " + inQuotes(rawText) + " is outside 0..255");
        // The volts follow from the raw value; a file edited in one and not the other is refused.
        if (m_fields[2 + 2 * k] != volts[k][std::size_t(*raw)].view())
            return fail("volts " + inQuotes(m_fields[2 + 2 * k]) + " do not belong to raw value " + rawText +
                        " on channel " + std::to_string(channels[k] + 1) + "'s scale");
        m_state->DisplaySamples(channels[k])[std::size_t(sample)] = std::uint8_t(*raw);
    }
    return true;
}

bool ShotCsvReader::readRows() {
    const std::vector<int> channels = columnChannels(m_settings);
    std::vector<VoltsTexts> volts;
    for (int c : channels)
        volts.push_back(voltsTexts(m_settings, c));
    for (int sample = 0; sample < m_positions; ++sample) {
        if (!m_csv.next(m_fields)) {
            if (!m_csv.error().empty())
                return fail(m_csv.error(), false);
            return fail("the file ends after " + std::to_string(sample) + " of the shot's " +
                            std::to_string(m_positions) + " sample rows",
                        false);
        }
        if (!readRow(sample, channels, volts))
            return false;
    }
    if (m_csv.next(m_fields))
        return fail("more rows than the shot's " + std::to_string(m_positions) + " samples");
    if (!m_csv.error().empty())
        return fail(m_csv.error(), false);
    return true;
}

const AcquisitionState* ShotCsvReader::read() {
    if (readMagic() && readSettingLines() && settleSettings() && readHeader() && readRows())
        return m_state.get();
    return nullptr;
}

// What the bytes are, when they are plainly not a shot file; nothing when they may be one.
std::optional<std::string> notAShotFile(std::string_view bytes) {
    if (bytes.size() > kMaxShotFileSize)
        return "too large for a shot file (" + std::to_string(bytes.size() / (1024 * 1024)) + " MB)";
    if (bytes.empty())
        return std::string("the file is empty");
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return std::string("the file starts with a byte-order mark: it was saved again by another program");
    if (bytes.starts_with(std::string_view("\x09\x08\x08\x00", 4)))
        return std::string("a spreadsheet export holds the table as texts, without the instrument's settings "
                           "(volts, probe and zero indexes, trigger point, reference levels) and without the "
                           "shot's last samples, so no shot can be rebuilt from it; use \"Save shot...\"");
    return std::nullopt;
}

} // namespace

ShotFileResult parseShotFile(std::string_view bytes, const TransferInputs& inputs) {
    ShotFileResult result;
    if (auto problem = notAShotFile(bytes)) {
        result.error = std::move(*problem);
        return result;
    }
    ShotCsvReader reader(bytes);
    const AcquisitionState* state = reader.read();
    if (state == nullptr) {
        result.error = reader.error();
        return result;
    }
    transferShot(*state, result.record, inputs);
    result.ok = true;
    return result;
}

ShotFileResult readShotFile(const std::filesystem::path& path, const TransferInputs& inputs) {
    FileReadResult file = readRegularFile(path, kMaxShotFileSize);
    ShotFileResult result;
    switch (file.status) {
    case FileReadStatus::Read:
        return parseShotFile(file.text, inputs);
    case FileReadStatus::Missing:
    case FileReadStatus::Unreadable:
        result.error = file.reason;
        break;
    case FileReadStatus::NotRegular:
        result.error = "not a regular file";
        break;
    case FileReadStatus::TooLarge:
        result.error = "too large for a shot file";
        break;
    }
    return result;
}

} // namespace kavlon
