#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/shot/ShotRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kavlon::scpi {

struct InstrumentIdentity {
    std::string maker;
    std::string model;
    std::string serial;
    std::string version; // the program's
};

// The instrument's settings as it last reported them. Channels 0..3 are 1..4.
struct InstrumentSettings {
    int channelCount = kChannels;
    int timebaseIndex = 0; // the TimebaseTable entry shown, zoom included
    std::array<int, kChannels> voltsIndex{};
    std::array<int, kChannels> probeRange{};
    std::array<int, kChannels> zeroLevel{};
    std::array<bool, kChannels> on{};
    std::array<bool, kChannels> acCoupled{};
    std::array<bool, kChannels> inverted{};
    bool running = false;
    int triggerSource = 0; // 0 free run, 1-4 a channel, 5 external
    int triggerLevel = 0;  // on the trigger channel's raw scale
};

// Something the instrument is asked to do that takes an answer from it.
struct InstrumentAction {
    enum class Kind { Run, Stop, Single, AutoScale, Digitize, Timebase, Volts, Display, Coupling, Invert };
    Kind kind = Kind::Run;
    int channel = 0;  // 1-4 where the kind has one
    double value = 0; // seconds or volts per division; 1 or 0 for a box (AC for coupling)
};

struct ActionResult {
    enum class Kind {
        Done,
        NotOffered,     // the instrument did not go where it was asked
        NoAnswer,       // it went away or stopped answering
        IncompleteShot, // a frame of the shot was lost
        Refused,        // it cannot change what was asked (a recording played back)
    };
    Kind kind = Kind::Done;
    std::string detail;
    static ActionResult done() { return {}; }
};

// The instrument as the command tree sees it: what it reported, the last shot taken,
// and the actions that change it. An action's result may come at once or later, when
// the instrument has answered; the executor waits for it without holding the thread.
class ScpiInstrument {
public:
    virtual ~ScpiInstrument() = default;

    virtual InstrumentIdentity identity() const = 0;
    virtual InstrumentSettings settings() const = 0;
    // Connected and answering, for *TST?.
    virtual bool healthy() const = 0;
    // The last whole shot taken, or nothing before the first; it changes only when a
    // Digitize completes, and shotCount() counts those.
    virtual const ShotRecord* lastShot() const = 0;
    virtual std::uint64_t shotCount() const = 0;

    // Starts the action; its result when it is already known, otherwise nothing, and the
    // result goes to the executor's resume() once the instrument has answered.
    virtual std::optional<ActionResult> begin(const InstrumentAction& action) = 0;
};

} // namespace kavlon::scpi
