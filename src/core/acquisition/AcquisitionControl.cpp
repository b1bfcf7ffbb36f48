#include "core/acquisition/AcquisitionControl.h"

#include "core/acquisition/FrameEncoding.h"
#include "core/scales/ScaleTables.h"

#include <thread>

namespace kavlon {

namespace {

constexpr int kDemoProgressSteps = 128;
constexpr std::chrono::milliseconds kDemoProgressPause{100};

struct DemoSquare {
    std::uint8_t high;
    std::uint8_t low;
};
constexpr std::array<DemoSquare, kChannels> kDemoLevels = {{{100, 70}, {200, 170}, {150, 120}, {250, 220}}};

bool validChannel(int channel) {
    return channel >= 1 && channel <= kChannels;
}

} // namespace

AcquisitionControl::AcquisitionControl(ReceiveListener& listener, ReportWriter& writer)
    : m_listener(listener), m_writer(writer),
      m_demoPause([](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); }) {}

void AcquisitionControl::TransmittDataUSB(const CommandBytes& data, int count) {
    if (DemoMode || !State.Connected)
        return;
    // The device may have gone since the last send; the writer looks it up afresh.
    const auto reportLength = m_writer.outputReportLength();
    if (!reportLength)
        return;
    const auto report = buildOutputReport(data, count, *reportLength);
    if (!report.empty())
        m_writer.writeReport(report);
}

void AcquisitionControl::RequestData(const std::string& name) {
    State.RequestName = name;
    ++m_requestCount;
    // The instrument answers a request with a whole new transfer.
    beginShot();
    CmdRequestData(State.CommandBuffer);
    if (DemoMode) {
        makeDemonstrationShot();
        return;
    }
    if (State.Connected)
        TransmittDataUSB(State.CommandBuffer, 6);
}

void AcquisitionControl::dropRequest(const std::string& name) {
    if (State.RequestName == name)
        State.RequestName.clear();
}

void AcquisitionControl::makeDemonstrationShot() {
    BusyScope busy(m_busyDepth);
    for (int c = 0; c < kChannels; ++c) {
        auto raw = State.RawSamples(c);
        const auto level = kDemoLevels[std::size_t(c)];
        for (int i = 0; i < kBlockSize; ++i)
            raw[std::size_t(i)] = (i / 100) % 2 == 0 ? level.high : level.low;
    }
    m_coverage.markAll();
    for (int step = 0; step < kDemoProgressSteps; ++step) {
        setProgressPosition(m_progressPosition + 1);
        m_demoPause(kDemoProgressPause);
    }
    InterpretRecvData(DemoSettingsFrame);
    InterpretRecvData(DemoTrailerFrame);
}

int AcquisitionControl::expectedShotFrames() const {
    return m_progressMaximum / kProgressStepsPerChannel * kFramesPerMemory;
}

void AcquisitionControl::beginShot() {
    m_coverage.reset();
    m_shotFrames = 0;
}

void AcquisitionControl::CalcVoltage_Label() {
    for (int c = 0; c < kChannels; ++c) {
        if (auto label =
                voltsPerDivLabel(State.ProbeRange[std::size_t(c)], State.VoltsIndex[std::size_t(c)])) {
            State.VoltsPerDivText[std::size_t(c)] = std::string(*label);
            m_listener.voltsLabelChanged(c + 1, *label);
        }
    }
}

void AcquisitionControl::startState() {
    State.ChannelCount = 4;
    releaseDisplayNumbers();
    DemoMode = false;
}

void AcquisitionControl::takeDisplayNumber(int number) {
    if (number >= 0 && number < kDisplaySlotCount)
        State.DisplaySlots[std::size_t(number)] = number;
}

void AcquisitionControl::releaseDisplayNumber(int number) {
    if (number >= 0 && number < kDisplaySlotCount)
        State.DisplaySlots[std::size_t(number)] = -1;
}

void AcquisitionControl::releaseDisplayNumbers() {
    State.DisplaySlots.fill(-1);
}

bool AcquisitionControl::panelBoxChecked(PanelBox box, int channel) const {
    if (!validChannel(channel))
        return false;
    return m_boxes[std::size_t(box)][std::size_t(channel - 1)];
}

void AcquisitionControl::PanelBoxClick(PanelBox box, int channel, bool checked) {
    if (!validChannel(channel))
        return;
    m_boxes[std::size_t(box)][std::size_t(channel - 1)] = checked;
    sendCommand([&](CommandBytes& b) {
        switch (box) {
        case PanelBox::Channel:
            CmdChannelOn(b, channel, checked);
            break;
        case PanelBox::Coupling:
            CmdCoupling(b, channel, checked);
            break;
        case PanelBox::Invert:
            CmdInvert(b, channel, checked);
            break;
        }
    });
}

// A report that changes a box runs its click handler, so a connected instrument
// hears its own state back; setting a box to what it shows sends nothing.
void AcquisitionControl::setPanelBox(PanelBox box, int channel, bool checked) {
    if (panelBoxChecked(box, channel) == checked)
        return;
    m_listener.panelBoxChanged(box, channel, checked);
    PanelBoxClick(box, channel, checked);
}

void AcquisitionControl::setProgressPosition(int position) {
    m_progressPosition = position;
    m_listener.progressPositionChanged(position);
}

} // namespace kavlon
