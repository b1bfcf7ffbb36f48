#include "core/shot/DataWindowLabels.h"

#include "core/scales/ScaleTables.h"

namespace kavlon {

namespace {

std::optional<std::string> timebaseText(std::string_view prefix, long long index) {
    if (index < 0 || index >= kTimebaseSteps)
        return std::nullopt;
    return std::string(prefix) + std::string(*timebaseLabel(int(index)));
}

std::string channelVoltage(const ShotRecord& r, int channel, int raw, char decimalSeparator) {
    const auto c = std::size_t(channel);
    return CalcVoltage_Value(int(r.ProbeIndex[c]), int(r.VoltsPerDivIndex[c]), raw, decimalSeparator);
}

// Channels 3 and 4 of a two-channel instrument carry whatever it sends for them, so
// nothing is said about them.
int describedChannels(const ShotRecord& r) {
    return r.ChannelMode == 2 ? 2 : kChannels;
}

void setTriggerLabels(DataWindowLabels& labels, const ShotRecord& r, char decimalSeparator) {
    const int source = r.TriggerSource;
    if (source == 0) {
        labels.Trigger_lb = "Trigger : FreeRun";
        labels.Triggerlevel_lb = "Trigger Level : No Level";
    } else if (source >= 1 && source <= kChannels) {
        const int channel = source - 1;
        std::string level;
        if (channel < describedChannels(r))
            level = channelVoltage(r, channel, r.ZeroLevel[std::size_t(channel)] - r.TriggerLevel,
                                   decimalSeparator);
        labels.Trigger_lb = "Trigger : Channel " + std::to_string(source);
        labels.Triggerlevel_lb = "Trigger Level : " + level;
    } else if (source == 5) {
        labels.Trigger_lb = "Trigger : Extern";
        labels.Triggerlevel_lb = "Trigger Level : Extern";
    }
}

} // namespace

DataWindowLabels dataWindowLabels(const ShotRecord& r, char decimalSeparator) {
    DataWindowLabels labels;
    labels.Timebase_lb = timebaseText("Timebase : ", (long long)r.TimebaseIndex + r.ZoomIndex);
    labels.RealTimebase_lb = timebaseText("Real Timebase : ", r.TimebaseIndex);
    setTriggerLabels(labels, r, decimalSeparator);
    for (int k = 0; k < describedChannels(r); ++k)
        labels.ZeroLevelCH_lb[std::size_t(k)] =
            "Zero CH " + std::to_string(k + 1) + " : " +
            channelVoltage(r, k, r.ZeroLevel[std::size_t(k)], decimalSeparator);
    return labels;
}

void applyLabels(const DataWindowLabels& labels, ShotSettings& texts) {
    const std::pair<std::string*, const std::optional<std::string>*> captions[] = {
        {&texts.TimebaseText, &labels.Timebase_lb},      {&texts.RealTimebaseText, &labels.RealTimebase_lb},
        {&texts.TriggerText, &labels.Trigger_lb},        {&texts.TriggerLevelText, &labels.Triggerlevel_lb},
        {&texts.ZeroText[0], &labels.ZeroLevelCH_lb[0]}, {&texts.ZeroText[1], &labels.ZeroLevelCH_lb[1]},
        {&texts.ZeroText[2], &labels.ZeroLevelCH_lb[2]}, {&texts.ZeroText[3], &labels.ZeroLevelCH_lb[3]},
    };
    for (const auto& [target, text] : captions)
        if (*text)
            *target = **text;
}

} // namespace kavlon
