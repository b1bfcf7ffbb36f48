// Turns a saved shot back into the frames the instrument would send for it.
#include "core/shot/ShotReplay.h"

#include "core/acquisition/FrameEncoding.h"
#include "core/scales/ScaleTables.h"
#include "core/shot/ShotFileFormat.h"
#include "core/shot/ShotTransfer.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace kavlon {

namespace {

// The front panel's volts text before any report: the label of probe range 3, volts index 3.
constexpr std::pair<int, int> kFirstPanelScale = {3, 3};

SettingsReport reportOf(const ShotRecord& r) {
    SettingsReport s;
    for (std::size_t c = 0; c < kChannels; ++c) {
        s.voltsIndex[c] = int(r.VoltsPerDivIndex[c]);
        s.probeRange[c] = int(r.ProbeIndex[c]);
        s.zeroLevel[c] = r.ZeroLevel[c];
    }
    s.on = r.ChannelOn;
    s.timebaseIndex = r.TimebaseIndex;
    s.timebaseOffset = r.ZoomIndex;
    s.timeStepIndex = r.SamplesPerPixel;
    s.channelCount = r.ChannelMode;
    s.running = true;
    s.triggerSource = r.TriggerSource;
    s.triggerLevel = r.TriggerLevel;
    s.auxFlag = r.AuxFlag;
    return s;
}

// The scale (probe range, volts index) the front panel labels with this text.
std::optional<std::pair<int, int>> scaleLabelled(std::string_view text) {
    for (int probe = 0; probe < kProbeRangeCount; ++probe)
        for (int volts = kFirstLabelledVolts; volts <= kLastLabelledVolts; ++volts)
            if (voltsPerDivLabel(probe, volts) == text)
                return std::pair{probe, volts};
    return std::nullopt;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// The front panel makes a volts text only from a scale's label. A scale without one
// keeps the text before it, which one settings report more sets; a text no scale is
// labelled with cannot come back at all.
void addSettingsReport(const ShotRecord& r, ReplayShot& shot) {
    const SettingsReport report = reportOf(r);
    SettingsReport earlier = report;
    bool needsEarlier = false;
    for (std::size_t c = 0; c < kChannels; ++c) {
        const std::string& text = r.VoltsPerDivText[c];
        const std::string channel = "channel " + std::to_string(c + 1) + "'s volts per div text ";
        if (const auto label = voltsPerDivLabel(report.probeRange[c], report.voltsIndex[c])) {
            if (*label != text)
                shot.notes.push_back(channel + quoted(text) + " comes back as " + quoted(*label) +
                                     ", the label of its scale");
            continue;
        }
        auto scale = scaleLabelled(text);
        if (!scale) {
            shot.notes.push_back(channel + quoted(text) + " comes back as " +
                                 quoted(*voltsPerDivLabel(kFirstPanelScale.first, kFirstPanelScale.second)) +
                                 ": no scale is labelled with it");
            scale = kFirstPanelScale;
        }
        earlier.probeRange[c] = scale->first;
        earlier.voltsIndex[c] = scale->second;
        needsEarlier = true;
    }
    if (needsEarlier)
        shot.settingsReport.push_back(encodeSettings(earlier));
    shot.settingsReport.push_back(encodeSettings(report));
}

// A channel that is off keeps how often each value came; in value order they count alike.
bool fillFromCounts(const ChannelAnalysis& analysis, std::vector<std::uint8_t>& window) {
    std::size_t at = 0;
    for (int value = 0; value < 256; ++value) {
        const std::int32_t count = analysis.Histogram[std::size_t(value)];
        if (count < 0 || std::size_t(count) > window.size() - at)
            return false;
        std::fill_n(window.begin() + std::ptrdiff_t(at), count, std::uint8_t(value));
        at += std::size_t(count);
    }
    return at == window.size();
}

std::optional<std::string> fillWindows(const ShotRecord& r, ReplayShot& shot) {
    const int positions = shotExtent(r.TimebaseIndex, r.WindowStart).positions;
    for (int c = 0; c < visitedChannels(r.ChannelMode); ++c) {
        std::vector<std::uint8_t>& window = shot.window[std::size_t(c)];
        window.resize(std::size_t(positions));
        const std::string channel = "channel " + std::to_string(c + 1);
        if (!r.ChannelOn[std::size_t(c)]) {
            if (!fillFromCounts(r.Analysis[std::size_t(c)], window))
                return "the value counts of " + channel + " do not add up to the shot's samples";
            continue;
        }
        for (int i = 0; i < positions; ++i) {
            const auto raw = r.Cells.rawValue(c + 1, i);
            if (!raw)
                return channel + " has no value for sample " + std::to_string(i);
            window[std::size_t(i)] = *raw;
        }
    }
    return std::nullopt;
}

} // namespace

void ReplayShot::fillMemory(int channel, std::span<std::uint8_t, kBlockSize> memory) const {
    std::fill(memory.begin(), memory.end(), std::uint8_t(0));
    const std::vector<std::uint8_t>& samples = window[std::size_t(channel)];
    const std::size_t start = std::size_t(std::clamp(windowStart, 0, kBlockSize));
    const std::size_t count = std::min(samples.size(), kBlockSize - start);
    std::copy_n(samples.begin(), count, memory.begin() + std::ptrdiff_t(start));
}

ReplayShotResult replayShotOf(const ShotRecord& r) {
    ReplayShotResult result;
    if (!r.HasShot) {
        result.error = "it holds no shot";
        return result;
    }
    if (const auto problem = settingProblem(settingValues(r))) {
        result.error = "its " + *problem;
        return result;
    }
    const int start = r.WindowStart;
    // Window mode 1 starts the window at 0, the ordinary trailer at its position + 40.
    // The extended trailer, the only way to the starts between, counts them from the
    // trigger point and keeps the trailer value it finds, so the shot would not come
    // back as it was.
    if (start > 0 && start < frame::WindowOffset) {
        result.error = "its window starts at sample " + std::to_string(start) +
                       ", where the instrument's trailers put none (0, or 40 and beyond)";
        return result;
    }
    ReplayShot& shot = result.shot;
    shot.windowStart = start;
    if (auto problem = fillWindows(r, shot)) {
        result.error = std::move(*problem);
        return result;
    }
    addSettingsReport(r, shot);
    shot.gain = encodeGain(start == 0 ? 1 : 0);
    shot.trailer = encodeTrailer(
        {r.ReferenceLevels, r.TriggerPoint, start == 0 ? 0 : start - frame::WindowOffset, r.HeaderValue1});
    result.ok = true;
    return result;
}

} // namespace kavlon
