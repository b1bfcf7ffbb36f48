#include "core/measure/MeasureCopy.h"

#include "core/shot/ShotTransfer.h"

namespace kavlon {

const std::array<std::string_view, kMeasureRows> kMeasureCaptions = {
    "Vpp",       "Vmax",    "Vmin",          "Vavg",           "Vtamp",     "Vtop",
    "Vbase",     "Vrms",    "Vover",         "Vpre",           "Frequency", "Rise Time",
    "Fall Time", "Period",  "+ Pulse Width", " - Pulse Width", "+ Duty",    " - Duty",
    "Phase",     "+ Delay", " - Delay",      "+/- Delay",
};

namespace {

constexpr int screen(std::int32_t raw) {
    return 2 * raw - 60;
}

MeasureChannel channelCopy(const ShotRecord& record, std::size_t c) {
    const ChannelAnalysis& a = record.Analysis[c];
    MeasureChannel m;
    m.VoltsPerDivIndex = record.VoltsPerDivIndex[c];
    m.ProbeIndex = record.ProbeIndex[c];
    m.Z = screen(record.ZeroLevel[c]);
    m.Max = screen(a.RawMax);
    m.Mid = screen(a.RawMid);
    m.Min = screen(a.RawMin);
    m.Base = screen(a.BaseRaw);
    m.Top = screen(a.TopRaw);
    m.AvgSum = a.AvgSum;
    m.AvgCount = a.AvgCount;
    m.Level1 = a.Level1;
    m.Level2 = a.Level2;
    m.Level3 = a.Level3;
    m.Rise1 = a.Rise1;
    m.Fall1 = a.Fall1;
    m.Rise2 = a.Rise2;
    m.Fall2 = a.Fall2;
    m.CycleRise = a.CycleRise;
    m.CycleFall = a.CycleFall;
    return m;
}

} // namespace

MeasureCopy takeMeasureCopy(const ShotRecord& record) {
    MeasureCopy copy;
    copy.ChannelMode = record.ChannelMode;
    copy.ChannelOn = record.ChannelOn;
    copy.TimebaseIndex = record.TimebaseIndex;
    copy.ZoomIndex = record.ZoomIndex;
    copy.ShotLength = shotExtent(record.TimebaseIndex, record.WindowStart).n;
    for (std::size_t c = 0; c < kChannels; ++c)
        copy.Channels[c] = channelCopy(record, c);
    return copy;
}

} // namespace kavlon
