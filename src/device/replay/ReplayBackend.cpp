#include "device/replay/ReplayBackend.h"

#include "device/replay/ReplayInstrument.h"

namespace kavlon {

namespace {

HidDeviceInfo replayInstrumentInfo() {
    return {ReplayBackend::kInstrumentPath, "Quorvel", "Scope Interface", "REPLAY"};
}

SimulationOptions replayOptions(bool fast) {
    // A recording does not poll.
    return {.paced = !fast, .pollInterval = std::chrono::milliseconds(0)};
}

} // namespace

ReplayBackend::ReplayBackend(std::shared_ptr<const ReplayList> list, bool fast)
    : ModelBackend(std::make_unique<ReplayInstrument>(list), replayInstrumentInfo(), replayOptions(fast)),
      m_list(std::move(list)) {}

std::size_t ReplayBackend::currentShot() {
    std::size_t shot = 0;
    // This backend made its model itself.
    withModel([&](InstrumentModel& model) { shot = static_cast<ReplayInstrument&>(model).currentShot(); });
    return shot;
}

std::uint64_t ReplayBackend::shotsSent() {
    std::uint64_t sent = 0;
    withModel([&](InstrumentModel& model) { sent = static_cast<ReplayInstrument&>(model).shotsSent(); });
    return sent;
}

} // namespace kavlon
