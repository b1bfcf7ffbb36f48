// kavloncli list: the instruments found and whether this user may open them.
#include "cli/CommandLine.h"

#include "device/session/InstrumentSession.h"

#include "core/link/DeviceRecognition.h"

#include "cli/EventWait.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>

#include <unistd.h>

namespace kavlon::cli {

namespace {

struct FoundInstrument {
    std::string path;
    std::string name;
    bool usable = false;
};

// Why an instrument that was found cannot be opened, and what helps.
std::string unusableReason(const std::string& path) {
    std::error_code error;
    if (std::filesystem::exists(path, error) && ::access(path.c_str(), R_OK | W_OK) != 0)
        return "no permission: install the udev rule 60-kavlon.rules (see the README, \"Linux: access to the "
               "instrument\") and plug the instrument in again";
    return "cannot be opened: it may be in use or going away; plug it in again";
}

std::vector<FoundInstrument> findInstruments(TJvHidDeviceController& controller) {
    std::vector<FoundInstrument> found;
    controller.setOnEnumerate([&](TJvHidDevice& device, int index) {
        const std::string name = deviceStringOf(device);
        if (isInstrumentDeviceString(name)) {
            // Opening it is the only sure test of whether this user may.
            auto opened = controller.CheckOutByIndex(index);
            found.push_back({device.devicePath(), name, opened != nullptr});
            controller.CheckIn(std::move(opened));
        }
        return true;
    });
    controller.Enumerate();
    controller.setOnEnumerate({});
    return found;
}

void printFound(const std::vector<FoundInstrument>& found) {
    for (const FoundInstrument& f : found) {
        // The device string begins with the blank of its empty first descriptor.
        const std::string state = f.usable ? "usable" : unusableReason(f.path);
        std::printf("%-20s %-36s %s\n", f.path.c_str(), f.name.c_str() + (f.name.starts_with(' ') ? 1 : 0),
                    state.c_str());
    }
}

} // namespace

int runList(const QStringList& arguments, const BackendMaker& makeBackend) {
    CommandLine line("list", "Lists the instruments found, and whether this user may use them.\n"
                             "Exits with 0 when at least one is usable, 2 otherwise.");
    if (auto done = line.parse(arguments))
        return *done;
    // The session is not started: only its device list is looked at, nothing is opened.
    InstrumentSession session(makeBackend(line.simulate()));
    TJvHidDeviceController& controller = session.controller();
    bool changed = true;
    controller.setOnDeviceChange([&] { changed = true; });
    std::vector<FoundInstrument> found;
    runEventsUntil(
        [&] {
            if (std::exchange(changed, false))
                found = findInstruments(controller);
            return !found.empty();
        },
        line.sessionOptions().plugWait);
    controller.detachOnDeviceChange();
    printFound(found);
    const bool anyUsable = std::any_of(found.begin(), found.end(), [](const auto& f) { return f.usable; });
    if (found.empty())
        return finish(Outcome::failure(ExitCode::NoInstrument, "no instrument found"));
    return anyUsable
               ? int(ExitCode::Ok)
               : finish(Outcome::failure(ExitCode::NoInstrument, "no instrument that this user may use"));
}

} // namespace kavlon::cli
