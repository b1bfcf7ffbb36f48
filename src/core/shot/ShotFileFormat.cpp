#include "core/shot/ShotFileFormat.h"

#include "core/scales/ScaleTables.h"
#include "core/shot/ShotTransfer.h"

#include <charconv>

namespace kavlon {

// The bounds are what the instrument's frames can carry and the program's tables hold.
const std::array<SettingLine, 15> kSettingLines = {{
    {"# timebase index", 1, 0, kTimebaseSteps - 1},
    {"# zoom index", 1, 0, kTimebaseSteps - 1},
    {"# samples per pixel", 1, 0, 255},
    {"# channel mode", 1, 2, 4},
    {"# channels on", kChannels, 0, 1},
    {"# volts index", kChannels, 0, kVoltsIndexCount - 1},
    {"# probe index", kChannels, 0, kProbeRangeCount - 1},
    {"# zero level", kChannels, 0, 255},
    {"# trigger source", 1, 0, 5},
    {"# trigger level", 1, 0, 255},
    {"# trigger point", 1, 0, 65535},
    {"# window start", 1, 0, 65535 + 40},
    {"# reference levels", 3, 0, 255},
    {"# header value", 1, 0, 65535},
    {"# aux flag", 1, 0, 1},
}};

SettingValues settingValues(const ShotSettings& s) {
    SettingValues v{};
    std::size_t i = 0;
    const auto put = [&](long long value) { v[i++] = value; };
    put(s.TimebaseIndex);
    put(s.ZoomIndex);
    put(s.SamplesPerPixel);
    put(s.ChannelMode);
    for (bool on : s.ChannelOn)
        put(on ? 1 : 0);
    for (const auto* channels : {&s.VoltsPerDivIndex, &s.ProbeIndex})
        for (std::uint32_t index : *channels)
            put(index);
    for (std::int32_t zero : s.ZeroLevel)
        put(zero);
    put(s.TriggerSource);
    put(s.TriggerLevel);
    put(s.TriggerPoint);
    put(s.WindowStart);
    for (std::int32_t level : s.ReferenceLevels)
        put(level);
    put(s.HeaderValue1);
    put(s.AuxFlag ? 1 : 0);
    return v;
}

void applySettingValues(const SettingValues& v, AcquisitionState& s) {
    std::size_t i = 0;
    const auto take = [&] { return int(v[i++]); };
    s.TimebaseIndex = take();
    s.TimebaseOffset = take();
    s.TimeStepIndex = take();
    s.ChannelCount = take();
    for (bool& on : s.ChannelOn)
        on = take() != 0;
    for (auto* channels : {&s.VoltsIndex, &s.ProbeRange, &s.ZeroLevel})
        for (int& value : *channels)
            value = take();
    s.TriggerSource = take();
    s.TriggerLevel = take();
    s.TriggerPoint = take();
    s.WindowStart = take();
    for (int& level : s.ReferenceLevels)
        level = take();
    s.TrailerValue = take();
    s.AuxFlag = take() != 0;
}

std::optional<std::string> settingProblem(const SettingValues& values) {
    std::size_t i = 0;
    for (const SettingLine& line : kSettingLines)
        for (int k = 0; k < line.count; ++k, ++i)
            if (values[i] < line.lowest || values[i] > line.highest)
                return std::string(line.key.substr(2)) + " " + std::to_string(values[i]) + " is outside " +
                       std::to_string(line.lowest) + ".." + std::to_string(line.highest);
    // The zoomed timebase must be one of the table's too.
    if (values[0] + values[1] >= kTimebaseSteps)
        return "timebase index " + std::to_string(values[0]) + " and zoom index " +
               std::to_string(values[1]) + " go past the timebase table";
    return std::nullopt;
}

std::optional<std::string> voltsTextProblem(std::string_view text) {
    if (text.size() > kMaxVoltsTextSize)
        return "a volts per div text is longer than " + std::to_string(kMaxVoltsTextSize) + " bytes";
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::string("a volts per div text holds a control character");
    return std::nullopt;
}

int visitedChannels(int channelMode) {
    return channelMode == 2 ? 2 : kChannels;
}

std::vector<int> columnChannels(const ShotSettings& s) {
    std::vector<int> channels;
    for (int c = 0; c < visitedChannels(s.ChannelMode); ++c)
        if (s.ChannelOn[std::size_t(c)])
            channels.push_back(c);
    return channels;
}

std::vector<int> countedChannels(const ShotSettings& s) {
    std::vector<int> channels;
    for (int c = 0; c < visitedChannels(s.ChannelMode); ++c)
        if (!s.ChannelOn[std::size_t(c)])
            channels.push_back(c);
    return channels;
}

std::vector<std::string> headerFields(const ShotSettings& s) {
    std::vector<std::string> fields = {"sample"};
    for (int c : columnChannels(s)) {
        const std::string name = "CH" + std::to_string(c + 1);
        fields.push_back(name + " raw");
        fields.push_back(name + " volts");
    }
    return fields;
}

VoltsTexts voltsTexts(const ShotSettings& s, int channel) {
    const auto c = std::size_t(channel);
    VoltsTexts texts{};
    for (int raw = 0; raw < 256; ++raw) {
        const auto volts = voltageOf(int(s.ProbeIndex[c]), int(s.VoltsPerDivIndex[c]), s.ZeroLevel[c] - raw);
        if (!volts)
            continue;
        CellText& text = texts[std::size_t(raw)];
        const auto [end, ec] =
            std::to_chars(text.chars.data(), text.chars.data() + text.chars.size(), *volts);
        text.size = ec == std::errc() ? std::size_t(end - text.chars.data()) : 0;
    }
    return texts;
}

} // namespace kavlon
