#pragma once

#include "device/hid/HidBackend.h"
#include "device/replay/ReplayList.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavlon {

class ReplayBackend;

// Which instrument the program talks to: real HID devices, the simulated instrument,
// or saved shots played back as one (the programs' --simulate and --replay). Chosen
// here, above them all, so the HID, simulator and replay folders need not know each other.
struct BackendChoice {
    enum class Kind { Usb, Simulated, Replay };
    Kind kind = Kind::Usb;
    // Replay only: the shots, at least one.
    std::shared_ptr<const ReplayList> replay;
    // The simulated or replayed instrument answers as fast as it is read instead of
    // paced like the real link (--fast).
    bool fast = false;
};

// The programs' --simulate, --replay PATH... and --fast, as each program reads them.
struct InstrumentOptions {
    bool simulate = false;
    bool replay = false;
    bool fast = false;
    std::vector<std::filesystem::path> replayPaths;
};

// Why the options make no sense together, or nothing.
std::optional<std::string> instrumentMisuse(const InstrumentOptions& options);

// The replay's shots, every file read now so that what cannot be played is told (one
// line each) before anything starts; null when none is left, which kNoShotToReplay says.
std::shared_ptr<const ReplayList> loadReplay(const std::vector<std::filesystem::path>& paths,
                                             const std::function<void(const std::string&)>& tell);
constexpr const char* kNoShotToReplay = "no shot to replay";

std::unique_ptr<HidBackend> makeBackend(const BackendChoice& choice);
// Real HID devices, or the simulated instrument paced like the real link.
std::unique_ptr<HidBackend> makeHidBackend(bool simulate);

// The replay a backend plays, or null for any other instrument: what a client asks
// before it offers to change the instrument's settings.
ReplayBackend* replayOf(HidBackend& backend);

} // namespace kavlon
