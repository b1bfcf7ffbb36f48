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
    : ReplayBackend(new ReplayInstrument(list), list, fast) {}

ReplayBackend::ReplayBackend(ReplayInstrument* instrument, std::shared_ptr<const ReplayList> list, bool fast)
    : ModelBackend(std::unique_ptr<InstrumentModel>(instrument), replayInstrumentInfo(), replayOptions(fast)),
      m_list(std::move(list)), m_instrument(instrument) {}

std::size_t ReplayBackend::currentShot() const {
    std::size_t shot = 0;
    readModel([&] { shot = m_instrument->currentShot(); });
    return shot;
}

std::uint64_t ReplayBackend::shotsSent() const {
    std::uint64_t sent = 0;
    readModel([&] { sent = m_instrument->shotsSent(); });
    return sent;
}

} // namespace kavlon
