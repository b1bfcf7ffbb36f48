#include "device/hid/HidBackend.h"

#include "device/hid/HidapiBackend.h"
#include "device/simulator/SimulatedBackend.h"

namespace kavlon {

std::string infoString(const HidDeviceInfo& info, int index) {
    switch (index) {
    case 1:
        return info.manufacturer;
    case 2:
        return info.product;
    case 3:
        return info.serialNumber;
    default:
        return {};
    }
}

std::unique_ptr<HidBackend> makeHidBackend(bool simulate) {
    if (simulate)
        return std::make_unique<SimulatedBackend>();
    return std::make_unique<HidapiBackend>();
}

} // namespace kavlon
