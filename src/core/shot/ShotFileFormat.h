#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/shot/ShotCells.h"
#include "core/shot/ShotRecord.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon {

// What the writer and the reader of shot files share: the names, order and bounds of
// the '#' setting lines, the columns, and the volts texts of raw values.

constexpr std::string_view kShotFileMagic = "# KavlonPC shot";
constexpr int kShotFileVersion = 1;
// The largest shot file is under 2 MB; anything much larger is not one.
constexpr std::size_t kMaxShotFileSize = 8 * 1024 * 1024;
// A volts-per-division text is a few characters, "2.5 kV / Div".
constexpr std::size_t kMaxVoltsTextSize = 32;

// One numeric '#' line: its key and how many values it holds, each within [lowest, highest].
struct SettingLine {
    std::string_view key;
    int count;
    long long lowest;
    long long highest;
};
constexpr std::string_view kVoltsTextKey = "# volts per div text";
constexpr std::string_view kValueCountsKey = "# value counts";
extern const std::array<SettingLine, 15> kSettingLines;
// Values of all numeric lines in table order.
constexpr std::size_t kSettingValueCount = 29;
using SettingValues = std::array<long long, kSettingValueCount>;

SettingValues settingValues(const ShotSettings& settings);
// The values into the state the instrument's trailer would have left; they are in bounds.
void applySettingValues(const SettingValues& values, AcquisitionState& state);
// Which value is out of bounds, or a pair that does not fit together; nothing when all fit.
std::optional<std::string> settingProblem(const SettingValues& values);

// Why a volts-per-division text cannot go into a file, or nothing when it can.
std::optional<std::string> voltsTextProblem(std::string_view text);

// Channels 3 and 4 of a two-channel instrument are not read at all.
int visitedChannels(int channelMode);
// The 0-based channels with cells in the file (visited and on), in order.
std::vector<int> columnChannels(const ShotSettings& settings);
// The 0-based channels read but off: the file keeps only how often each value came.
std::vector<int> countedChannels(const ShotSettings& settings);
// The header row's field names.
std::vector<std::string> headerFields(const ShotSettings& settings);

// The volts field of each raw value on a channel's scale: shortest round-trip decimal
// with '.', empty where the scale has no voltage.
using VoltsTexts = std::array<CellText, 256>;
VoltsTexts voltsTexts(const ShotSettings& settings, int channel);

} // namespace kavlon
