#pragma once

#include "core/measure/MeasureCopy.h"
#include "core/shot/ShotRecord.h"

#include <array>
#include <optional>

namespace kavlon::scpi {

// The 22 measurement rows of a shot for every channel, as numbers in their base units:
// volts, seconds, hertz, percent and degrees.
class ShotMeasurements {
public:
    explicit ShotMeasurements(const ShotRecord& record);

    // Row 0-21 in the Measure display's order, channel 1-4; nothing where the shot
    // defines no value (no complete cycle, a channel that was off, channel I's phase).
    std::optional<double> value(int row, int channel) const;

private:
    std::array<std::array<std::optional<double>, kMeasureRows>, kChannels> m_values{};
};

} // namespace kavlon::scpi
