#include "core/measure/MeasureResults.h"

#include "core/measure/MeasureTables.h"
#include "core/shot/ShotTransfer.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace kavlon {

namespace {

constexpr std::array<std::string_view, 5> kUnitTexts = {"V", "s", "Hz", "%", "\u00b0"};

// The arithmetic of one channel's rows, with every value that the shot does not
// define left empty. Percentages and the phase are worked out in extended precision
// before they are rounded to single precision, as the texts have always been made.
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
    std::optional<long double> duty() const {
        const auto p = period(m_ch);
        const auto w = highWidth();
        if (!p || !w || *p == 0)
            return std::nullopt;
        return 100.0L / (long double)*p * (long double)*w;
    }
    std::optional<long double> phase() const {
        const auto p = period(m_ref);
        const auto d = span(m_ref.Rise1.AtLevel2, m_ch.Rise1.AtLevel2);
        if (!p || !d || *p == 0)
            return std::nullopt;
        return 360.0L * (long double)*d / (long double)*p;
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

void define(MeasureResult& result, std::optional<float> x) {
    const bool known = x && std::isfinite(*x);
    result.value = known ? double(*x) : 0.0;
    result.state = known ? MeasureState::Defined : MeasureState::Undefined;
}

void define(MeasureResult& result, std::optional<long double> x) {
    define(result, x ? std::optional<float>(float(*x)) : std::nullopt);
}

void measureLevels(const ChannelMeasures& m, ChannelResults& out) {
    const MeasureChannel& c = m.ch();
    auto& rows = out.rows;
    define(rows[0], m.volts((long long)c.Max - c.Min));
    define(rows[1], m.volts((long long)c.Z - c.Min));
    define(rows[2], m.volts((long long)c.Z - c.Max));
    define(rows[3], c.AvgCount > 0
                        ? m.volts((long long)std::trunc(c.Z - (c.Mid + 2.0 * c.AvgSum / c.AvgCount)))
                        : std::nullopt);
    define(rows[4], m.volts((long long)c.Base - c.Top));
    define(rows[5], m.volts((long long)c.Z - c.Top));
    define(rows[6], m.volts((long long)c.Z - c.Base));
    define(rows[7], m.volts(std::llabs((long long)std::trunc(double((long long)c.Z - c.Min) / 1.414))));
    const long long amplitude = (long long)c.Base - c.Top;
    if (amplitude > 0) {
        define(rows[8], std::optional<long double>(100.0L * ((long long)c.Top - c.Min) / amplitude));
        define(rows[9], std::optional<long double>(100.0L * ((long long)c.Max - c.Base) / amplitude));
    } else {
        rows[8].state = rows[9].state = MeasureState::Kept;
    }
}

void measureTimes(const ChannelMeasures& m, int channel, ChannelResults& out) {
    const MeasureChannel& c = m.ch();
    auto& rows = out.rows;
    define(rows[10], m.time(m.period(c), true));
    define(rows[11], m.time(m.span(c.Rise1.AtLevel1, c.Rise1.AtLevel3)));
    define(rows[12], m.time(m.span(c.Fall1.AtLevel3, c.Fall1.AtLevel1)));
    define(rows[13], m.time(m.period(c)));
    define(rows[14], m.time(m.highWidth()));
    define(rows[15], m.time(m.lowWidth()));
    const auto duty = m.duty();
    define(rows[16], duty);
    define(rows[17], duty ? std::optional<long double>(100.0L - *duty) : std::nullopt);
    if (channel == 0) {
        for (int r = kFirstPhaseRow; r < kMeasureRows; ++r)
            out.rows[std::size_t(r)].state = MeasureState::Reference;
        return;
    }
    const MeasureChannel& ref = m.ref();
    define(rows[18], m.phase());
    define(rows[19], m.time(m.span(ref.Rise1.AtLevel2, c.Rise1.AtLevel2)));
    define(rows[20], m.time(m.span(ref.Fall1.AtLevel2, c.Fall1.AtLevel2)));
    define(rows[21], m.time(m.span(ref.Rise1.AtLevel2, c.Fall1.AtLevel2)));
}

void clearRows(ChannelResults& out, int first) {
    for (int r = first; r < kMeasureRows; ++r)
        out.rows[std::size_t(r)] = {0.0, kMeasureUnits[std::size_t(r)], MeasureState::Undefined};
}

} // namespace

const std::array<MeasureUnit, kMeasureRows> kMeasureUnits = {
    MeasureUnit::Volt,    MeasureUnit::Volt,    MeasureUnit::Volt,   MeasureUnit::Volt,
    MeasureUnit::Volt,    MeasureUnit::Volt,    MeasureUnit::Volt,   MeasureUnit::Volt,
    MeasureUnit::Percent, MeasureUnit::Percent, MeasureUnit::Hertz,  MeasureUnit::Second,
    MeasureUnit::Second,  MeasureUnit::Second,  MeasureUnit::Second, MeasureUnit::Second,
    MeasureUnit::Percent, MeasureUnit::Percent, MeasureUnit::Degree, MeasureUnit::Second,
    MeasureUnit::Second,  MeasureUnit::Second,
};

std::string_view unitText(MeasureUnit unit) {
    return kUnitTexts[std::size_t(unit)];
}

MeasureResults measureResults(const MeasureCopy& copy) {
    MeasureResults results;
    for (int k = 0; k < kChannels; ++k) {
        ChannelResults& out = results[std::size_t(k)];
        clearRows(out, 0);
        out.measured = copy.ChannelOn[std::size_t(k)];
        if (!out.measured)
            continue;
        const ChannelMeasures m(copy, k);
        measureLevels(m, out);
        measureTimes(m, k, out);
        // A channel this shot did not analyse still holds an earlier shot's crossings,
        // and so does channel I for the phase and delays of the others when it was off.
        if (!analysesChannel(copy.ChannelMode, copy.ChannelOn, k))
            clearRows(out, kFirstTimeRow);
        else if (k != 0 && !analysesChannel(copy.ChannelMode, copy.ChannelOn, 0))
            clearRows(out, kFirstPhaseRow);
    }
    return results;
}

} // namespace kavlon
