#pragma once

#include "device/simulator/SignalGenerator.h"

#include "core/acquisition/AcquisitionState.h"
#include "core/acquisition/Frames.h"

#include <array>
#include <cstdint>
#include <deque>
#include <span>

namespace kavlon {

// The instrument's front panel as it reports it. Channels are 0-based here.
struct SimulatedSettings {
    std::array<int, kChannels> voltsIndex{8, 8, 8, 8}; // 0.5 V / Div
    std::array<int, kChannels> probeRange{3, 3, 3, 3}; // probe factor 1
    std::array<int, kChannels> zeroLevel{124, 124, 124, 124};
    int timebaseIndex = 15; // 200 µs / Div: two to three periods of the default signals
    bool running = true;
    int triggerSource = 1;
    std::array<bool, kChannels> on{true, true, true, true};
    std::array<bool, kChannels> acCoupled{};
    std::array<bool, kChannels> inverted{};
};

// A model of the instrument at the other end of the link: it takes the
// program's output reports, changes its settings within its own tables and
// queues the frames a real one would answer with. Not thread-safe: the
// simulated device layer serialises access.
class SimulatedInstrument {
public:
    static constexpr int kReportLength = 65;
    static constexpr int kFramesPerChannel = kBlockSize / frame::SamplesPerFrame;
    // What it keeps waiting for a host that does not read: three full shots.
    static constexpr std::size_t kMaxPendingFrames = 3 * (kChannels * kFramesPerChannel + 1);

    SimulatedInstrument();

    // One output report from the program: report ID, 0x25, seven command bytes.
    void receive(std::span<const std::uint8_t> report);
    bool hasFrame() const { return !m_pending.empty(); }
    std::size_t pendingFrames() const { return m_pending.size(); }
    Frame takeFrame();

    void sendPoll();
    // A settings report nobody asked for, as the instrument sends when its own knobs turn.
    void sendSettingsReport() { queueSettings(); }
    void sendQuickPrint(int mode);
    // Back to its power-on settings with nothing waiting to be sent.
    void powerOn();

    void setSignal(int channel, const SignalSettings& signal) {
        m_signals[std::size_t(channel - 1)] = signal;
    }
    const SignalSettings& signal(int channel) const { return m_signals[std::size_t(channel - 1)]; }
    const SimulatedSettings& settings() const { return m_settings; }
    // Sample frames in a scrambled order of offsets, as the link allows.
    void setScrambledOrder(bool scrambled) { m_scrambled = scrambled; }

    int pollsSent() const { return m_pollsSent; }
    int acknowledgements() const { return m_acknowledgements; }
    // Answers not sent because too much was already waiting.
    int answersDropped() const { return m_answersDropped; }
    // The raw memory of a channel (1-4) as the last shot sent it.
    std::span<const std::uint8_t, kBlockSize> lastShot(int channel) const {
        return m_memory[std::size_t(channel - 1)];
    }

    // The input report carrying a frame: report ID 0, one unused byte, the frame.
    static std::array<std::uint8_t, kReportLength> reportOf(const Frame& frame);

private:
    void apply(const CommandBytes& command);
    void applyPanel(const CommandBytes& command);
    void applyStep(const CommandBytes& command);
    void autoScale();
    void acquire();
    void queue(const Frame& frame);
    void queueSettings();
    void queueGain();
    void queueShot();
    Frame settingsFrame() const;

    SimulatedSettings m_settings;
    std::array<SignalSettings, kChannels> m_signals;
    std::array<std::array<std::uint8_t, kBlockSize>, kChannels> m_memory{};
    std::deque<Frame> m_pending;
    std::uint32_t m_shotCount = 0;
    bool m_scrambled = false;
    int m_pollsSent = 0;
    int m_acknowledgements = 0;
    int m_answersDropped = 0;
};

} // namespace kavlon
