#include "device/simulator/SimulatedBackend.h"

namespace kavlon {

HidDeviceInfo simulatedInstrumentInfo() {
    return {SimulatedBackend::kInstrumentPath, "Quorvel", "Scope Interface", "SIM0001"};
}

SimulatedBackend::SimulatedBackend(SimulationOptions options)
    : ModelBackend(std::make_unique<SimulatedInstrument>(), simulatedInstrumentInfo(), options) {}

void SimulatedBackend::withInstrument(const std::function<void(SimulatedInstrument&)>& f) {
    // This backend made its model itself.
    withModel([&](InstrumentModel& model) { f(static_cast<SimulatedInstrument&>(model)); });
}

} // namespace kavlon
