// Decoding of every frame the instrument sends, and what each one changes.
#include "core/acquisition/AcquisitionControl.h"

#include "core/acquisition/ShotWindow.h"
#include "core/scales/ScaleTables.h"

#include <algorithm>
#include <cstring>

namespace kavlon {

namespace {

constexpr int kZeroLevelTrackBarOrigin = 444;

bool startsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

void AcquisitionControl::InterpretRecvData(Frame frame) {
    BusyScope busy(m_busyDepth);
    // The shot length follows the timebase the instrument reported before this frame.
    const int shotLength = State.currentShotLength();
    const std::uint8_t type = frame[0];

    if (type >= frame::SampleCh1 && type <= frame::SampleCh4) {
        storeSamples(type - frame::SampleCh1 + 1, frame[1], frame::be16(frame, 1), &frame[3]);
        return;
    }
    switch (type) {
    case frame::Settings:
        interpretSettings(frame);
        break;
    case frame::Trailer:
        interpretTrailer(frame, shotLength);
        break;
    case frame::Gain:
        for (int c = 0; c < kChannels; ++c)
            State.ChannelGain[std::size_t(c)] = frame[std::size_t(2 + c)];
        State.WindowMode = frame[6];
        break;
    case frame::QuickPrint:
        m_listener.quickPrintRequested(frame[1]);
        break;
    case frame::Poll:
        sendCommand([](CommandBytes& b) { CmdAcknowledge(b); });
        break;
    case frame::Extended:
        interpretExtended(frame, shotLength);
        break;
    default:
        break; // not ours to know
    }
}

void AcquisitionControl::interpretExtended(const Frame& f, int shotLength) {
    const std::uint8_t subtype = f[1];
    if (subtype >= frame::ExtSampleCh1 && subtype <= frame::ExtSampleCh4)
        storeSamples(subtype, f[2], frame::be16(f, 2), &f[4]);
    else if (subtype == frame::ExtSettings)
        interpretSettings(f);
    else if (subtype == frame::ExtTrailer)
        interpretExtendedTrailer(f, shotLength);
}

void AcquisitionControl::storeSamples(int channel, int progressStep, int offset,
                                      const std::uint8_t* samples) {
    ++m_shotFrames;
    setProgressPosition(progressStep + kProgressStepsPerChannel * (channel - 1));
    // A damaged offset may point past the end of the memory: what fits is kept,
    // the rest of the frame is dropped.
    if (offset >= kBlockSize)
        return;
    const int count = std::min(frame::SamplesPerFrame, kBlockSize - offset);
    std::memcpy(State.RawSamples(channel - 1).data() + offset, samples, std::size_t(count));
    m_coverage.mark(channel, offset);
}

void AcquisitionControl::interpretSettings(const Frame& f) {
    auto& s = State;
    for (std::size_t c = 0; c < kChannels; ++c) {
        s.VoltsIndex[c] = f[2 + c];
        s.ProbeRange[c] = f[23 + c] - frame::ProbeRangeBias;
    }
    s.TimebaseIndex = f[6];
    s.TimebaseOffset = f[7];
    s.TimeStepIndex = f[13];

    s.Running = f[15] == 1;
    m_listener.runStateChanged(s.Running);

    for (std::size_t c = 0; c < kChannels; ++c) {
        s.ZeroLevel[c] = f[8 + c];
        m_listener.zeroLevelPositionChanged(int(c) + 1, kZeroLevelTrackBarOrigin - 2 * s.ZeroLevel[c]);
    }

    s.ChannelCount = f[12];
    s.TriggerSource = f[16];
    s.TriggerLevel = f[17];

    for (std::size_t c = 0; c < kChannels; ++c) {
        const std::uint8_t status = f[18 + c];
        s.ChannelOn[c] = (status & 0x01) != 0;
        setPanelBox(PanelBox::Coupling, int(c) + 1, (status & 0x02) != 0 && (status & 0x04) == 0);
        setPanelBox(PanelBox::Invert, int(c) + 1, (status & 0x10) != 0);
    }
    s.AuxFlag = (f[22] & 0x01) != 0;

    m_listener.instrumentControlsEnabled();
    m_listener.upperChannelsVisible(s.ChannelCount != 2);

    int channelsOn = 0;
    for (std::size_t c = 0; c < kChannels; ++c) {
        setPanelBox(PanelBox::Channel, int(c) + 1, s.ChannelOn[c]);
        m_listener.channelControlsEnabled(int(c) + 1, s.ChannelOn[c]);
        channelsOn += s.ChannelOn[c] ? 1 : 0;
    }
    m_listener.dataRefreshButtonsEnabled();

    m_progressMaximum = kProgressStepsPerChannel * channelsOn;
    m_listener.progressMaximumChanged(m_progressMaximum);

    if (auto label = timebaseLabel(s.TimebaseIndex + s.TimebaseOffset))
        m_listener.timebaseLabelChanged(*label);
    CalcVoltage_Label();
}

void AcquisitionControl::interpretTrailer(const Frame& f, int shotLength) {
    auto& s = State;
    s.ReferenceLevels = {f[24], f[25], f[26]};
    s.TriggerPoint = frame::le16(f, 31);
    if (DemoMode || s.WindowMode == 1)
        s.WindowStart = 0;
    else
        s.WindowStart = frame::le16(f, 33) + frame::WindowOffset;
    s.TrailerValue = frame::le16(f, 35);

    const CutWindow window = cutShotWindow(s, shotLength);

    const bool quickPrint = startsWith(s.RequestName, "QP_Data");
    deliverShot(window);
    if (quickPrint)
        m_listener.quickPrintShotDelivered();
}

void AcquisitionControl::interpretExtendedTrailer(const Frame& f, int shotLength) {
    auto& s = State;
    s.ReferenceLevels = {f[24], f[25], f[26]};
    s.TriggerPoint = frame::le16(f, 31);
    s.WindowStart = frame::le16(f, 35);

    deliverShot(cutExtendedShotWindow(s, shotLength));
}

void AcquisitionControl::deliverShot(const CutWindow& window) {
    if (!State.RequestName.empty()) {
        // The listener may ask for the next shot while it takes this one (even for
        // the same display): only the request answered here is settled.
        const std::string name = State.RequestName;
        const std::uint64_t request = m_requestCount;
        const CompletedShot shot{name, m_coverage.gap(State, window.first, window.length)};
        if (m_listener.shotCompleted(shot) == ShotDelivery::Settled && m_requestCount == request)
            State.RequestName.clear();
    }
    // Whatever comes next belongs to the next shot.
    beginShot();
}

} // namespace kavlon
