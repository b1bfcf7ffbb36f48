#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kavlon {

// Where output reports go: the active device of the device layer, a simulated
// instrument, or a recorder in tests.
class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    // The output report length (report ID included) of the device that would
    // receive the next report, read afresh; nullopt when there is no device.
    virtual std::optional<int> outputReportLength() = 0;
    // Fire and forget: the link does not report failed writes.
    virtual void writeReport(std::span<const std::uint8_t> report) = 0;
};

} // namespace kavlon
