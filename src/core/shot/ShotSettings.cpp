#include "core/shot/ShotSettings.h"

namespace kavlon {

std::size_t ShotSettings::textBytes() const {
    // Short texts are counted as if they had left the string, which over-counts a little.
    std::size_t bytes = TriggerText.capacity() + TriggerLevelText.capacity() + TimebaseText.capacity() +
                        RealTimebaseText.capacity();
    for (const auto* texts : {&VoltsPerDivText, &ZeroText})
        for (const std::string& text : *texts)
            bytes += text.capacity();
    return bytes;
}

void copyShotSettings(const AcquisitionState& s, ShotSettings& r) {
    r.TimebaseIndex = s.TimebaseIndex;
    r.ZoomIndex = s.TimebaseOffset;
    r.SamplesPerPixel = s.TimeStepIndex;
    r.HeaderValue1 = s.TrailerValue;
    r.TriggerSource = s.TriggerSource;
    r.TriggerLevel = s.TriggerLevel;
    r.ChannelMode = s.ChannelCount;
    r.ChannelOn = s.ChannelOn;
    r.AuxFlag = s.AuxFlag;
    for (std::size_t c = 0; c < kChannels; ++c) {
        r.VoltsPerDivIndex[c] = std::uint32_t(s.VoltsIndex[c]);
        r.ProbeIndex[c] = std::uint32_t(s.ProbeRange[c]);
        r.ZeroLevel[c] = s.ZeroLevel[c];
    }
    // A printed scope picture shows the scale of its own shot, in either channel mode.
    r.VoltsPerDivText = s.VoltsPerDivText;
    r.TriggerPoint = s.TriggerPoint;
    r.WindowStart = s.WindowStart;
    r.ReferenceLevels = s.ReferenceLevels;
}

} // namespace kavlon
