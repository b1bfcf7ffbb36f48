#include "device/link/DeviceLink.h"

namespace kavlon {

std::optional<int> DeviceLink::outputReportLength() {
    TJvHidDevice* device = ActiveDevice();
    if (!device)
        return std::nullopt;
    return device->Caps().OutputReportByteLength;
}

void DeviceLink::writeReport(std::span<const std::uint8_t> report) {
    if (TJvHidDevice* device = ActiveDevice())
        device->WriteReport(report);
}

} // namespace kavlon
