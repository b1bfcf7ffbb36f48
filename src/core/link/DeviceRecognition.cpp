#include "core/link/DeviceRecognition.h"

namespace kavlon {

std::string deviceStringOf(const std::array<std::string, 4>& descriptors) {
    std::string s = descriptors[0];
    for (std::size_t i = 1; i < descriptors.size(); ++i) {
        if (!descriptors[i].empty()) {
            s += ' ';
            s += descriptors[i];
        }
    }
    return s;
}

bool isInstrumentDeviceString(std::string_view deviceString) {
    return deviceString == kSerialAdapterString || deviceString.substr(0, 24) == kScopeInterfaceString;
}

} // namespace kavlon
