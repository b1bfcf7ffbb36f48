#pragma once

#include "device/simulator/InstrumentModel.h"
#include "device/simulator/SignalGenerator.h"

#include "core/acquisition/AcquisitionState.h"

#include <array>
#include <cstdint>
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
// queues the frames a real one would answer with.
class SimulatedInstrument : public InstrumentModel {
public:
    SimulatedInstrument();

    void powerOn() override;
    // A settings report nobody asked for, as the instrument sends when its own knobs turn.
    void sendSettingsReport() { queueSettings(); }

    void setSignal(int channel, const SignalSettings& signal) {
        m_signals[std::size_t(channel - 1)] = signal;
    }
    const SignalSettings& signal(int channel) const { return m_signals[std::size_t(channel - 1)]; }
    const SimulatedSettings& settings() const { return m_settings; }
    // Sample frames in a scrambled order of offsets, as the link allows.
    void setScrambledOrder(bool scrambled) { m_scrambled = scrambled; }

    // The raw memory of a channel (1-4) as the last shot sent it.
    std::span<const std::uint8_t, kBlockSize> lastShot(int channel) const {
        return m_memory[std::size_t(channel - 1)];
    }

protected:
    void apply(const CommandBytes& command) override;

private:
    void applyPanel(const CommandBytes& command);
    void applyStep(const CommandBytes& command);
    void autoScale();
    void acquire();
    void queueSettings();
    void queueGain();
    void queueShot();

    SimulatedSettings m_settings;
    std::array<SignalSettings, kChannels> m_signals;
    std::array<std::array<std::uint8_t, kBlockSize>, kChannels> m_memory{};
    std::uint32_t m_shotCount = 0;
    bool m_scrambled = false;
};

} // namespace kavlon
