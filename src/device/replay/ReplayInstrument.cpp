#include "device/replay/ReplayInstrument.h"

#include "core/acquisition/Commands.h"
#include "core/acquisition/FrameEncoding.h"

namespace kavlon {

ReplayInstrument::ReplayInstrument(std::shared_ptr<const ReplayList> list) : m_list(std::move(list)) {}

void ReplayInstrument::powerOn() {
    clearPending();
    m_current = 0;
    m_next = 0;
    m_shotsSent = 0;
    m_lastReport.clear();
    m_lastGain.reset();
}

void ReplayInstrument::apply(const CommandBytes& command) {
    // A list with nothing to play is refused before a backend is made; should one come
    // here all the same, it stays silent.
    if (m_list->shots.empty())
        return;
    switch (command[0]) {
    case command::kConnect:
        queueGain(true);
        queueSettingsReport(true);
        break;
    case command::kRequestData:
        queueShot();
        break;
    // The front panel's groups: the instrument answers each with a settings report.
    case command::kPanel:
    case command::kStep:
    case command::kZeroLevel:
        queueSettingsReport(true);
        break;
    default:
        break; // not a command it knows: no answer
    }
}

void ReplayInstrument::queueSettingsReport(bool always) {
    const std::vector<Frame>& report = current().settingsReport;
    if ((!always && report == m_lastReport) || !roomFor(report.size()))
        return;
    for (const Frame& f : report)
        queue(f);
    m_lastReport = report;
}

void ReplayInstrument::queueGain(bool always) {
    const Frame& gain = current().gain;
    if ((!always && m_lastGain == gain) || !roomFor(1))
        return;
    queue(gain);
    m_lastGain = gain;
}

void ReplayInstrument::queueShot() {
    const std::size_t shotIndex = m_next;
    const ReplayShot& shot = m_list->shots[shotIndex].shot;
    std::size_t frames = shot.settingsReport.size() + 2;
    for (int c = 0; c < kChannels; ++c)
        frames += shot.sendsChannel(c) ? std::size_t(kFramesPerMemory) : 0;
    // Sent whole or not at all; the program asks again.
    if (!roomFor(frames))
        return;
    m_current = shotIndex;
    m_next = (shotIndex + 1) % m_list->shots.size();
    ++m_shotsSent;
    queueSettingsReport(false);
    queueGain(false);
    std::array<std::uint8_t, kBlockSize> memory;
    for (int c = 0; c < kChannels; ++c) {
        if (!shot.sendsChannel(c))
            continue;
        shot.fillMemory(c, memory);
        forEachSampleFrame(c, memory, 1, [this](const Frame& f) { queue(f); });
    }
    queue(shot.trailer);
}

} // namespace kavlon
