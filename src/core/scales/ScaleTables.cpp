#include "core/scales/ScaleTables.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kavlon {

const std::array<TimebaseEntry, kTimebaseSteps> TimebaseTable = {{
    {"2 ns / Div", 2e-9},   {"5 ns / Div", 5e-9},   {"10 ns / Div", 1e-8},  {"20 ns / Div", 2e-8},
    {"50 ns / Div", 5e-8},  {"100 ns / Div", 1e-7}, {"200 ns / Div", 2e-7}, {"500 ns / Div", 5e-7},
    {"1 µs / Div", 1e-6},   {"2 µs / Div", 2e-6},   {"5 µs / Div", 5e-6},   {"10 µs / Div", 1e-5},
    {"20 µs / Div", 2e-5},  {"50 µs / Div", 5e-5},  {"100 µs / Div", 1e-4}, {"200 µs / Div", 2e-4},
    {"500 µs / Div", 5e-4}, {"1 ms / Div", 1e-3},   {"2 ms / Div", 2e-3},   {"5 ms / Div", 5e-3},
    {"10 ms / Div", 1e-2},  {"20 ms / Div", 2e-2},  {"50 ms / Div", 5e-2},  {"100 ms / Div", 0.1},
    {"200 ms / Div", 0.2},  {"500 ms / Div", 0.5},  {"1 s / Div", 1.0},     {"2 s / Div", 2.0},
    {"5 s / Div", 5.0},     {"10 s / Div", 10.0},   {"20 s / Div", 20.0},   {"50 s / Div", 50.0},
}};

const std::array<double, kVoltsIndexCount> VoltsPerDivTable = {
    0.0, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0,
};

const std::array<double, kProbeRangeCount> ScaleFactorTable = {
    0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000,
};

namespace {

// The same tables in exact integers, so the label grid needs no rounding:
// volts per division in millivolts, and the probe factor times ten.
constexpr std::array<long long, kVoltsIndexCount> kMillivoltsPerDiv = {0,   2,   5,   10,   20,   50,
                                                                       100, 200, 500, 1000, 2000, 5000};
constexpr std::array<long long, kProbeRangeCount> kFactorTimesTen = {1,   2,   5,    10,   20,   50,   100,
                                                                     200, 500, 1000, 2000, 5000, 10000};

constexpr int kLabelledVoltsCount = kLastLabelledVolts - kFirstLabelledVolts + 1;

// Writes whole / divisor with its fraction, without trailing zeros.
std::string decimalText(long long value, long long divisor) {
    std::string text = std::to_string(value / divisor);
    long long fraction = value % divisor;
    if (fraction == 0)
        return text;
    text += '.';
    for (long long place = divisor / 10; place > 0 && fraction > 0; place /= 10) {
        text += char('0' + fraction / place);
        fraction %= place;
    }
    return text;
}

using LabelGrid = std::array<std::array<std::string, kLabelledVoltsCount>, kProbeRangeCount>;

const LabelGrid& labelGrid() {
    static const LabelGrid grid = [] {
        LabelGrid g;
        for (int range = 0; range < kProbeRangeCount; ++range)
            for (int volts = kFirstLabelledVolts; volts <= kLastLabelledVolts; ++volts)
                g[range][volts - kFirstLabelledVolts] =
                    formatVoltsPerDiv(kMillivoltsPerDiv[volts] * kFactorTimesTen[range]) + " / Div";
        return g;
    }();
    return grid;
}

} // namespace

std::optional<std::string_view> timebaseLabel(int index) {
    if (index < 0 || index >= kTimebaseSteps)
        return std::nullopt;
    return TimebaseTable[std::size_t(index)].label;
}

std::string formatVoltsPerDiv(long long tenthsOfMillivolt) {
    constexpr long long perVolt = 10'000;
    constexpr long long perKilovolt = 10'000'000;
    if (tenthsOfMillivolt >= perKilovolt)
        return decimalText(tenthsOfMillivolt, perKilovolt) + " kV";
    if (tenthsOfMillivolt >= perVolt)
        return decimalText(tenthsOfMillivolt, perVolt) + " V";
    return decimalText(tenthsOfMillivolt, 10) + " mV";
}

std::optional<std::string_view> voltsPerDivLabel(int probeRange, int voltsIndex) {
    if (probeRange < 0 || probeRange >= kProbeRangeCount)
        return std::nullopt;
    if (voltsIndex < kFirstLabelledVolts || voltsIndex > kLastLabelledVolts)
        return std::nullopt;
    return labelGrid()[std::size_t(probeRange)][std::size_t(voltsIndex - kFirstLabelledVolts)];
}

namespace {

constexpr double kSameValue = 1e-6; // relative: the tables' values are exact decimals

bool same(double a, double b) {
    return std::abs(a - b) <= kSameValue * std::abs(b);
}

} // namespace

std::optional<int> timebaseIndexFor(double secondsPerDiv) {
    for (int k = 0; k < kTimebaseSteps; ++k)
        if (same(secondsPerDiv, TimebaseTable[std::size_t(k)].secondsPerDiv))
            return k;
    return std::nullopt;
}

std::optional<double> voltsPerDivOf(int probeRange, int voltsIndex) {
    if (voltsIndex < 1 || voltsIndex >= kVoltsIndexCount || probeRange < 0 || probeRange >= kProbeRangeCount)
        return std::nullopt;
    return VoltsPerDivTable[std::size_t(voltsIndex)] * ScaleFactorTable[std::size_t(probeRange)];
}

std::optional<int> voltsIndexFor(double voltsPerDiv, int probeRange) {
    for (int v = kFirstLabelledVolts; v <= kLastLabelledVolts; ++v)
        if (const auto perDiv = voltsPerDivOf(probeRange, v); perDiv && same(voltsPerDiv, *perDiv))
            return v;
    return std::nullopt;
}

VoltageText FormatVoltage(double volts, char decimalSeparator) {
    double shown = volts;
    std::string_view unit = " mV";
    if (volts >= 1000 || volts <= -1000) {
        shown = volts / 1000;
        unit = " kV";
    } else if (volts >= 1 || volts <= -1) {
        unit = " V";
    } else {
        shown = volts * 1000;
    }

    VoltageText out;
    char number[24];
    auto [end, ec] = std::to_chars(number, number + sizeof number, shown, std::chars_format::fixed, 1);
    if (ec != std::errc())
        return out; // only for absurd magnitudes, which no index pair can produce
    const std::size_t length = std::size_t(end - number);

    // "%3.1f": at least three characters, padded with spaces on the left.
    std::size_t pos = 0;
    for (std::size_t pad = length; pad < 3; ++pad)
        out.chars[pos++] = ' ';
    for (std::size_t i = 0; i < length; ++i)
        out.chars[pos++] = number[i] == '.' ? decimalSeparator : number[i];
    for (char c : unit)
        out.chars[pos++] = c;
    out.size = pos;
    return out;
}

std::optional<double> voltageOf(int scaleIndex, int voltsIndex, int raw) {
    if (voltsIndex < 1 || voltsIndex >= kVoltsIndexCount || scaleIndex < 0 || scaleIndex >= kProbeRangeCount)
        return std::nullopt;
    const double voltsPerUnit = VoltsPerDivTable[std::size_t(voltsIndex)] / 48;
    double v = raw * voltsPerUnit * ScaleFactorTable[std::size_t(scaleIndex)];
    // One division is 24 raw steps but 48 units of the table; hence the doubling.
    return v * 2;
}

std::string CalcVoltage_Value(int scaleIndex, int voltsIndex, int raw, char decimalSeparator) {
    const auto v = voltageOf(scaleIndex, voltsIndex, raw);
    if (!v)
        return {};
    return std::string(FormatVoltage(*v, decimalSeparator).view());
}

} // namespace kavlon
