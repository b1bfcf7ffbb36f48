#include "core/link/InputReport.h"

#include <algorithm>
#include <cstring>

namespace kavlon {

Frame frameFromReport(std::span<const std::uint8_t> report, int reportLength) {
    Frame frame{};
    const long long received = (long long)report.size() - kReportFrameOffset;
    long long count = std::min<long long>(received, kFrameSize);
    // ReportLength - 1 would take one byte past the end of a report of that
    // length; the received size keeps it to the bytes that really arrived.
    if (reportLength > 0)
        count = std::min<long long>(count, reportLength - 1);
    if (count > 0)
        std::memcpy(frame.data(), report.data() + kReportFrameOffset, std::size_t(count));
    return frame;
}

} // namespace kavlon
