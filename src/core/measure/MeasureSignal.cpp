#include "core/measure/MeasureSignal.h"

#include "core/measure/MeasureFormat.h"
#include "core/measure/MeasureTables.h"
#include "core/shot/ShotTransfer.h"

#include <cmath>
#include <cstdlib>
#include <optional>

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

std::string cut(std::string text) {
    // Counted in characters, not in the bytes of their UTF-8 form.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > kMeasureCellLength) {
            text.resize(i);
            break;
        }
    return text;
}

// The arithmetic of one channel's rows, with every value that the shot does not
// define left empty.
class ChannelMeasures {
public:
    ChannelMeasures(const MeasureCopy& copy, int channel)
        : m_copy(copy), m_ch(copy.Channels[std::size_t(channel)]), m_ref(copy.Channels[0]),
          m_timeIndex((long long)copy.TimebaseIndex + copy.ZoomIndex) {}

    std::optional<float> volts(long long u) const {
        if (u < INT32_MIN || u > INT32_MAX || m_ch.VoltsPerDivIndex > INT32_MAX ||
            m_ch.ProbeIndex > INT32_MAX)
            return std::nullopt;
        return CalcVolage(int(m_ch.VoltsPerDivIndex), int(m_ch.ProbeIndex), int(u));
    }
    std::optional<float> time(std::optional<long long> n, bool reciprocal = false) const {
        if (!n || m_timeIndex < 0 || m_timeIndex > INT32_MAX || *n < INT32_MIN || *n > INT32_MAX)
            return std::nullopt;
        return CalcTime(int(m_timeIndex), reciprocal, int(*n));
    }
    // b - a for two crossings that both came.
    std::optional<long long> span(std::int32_t a, std::int32_t b) const {
        if (!crossed(a) || !crossed(b))
            return std::nullopt;
        return (long long)b - a;
    }
    std::optional<long long> period(const MeasureChannel& c) const {
        return span(c.Rise1.AtLevel2, c.Rise2.AtLevel2);
    }
    std::optional<long long> highWidth() const {
        const MeasureChannel& c = m_ch;
        return c.Rise1.AtLevel2 < c.Fall1.AtLevel2 ? span(c.Rise1.AtLevel2, c.Fall1.AtLevel2)
                                                   : span(c.Rise1.AtLevel2, c.Fall2.AtLevel2);
    }
    std::optional<long long> lowWidth() const {
        const MeasureChannel& c = m_ch;
        return c.Fall1.AtLevel2 < c.Rise1.AtLevel2 ? span(c.Fall1.AtLevel2, c.Rise1.AtLevel2)
                                                   : span(c.Fall1.AtLevel2, c.Rise2.AtLevel2);
    }
    std::optional<double> duty() const {
        const auto p = period(m_ch);
        const auto w = highWidth();
        if (!p || !w || *p == 0)
            return std::nullopt;
        return 100.0 / double(*p) * double(*w);
    }
    std::optional<double> phase() const {
        const auto p = period(m_ref);
        const auto d = span(m_ref.Rise1.AtLevel2, m_ch.Rise1.AtLevel2);
        if (!p || !d || *p == 0)
            return std::nullopt;
        return 360.0 * double(*d) / double(*p);
    }
    const MeasureChannel& ch() const { return m_ch; }
    const MeasureChannel& ref() const { return m_ref; }

private:
    bool crossed(std::int32_t index) const { return index >= 0 && index < m_copy.ShotLength; }

    const MeasureCopy& m_copy;
    const MeasureChannel& m_ch;
    const MeasureChannel& m_ref;
    long long m_timeIndex;
};

void measureChannel(const MeasureCopy& copy, int channel, MeasureColumn& cells, char sep) {
    const ChannelMeasures m(copy, channel);
    const MeasureChannel& c = m.ch();
    const auto volts = [&](long long u) { return PreCalcValue("V", m.volts(u), sep); };
    const auto seconds = [&](std::optional<long long> n) { return PreCalcValue("s", m.time(n), sep); };
    std::array<std::optional<std::string>, kMeasureRows> rows;

    rows[0] = volts((long long)c.Max - c.Min);
    rows[1] = volts((long long)c.Z - c.Min);
    rows[2] = volts((long long)c.Z - c.Max);
    rows[3] = c.AvgCount > 0 ? volts((long long)std::trunc(c.Z - (c.Mid + 2.0 * c.AvgSum / c.AvgCount)))
                             : std::string(kNoValue);
    rows[4] = volts((long long)c.Base - c.Top);
    rows[5] = volts((long long)c.Z - c.Top);
    rows[6] = volts((long long)c.Z - c.Base);
    rows[7] = volts(std::llabs((long long)std::trunc(double((long long)c.Z - c.Min) / 1.414)));
    const long long amplitude = (long long)c.Base - c.Top;
    if (amplitude > 0) {
        rows[8] = percentText(100.0 * double((long long)c.Top - c.Min) / double(amplitude), sep);
        rows[9] = percentText(100.0 * double((long long)c.Max - c.Base) / double(amplitude), sep);
    }
    rows[10] = PreCalcValue("Hz", m.time(m.period(c), true), sep);
    rows[11] = seconds(m.span(c.Rise1.AtLevel1, c.Rise1.AtLevel3));
    rows[12] = seconds(m.span(c.Fall1.AtLevel3, c.Fall1.AtLevel1));
    rows[13] = seconds(m.period(c));
    rows[14] = seconds(m.highWidth());
    rows[15] = seconds(m.lowWidth());
    const auto duty = m.duty();
    rows[16] = percentText(duty, sep);
    rows[17] = percentText(duty ? std::optional<double>(100.0 - *duty) : std::nullopt, sep);
    if (channel == 0) {
        for (int r = kFirstPhaseRow; r < kMeasureRows; ++r)
            rows[std::size_t(r)] = std::string(kReferenceMark);
    } else {
        const MeasureChannel& ref = m.ref();
        rows[18] = phaseText(m.phase(), sep);
        rows[19] = seconds(m.span(ref.Rise1.AtLevel2, c.Rise1.AtLevel2));
        rows[20] = seconds(m.span(ref.Fall1.AtLevel2, c.Fall1.AtLevel2));
        rows[21] = seconds(m.span(ref.Rise1.AtLevel2, c.Fall1.AtLevel2));
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r])
            cells[r] = cut(std::move(*rows[r]));
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

void MeasureSignal(const MeasureCopy& copy, MeasureCellTable& cells, char decimalSeparator) {
    for (int k = 0; k < kChannels; ++k)
        if (copy.ChannelOn[std::size_t(k)])
            measureChannel(copy, k, cells[std::size_t(k)], decimalSeparator);
}

} // namespace kavlon
