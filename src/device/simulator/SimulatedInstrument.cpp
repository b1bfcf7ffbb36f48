#include "device/simulator/SimulatedInstrument.h"

#include "core/acquisition/Commands.h"
#include "core/scales/ScaleTables.h"

#include <algorithm>

namespace kavlon {

namespace {

constexpr int kSamplesPerDiv = 50;
constexpr int kRawStepsPerDiv = 24;
constexpr int kScreenDivs = 12;
constexpr int kTrackBarMax = 384;
constexpr int kTrackBarOrigin = 444;
constexpr int kCentreZeroLevel = 124;
// Auto-scale aims for a trace of at most this many divisions, and at least
// this many periods across the screen.
constexpr double kAutoScaleDivs = 6.0;
constexpr double kAutoScalePeriods = 2.0;
// The default step of the frame order scramble: odd, so it visits every offset.
constexpr int kScrambleStride = 197;

int clampVolts(int index) {
    return std::clamp(index, kFirstLabelledVolts, kLastLabelledVolts);
}
int clampTimebase(int index) {
    return std::clamp(index, 0, kTimebaseSteps - 1);
}

// The settings only ever hold pairs the tables have.
double voltsPerDiv(const SimulatedSettings& s, int c) {
    return voltsPerDivOf(s.probeRange[std::size_t(c)], s.voltsIndex[std::size_t(c)]).value_or(0.0);
}

} // namespace

SimulatedInstrument::SimulatedInstrument() {
    powerOn();
}

void SimulatedInstrument::powerOn() {
    m_settings = SimulatedSettings{};
    m_signals = {{
        {WaveShape::Square, 1000.0, 2.0, 0.0, 0.5},
        {WaveShape::Sine, 1000.0, 1.5, 0.0, 0.5},
        {WaveShape::Triangle, 500.0, 2.0, 0.0, 0.5},
        {WaveShape::Pulse, 2000.0, 1.0, 0.5, 0.25},
    }};
    clearPending();
    m_shotCount = 0;
    acquire();
}

void SimulatedInstrument::apply(const CommandBytes& c) {
    switch (c[0]) {
    case command::kConnect:
        queueGain();
        queueSettings();
        break;
    case command::kRequestData:
        if (m_settings.running)
            acquire();
        queueShot();
        break;
    case command::kPanel:
        applyPanel(c);
        break;
    case command::kStep:
        applyStep(c);
        break;
    case command::kZeroLevel:
        if (c[1] == 0x17 && c[2] >= 1 && c[2] <= kChannels) {
            const int position = std::clamp(c[3] | (c[4] << 8), 0, kTrackBarMax);
            m_settings.zeroLevel[std::size_t(c[2] - 1)] = (kTrackBarOrigin - position) / 2;
            queueSettings();
        }
        break;
    default:
        break; // not a command it knows: no answer
    }
}

void SimulatedInstrument::applyPanel(const CommandBytes& c) {
    auto& s = m_settings;
    const bool checked = c[2] != 0;
    static constexpr std::array<std::uint8_t, kChannels> channelCodes = {0x07, 0x09, 0x0A, 0x0B};
    const auto channel = std::find(channelCodes.begin(), channelCodes.end(), c[1]);
    if (c[1] == 0x18) {
        s.running = !s.running;
    } else if (c[1] == 0x19) {
        acquire();
        s.running = false;
    } else if (c[1] == 0x0C) {
        autoScale();
    } else if (channel != channelCodes.end()) {
        s.on[std::size_t(channel - channelCodes.begin())] = checked;
    } else if (c[1] >= 0x1C && c[1] <= 0x1F) {
        s.acCoupled[std::size_t(c[1] - 0x1C)] = checked;
    } else if (c[1] >= 0x20 && c[1] <= 0x23) {
        s.inverted[std::size_t(c[1] - 0x20)] = checked;
    } else {
        return;
    }
    queueSettings();
}

void SimulatedInstrument::applyStep(const CommandBytes& c) {
    auto& s = m_settings;
    if (c[1] == 0x0B && (c[2] == 1 || c[2] == 2)) {
        s.timebaseIndex = clampTimebase(s.timebaseIndex + (c[2] == 1 ? -1 : 1));
    } else if (c[1] >= 0x05 && c[1] <= 0x08 && (c[2] == 1 || c[2] == 2)) {
        int& volts = s.voltsIndex[std::size_t(c[1] - 0x05)];
        volts = clampVolts(volts + (c[2] == 2 ? 1 : -1));
    } else {
        return;
    }
    queueSettings();
}

void SimulatedInstrument::autoScale() {
    auto& s = m_settings;
    for (std::size_t c = 0; c < kChannels; ++c) {
        const auto& sig = m_signals[c];
        const double span = sig.peakToPeak + (s.acCoupled[c] ? 0.0 : 2 * std::abs(sig.offset));
        int volts = kFirstLabelledVolts;
        while (volts < kLastLabelledVolts &&
               span > kAutoScaleDivs * voltsPerDivOf(s.probeRange[c], volts).value_or(0.0))
            ++volts;
        s.voltsIndex[c] = volts;
        s.zeroLevel[c] = kCentreZeroLevel;
    }
    const auto& trigger = m_signals[std::size_t(std::clamp(s.triggerSource, 1, kChannels) - 1)];
    if (trigger.shape != WaveShape::Noise && trigger.frequency > 0) {
        int tb = 0;
        while (tb < kTimebaseSteps - 1 &&
               kScreenDivs * TimebaseTable[std::size_t(tb)].secondsPerDiv * trigger.frequency <
                   kAutoScalePeriods)
            ++tb;
        s.timebaseIndex = tb;
    }
    s.running = true;
}

void SimulatedInstrument::acquire() {
    ++m_shotCount;
    const double secondsPerSample =
        TimebaseTable[std::size_t(m_settings.timebaseIndex)].secondsPerDiv / kSamplesPerDiv;
    for (int c = 0; c < kChannels; ++c) {
        ChannelView view;
        view.secondsPerSample = secondsPerSample;
        view.voltsPerRawStep = voltsPerDiv(m_settings, c) / kRawStepsPerDiv;
        view.zeroLevel = m_settings.zeroLevel[std::size_t(c)];
        view.acCoupled = m_settings.acCoupled[std::size_t(c)];
        view.inverted = m_settings.inverted[std::size_t(c)];
        renderSignal(m_signals[std::size_t(c)], view, m_shotCount * 4 + std::uint32_t(c) + 1,
                     m_memory[std::size_t(c)]);
    }
}

void SimulatedInstrument::queueSettings() {
    const auto& s = m_settings;
    SettingsReport report;
    report.voltsIndex = s.voltsIndex;
    report.probeRange = s.probeRange;
    report.zeroLevel = s.zeroLevel;
    report.on = s.on;
    report.acCoupled = s.acCoupled;
    report.inverted = s.inverted;
    report.timebaseIndex = s.timebaseIndex;
    report.timeStepIndex = 1;
    report.running = s.running;
    report.triggerSource = s.triggerSource;
    // It triggers at the trigger channel's zero level.
    report.triggerLevel = s.zeroLevel[std::size_t(std::clamp(s.triggerSource, 1, kChannels) - 1)];
    queue(encodeSettings(report));
}

void SimulatedInstrument::queueGain() {
    // Gains of 0 hand the raw samples on unscaled; window mode 1 starts the
    // shot window at sample 0.
    queue(encodeGain(1));
}

void SimulatedInstrument::queueShot() {
    int channelsOn = 0;
    for (bool on : m_settings.on)
        channelsOn += on ? 1 : 0;
    if (!roomFor(std::size_t(channelsOn * kFramesPerMemory + 1)))
        return;
    for (int c = 0; c < kChannels; ++c)
        if (m_settings.on[std::size_t(c)])
            forEachSampleFrame(c, m_memory[std::size_t(c)], m_scrambled ? kScrambleStride : 1,
                               [this](const Frame& f) { queue(f); });
    TrailerReport trailer;
    // The reference levels are percentages of the swing, low to high, at which the
    // analysis times every edge.
    trailer.referenceLevels = {10, 50, 90};
    queue(encodeTrailer(trailer));
}

} // namespace kavlon
