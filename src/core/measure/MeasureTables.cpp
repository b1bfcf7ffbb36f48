#include "core/measure/MeasureTables.h"

namespace kavlon {

const std::array<double, 12> MeasureVoltsPerDiv = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05,
                                                   0.1,   0.2,   0.5,   1,    2,    5};

const std::array<double, 13> MeasureProbeFactor = {0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};

const std::array<float, 32> SampleTimeTable = {
    0.00004f, 0.0001f,  0.0002f,  0.0004f,  0.001f,    0.002f,    0.004f,    0.01f,
    0.02f,    0.04f,    0.1f,     0.2f,     0.4f,      1.0f,      2.0f,      4.0f,
    10.0f,    20.0f,    40.0f,    100.0f,   200.0f,    400.0f,    1000.0f,   2000.0f,
    4000.0f,  10000.0f, 20000.0f, 40000.0f, 100000.0f, 200000.0f, 400000.0f, 1000000.0f,
};

std::optional<float> CalcVolage(int voltsPerDivIndex, int probeIndex, int u) {
    if (voltsPerDivIndex < 0 || voltsPerDivIndex >= int(MeasureVoltsPerDiv.size()) || probeIndex < 0 ||
        probeIndex >= int(MeasureProbeFactor.size()))
        return std::nullopt;
    const long double volts = (long double)MeasureVoltsPerDiv[std::size_t(voltsPerDivIndex)] *
                              MeasureProbeFactor[std::size_t(probeIndex)] / 48 * u;
    return float(volts);
}

std::optional<float> CalcTime(int timeIndex, bool reciprocal, int n) {
    if (timeIndex < 0 || timeIndex >= int(SampleTimeTable.size()))
        return std::nullopt;
    const float step = float(SampleTimeTable[std::size_t(timeIndex)] / 1000000.0);
    const float t = float(double(n) * step);
    return reciprocal ? float(1.0 / double(t)) : t;
}

} // namespace kavlon
