#include "device/session/Backends.h"

#include "device/hid/HidapiBackend.h"
#include "device/replay/ReplayBackend.h"
#include "device/simulator/SimulatedBackend.h"

namespace kavlon {

std::optional<std::string> instrumentMisuse(const InstrumentOptions& options) {
    if (options.replay && options.replayPaths.empty())
        return "--replay needs shot files or folders of them";
    if (options.replay && options.simulate)
        return "--replay and --simulate name two instruments; give one";
    if (options.fast && !options.replay)
        return "--fast goes with --replay";
    return std::nullopt;
}

std::shared_ptr<const ReplayList> loadReplay(const std::vector<std::filesystem::path>& paths,
                                             const std::function<void(const std::string&)>& tell) {
    auto list = std::make_shared<ReplayList>(loadReplayList(paths));
    for (const std::string& message : replayMessages(*list))
        tell(message);
    if (list->shots.empty())
        return nullptr;
    return list;
}

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
