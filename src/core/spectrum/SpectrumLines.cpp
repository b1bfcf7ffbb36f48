#include "core/spectrum/SpectrumLines.h"

#include <algorithm>
#include <numeric>

namespace kavlon {

double spectrumValue(const TFastFourier& engine, int type, long long line) {
    switch (type) {
    case 0:
        return engine.Magnitude(line);
    case 1:
        return engine.PowerSpec(line);
    case 2:
        return engine.PhaseAngle(line);
    case 3:
        return engine.CosTerms(line);
    case 4:
        return engine.SineTerms(line);
    case 5:
        return engine.DataReal(line + 1);
    case 6:
        return engine.DataImag(line + 1);
    default:
        return 0.0;
    }
}

SpectrumLines spectrumLines(TFastFourier& engine, std::span<const double> samples, int type, double step) {
    const std::size_t n = engine.SpectrumSize();
    const std::span<const double> taken = samples.first(std::min(n, samples.size()));
    const double mean = std::accumulate(taken.begin(), taken.end(), 0.0) / double(n);
    engine.ClearAll();
    for (std::size_t i = 0; i < n; ++i)
        engine.SetDataReal((long long)i + 1, (i < taken.size() ? taken[i] : 0.0) - mean);
    engine.Transform();

    SpectrumLines lines;
    if (type == 0)
        lines.top = engine.MaxMagnitude();
    else if (type == 1)
        lines.top = engine.MaxPower();
    lines.frequency.reserve(n / 2);
    lines.value.reserve(n / 2);
    for (long long line = 1; line <= (long long)n / 2; ++line) {
        lines.frequency.push_back(engine.FreqOfLine(line, step));
        lines.value.push_back(spectrumValue(engine, type, line));
    }
    return lines;
}

} // namespace kavlon
