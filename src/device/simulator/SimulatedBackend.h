#pragma once

#include "device/simulator/ModelBackend.h"
#include "device/simulator/SimulatedInstrument.h"

#include <functional>

namespace kavlon {

// The simulated instrument behind the device layer's interface: it enumerates
// as the scope interface.
class SimulatedBackend : public ModelBackend {
public:
    static constexpr const char* kInstrumentPath = "sim:scope";

    explicit SimulatedBackend(SimulationOptions options = {});

    // Runs f on the instrument while the link is held still; safe from any thread.
    void withInstrument(const std::function<void(SimulatedInstrument&)>& f);

private:
    // Owned by the link; the backend keeps its type to hand it out.
    SimulatedBackend(SimulatedInstrument* instrument, SimulationOptions options);

    SimulatedInstrument* m_instrument;
};

// The instrument's own enumeration entry.
HidDeviceInfo simulatedInstrumentInfo();

} // namespace kavlon
