#include "core/scope/ScopeSource.h"

#include <cmath>

namespace kavlon {

namespace {

constexpr int kScreenColumns = 600;

constexpr std::string_view kFiveSteps25[] = {"1 : 1", "1 : 2.5", "1 : 5", "1 : 10", "1 : 25"};
constexpr std::string_view kFiveSteps2[] = {"1 : 1", "1 : 2", "1 : 4", "1 : 10", "1 : 20"};
constexpr std::string_view kFineSteps[] = {"1 : 0.2", "1 : 0.4", "1 : 1", "1 : 2", "1 : 5"};
constexpr std::string_view kFiveSteps5[] = {"1 : 1", "1 : 2", "1 : 5", "1 : 10", "1 : 20"};
constexpr std::string_view kThreeSteps4[] = {"1 : 1", "1 : 2", "1 : 4"};
constexpr std::string_view kThreeSteps5[] = {"1 : 1", "1 : 2", "1 : 5"};
constexpr std::string_view kThreeSteps25[] = {"1 : 1", "1 : 2.5", "1 : 5"};

constexpr std::array<std::int32_t, 5> kFactors25 = {1, 3, 5, 10, 25};
constexpr std::array<std::int32_t, 5> kFactors2 = {1, 2, 4, 10, 20};
constexpr std::array<std::int32_t, 5> kFactorsFine = {1, 1, 1, 2, 5};
constexpr std::array<std::int32_t, 5> kFactors5 = {1, 2, 5, 10, 20};

} // namespace

void copyShot(const ShotRecord& record, ScopeState& state) {
    for (int k = 1; k <= kChannels; ++k) {
        std::vector<std::int32_t>& samples = state.Samples[std::size_t(k - 1)];
        for (int i = 0; i < kScopeSamples; ++i)
            if (const auto raw = record.Cells.rawValue(k, i))
                samples[std::size_t(i)] = 2 * *raw - 60;
    }
    static_cast<ShotSettings&>(state) = record;
    for (std::size_t c = 0; c < kChannels; ++c)
        state.ZeroRow[c] = 2 * record.ZeroLevel[c] - 60;
}

int scrollMaximum(int timebaseIndex, int samplesPerPixel) {
    if (samplesPerPixel <= 0)
        return 0;
    const double length = shotLength(timebaseIndex);
    const double steps = std::trunc((length - double(kScreenColumns) * samplesPerPixel) / samplesPerPixel);
    return steps > 0 ? int(steps) : 0;
}

std::optional<ZoomRow> zoomRow(int timebaseIndex) {
    switch (timebaseIndex) {
    case 0:
    case 2:
    case 6:
        return ZoomRow{kFiveSteps25, kFactors25};
    case 1:
    case 4:
        return ZoomRow{kFiveSteps2, kFactors2};
    case 3:
        return ZoomRow{kFineSteps, kFactorsFine};
    case 5:
        return ZoomRow{kFiveSteps5, kFactors5};
    default:
        break;
    }
    if (timebaseIndex < 7 || timebaseIndex > 31)
        return std::nullopt;
    // The slow timebases repeat in threes: 7, 10, 13 ...; 8, 11, 14 ...; 9, 12, 15 ...
    switch ((timebaseIndex - 7) % 3) {
    case 0:
        return ZoomRow{kThreeSteps4, kFactors2};
    case 1:
        return ZoomRow{kThreeSteps5, kFactors5};
    default:
        return ZoomRow{kThreeSteps25, kFactors25};
    }
}

} // namespace kavlon
