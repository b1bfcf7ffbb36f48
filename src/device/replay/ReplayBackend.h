#pragma once

#include "device/replay/ReplayList.h"
#include "device/simulator/ModelBackend.h"

#include <memory>

namespace kavlon {

class ReplayInstrument;

// Why a client refuses to change the settings of a replay.
constexpr const char* kReplayCannotChangeSettings = "a replayed instrument cannot change its settings";

// Saved shots played back as the instrument, behind the device layer's interface: it
// enumerates as the scope interface, so the program finds, connects and reads it as it
// does a real one, over a link paced like the real one or, fast, as fast as it is read.
class ReplayBackend : public ModelBackend {
public:
    static constexpr const char* kInstrumentPath = "replay:scope";

    // The list holds at least one shot.
    ReplayBackend(std::shared_ptr<const ReplayList> list, bool fast);

    const ReplayList& list() const { return *m_list; }
    // The shot whose settings the instrument reports (see ReplayInstrument).
    std::size_t currentShot() const;
    std::uint64_t shotsSent() const;

private:
    // Owned by the link; the backend keeps its type to read it.
    ReplayBackend(ReplayInstrument* instrument, std::shared_ptr<const ReplayList> list, bool fast);

    std::shared_ptr<const ReplayList> m_list;
    const ReplayInstrument* m_instrument;
};

} // namespace kavlon
