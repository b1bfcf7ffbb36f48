#pragma once

#include "device/hid/HidDevice.h"

#include "core/acquisition/ReportWriter.h"

#include <memory>
#include <string>
#include <vector>

namespace kavlon {

// The link half of the acquisition state: the accepted devices in enumeration
// order and their device strings. Commands go to the first device, looked up
// again for every report, so a removed instrument simply receives nothing.
class DeviceLink : public ReportWriter {
public:
    std::vector<std::unique_ptr<TJvHidDevice>> DeviceList;
    std::vector<std::string> DeviceNames;

    TJvHidDevice* ActiveDevice() const { return DeviceList.empty() ? nullptr : DeviceList.front().get(); }

    std::optional<int> outputReportLength() override;
    void writeReport(std::span<const std::uint8_t> report) override;
};

} // namespace kavlon
