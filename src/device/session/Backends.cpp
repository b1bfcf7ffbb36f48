#include "device/session/Backends.h"

#include "device/hid/HidapiBackend.h"
#include "device/replay/ReplayBackend.h"
#include "device/simulator/SimulatedBackend.h"

namespace kavlon {

std::unique_ptr<HidBackend> makeBackend(const BackendChoice& choice) {
    switch (choice.kind) {
    case BackendChoice::Kind::Simulated:
        return std::make_unique<SimulatedBackend>(SimulationOptions{.paced = !choice.fast});
    case BackendChoice::Kind::Replay:
        return std::make_unique<ReplayBackend>(choice.replay, choice.fast);
    case BackendChoice::Kind::Usb:
        break;
    }
    return std::make_unique<HidapiBackend>();
}

std::unique_ptr<HidBackend> makeHidBackend(bool simulate) {
    BackendChoice choice;
    choice.kind = simulate ? BackendChoice::Kind::Simulated : BackendChoice::Kind::Usb;
    return makeBackend(choice);
}

ReplayBackend* replayOf(HidBackend& backend) {
    return dynamic_cast<ReplayBackend*>(&backend);
}

} // namespace kavlon
