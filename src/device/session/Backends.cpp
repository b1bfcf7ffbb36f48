#include "device/session/Backends.h"

#include "device/hid/HidapiBackend.h"
#include "device/simulator/SimulatedBackend.h"

namespace kavlon {

std::unique_ptr<HidBackend> makeHidBackend(bool simulate) {
    if (simulate)
        return std::make_unique<SimulatedBackend>();
    return std::make_unique<HidapiBackend>();
}

} // namespace kavlon
