#include "core/spectrum/SpectrumSamples.h"

#include <algorithm>
#include <cmath>

namespace kavlon {

namespace {

constexpr int kOutputLength = 1201;
constexpr int kTakenSamples = 601;

// Samples are whole screen values (2v - 60) or earlier outputs; anything else is bounded
// before it becomes an integer.
int inputOf(double screen) {
    if (!std::isfinite(screen))
        return 0;
    return int(std::trunc(std::clamp(screen, -1e6, 1e6)));
}

} // namespace

void readSpectrumSamples(const ShotRecord& record, int n, SpectrumSamples& samples) {
    const double step = readingStep(record.SamplesPerPixel);
    for (int i = 0; i < std::min(n, SpectrumSamples::kLength); ++i) {
        const double sample = std::trunc(i * step);
        if (!(sample >= 0 && sample < ShotCells::kNumberedRows))
            continue;
        for (int k = 1; k <= kChannels; ++k)
            if (const auto raw = record.Cells.rawValue(k, int(sample)))
                samples.x[std::size_t(k - 1)][std::size_t(i)] = 2.0 * *raw - 60;
    }
}

void interpolateFastTimebase(const ShotSettings& shot, int n, const InterpolationTable& table,
                             SpectrumSamples& samples) {
    const int timebase = shot.TimebaseIndex;
    if ((timebase != 2 && timebase != 3) || n <= 0)
        return;
    const int inputs = timebase == 2 ? 151 : 301;
    const int lastPosition = timebase == 2 ? 125 : 245;
    const int stride = timebase == 2 ? 1 : 2;
    const int last = std::min(n, SpectrumSamples::kLength) - 1;
    std::vector<int> input(static_cast<std::size_t>(inputs));
    std::vector<int> output(kOutputLength);
    for (std::vector<double>& x : samples.x) {
        for (int i = 0; i < inputs; ++i) {
            const long long at = std::clamp((long long)shot.HeaderValue1 - 10 + i, 0LL, (long long)last);
            input[std::size_t(i)] = inputOf(x[std::size_t(at)]);
        }
        const std::size_t made = interpolate(table, input, 5, lastPosition, output);
        for (int i = 0; i < kTakenSamples && std::size_t(i * stride) < made; ++i)
            x[std::size_t(i)] = output[std::size_t(i * stride)];
    }
}

} // namespace kavlon
