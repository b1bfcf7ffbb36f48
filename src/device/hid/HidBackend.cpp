#include "device/hid/HidBackend.h"

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

} // namespace kavlon
