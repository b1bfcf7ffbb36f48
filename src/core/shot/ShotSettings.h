#pragma once

#include "core/acquisition/AcquisitionState.h"

#include <array>
#include <cstdint>
#include <string>

namespace kavlon {

// The instrument's settings a shot was taken with, and the texts that describe it,
// as its transfer left them. A Data display's record and every display's copy of
// that shot carry this one part, so a copy takes it whole.
// Per-channel arrays are indexed 0..3 for channels 1..4, like AcquisitionState.
struct ShotSettings {
    std::int32_t TimebaseIndex = 0;
    std::int32_t ZoomIndex = 0;
    std::int32_t SamplesPerPixel = 0;
    std::int32_t HeaderValue1 = 0;
    std::int32_t TriggerSource = 0;
    std::int32_t TriggerLevel = 0;
    std::int32_t ChannelMode = 0;
    std::array<bool, kChannels> ChannelOn{};
    bool AuxFlag = false;
    std::array<std::uint32_t, kChannels> VoltsPerDivIndex{};
    // The front panel's volts-per-division texts when the shot came in.
    std::array<std::string, kChannels> VoltsPerDivText;
    std::array<std::uint32_t, kChannels> ProbeIndex{};
    std::array<std::int32_t, kChannels> ZeroLevel{};
    std::int32_t TriggerPoint = 0;
    std::int32_t WindowStart = 0;
    // The instrument's reference percentages the analysis used; a saved shot needs them
    // to be analysed again alike.
    std::array<std::int32_t, 3> ReferenceLevels{};

    // The Data display's label captions for the shot (UTF-8): Trigger_lb,
    // Triggerlevel_lb, Timebase_lb, RealTimebase_lb and ZeroLevelCH1_lb .. ZeroLevelCH4_lb.
    std::string TriggerText;
    std::string TriggerLevelText;
    std::string TimebaseText;
    std::string RealTimebaseText;
    std::array<std::string, kChannels> ZeroText;

    // Heap bytes held by the texts.
    std::size_t textBytes() const;

    bool operator==(const ShotSettings&) const = default;
};

// Everything but the texts, from the acquisition state as the shot's trailer left it.
void copyShotSettings(const AcquisitionState& state, ShotSettings& settings);

} // namespace kavlon
