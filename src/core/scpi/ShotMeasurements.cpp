#include "core/scpi/ShotMeasurements.h"

#include "core/measure/MeasureResults.h"

namespace kavlon::scpi {

ShotMeasurements::ShotMeasurements(const ShotRecord& record) {
    const MeasureResults results = measureResults(takeMeasureCopy(record));
    for (std::size_t c = 0; c < kChannels; ++c)
        for (std::size_t r = 0; r < kMeasureRows; ++r)
            if (results[c].rows[r].defined())
                m_values[c][r] = results[c].rows[r].value;
}

std::optional<double> ShotMeasurements::value(int row, int channel) const {
    if (row < 0 || row >= kMeasureRows || channel < 1 || channel > kChannels)
        return std::nullopt;
    return m_values[std::size_t(channel - 1)][std::size_t(row)];
}

} // namespace kavlon::scpi
