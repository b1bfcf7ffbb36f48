#include "device/simulator/SimulatedBackend.h"

namespace kavlon {

HidDeviceInfo simulatedInstrumentInfo() {
    return {SimulatedBackend::kInstrumentPath, "Quorvel", "Scope Interface", "SIM0001"};
}

SimulatedBackend::SimulatedBackend(SimulationOptions options)
    : SimulatedBackend(new SimulatedInstrument, options) {}

SimulatedBackend::SimulatedBackend(SimulatedInstrument* instrument, SimulationOptions options)
    : ModelBackend(std::unique_ptr<InstrumentModel>(instrument), simulatedInstrumentInfo(), options),
      m_instrument(instrument) {}

void SimulatedBackend::withInstrument(const std::function<void(SimulatedInstrument&)>& f) {
    withModel([&](InstrumentModel&) { f(*m_instrument); });
}

} // namespace kavlon
