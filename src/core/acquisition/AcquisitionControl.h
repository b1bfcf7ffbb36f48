#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/acquisition/Commands.h"
#include "core/acquisition/Frames.h"
#include "core/acquisition/ReceiveListener.h"
#include "core/acquisition/ReportWriter.h"
#include "core/acquisition/ShotCoverage.h"
#include "core/acquisition/ShotWindow.h"

#include <chrono>
#include <functional>
#include <string>

namespace kavlon {

// The instrument's side of the main window: sends commands, requests shots and
// interprets every frame the instrument sends, keeping AcquisitionState and
// telling its listener what changed on screen. Main thread only.
class AcquisitionControl {
public:
    AcquisitionControl(ReceiveListener& listener, ReportWriter& writer);

    AcquisitionState State;
    // True while the guided demonstration runs: no USB traffic at all.
    bool DemoMode = false;

    // Sends command bytes 0..count as one output report, unless in the
    // demonstration, not connected, or without a device.
    void TransmittDataUSB(const CommandBytes& data, int count);

    // Writes a command into CommandBuffer and sends it while connected, e.g.
    // sendCommand([](CommandBytes& b) { CmdRunStop(b); }).
    template <class Fill> void sendCommand(Fill&& fill) {
        fill(State.CommandBuffer);
        if (State.Connected)
            TransmittDataUSB(State.CommandBuffer, 6);
    }

    // Asks for the next shot on behalf of the display with this caption. In the
    // demonstration the shot is made here, which takes 128 pauses of 100 ms.
    // The request is pending (RequestName set) until a trailer completes a shot
    // and the listener has taken it (shotCompleted), then settled here.
    void RequestData(const std::string& name);
    // Gives up the pending request when the display with this caption made it, so
    // the shot, should it still come, goes to nobody.
    void dropRequest(const std::string& name);

    // The single entry point for what the instrument sends.
    void InterpretRecvData(Frame frame);

    // Sets the four volts labels from VoltsIndex and ProbeRange where the pair has one.
    void CalcVoltage_Label();

    // The state the main window starts from: four channels, every display number
    // free, no demonstration running.
    void startState();

    // Display numbers in use (DisplaySlots): taken when a numbered display is created,
    // given back when it goes. Numbers outside the table are ignored.
    void takeDisplayNumber(int number);
    void releaseDisplayNumber(int number);
    void releaseDisplayNumbers();

    // A front-panel box as it stands, and its click: the box has become `checked`.
    bool panelBoxChecked(PanelBox box, int channel) const;
    void PanelBoxClick(PanelBox box, int channel, bool checked);

    // The receive progress bar as the interpretation last set it.
    int progressPosition() const { return m_progressPosition; }
    int progressMaximum() const { return m_progressMaximum; }
    // Sample frames of the shot under way, and how many a whole one brings with the
    // channels the instrument last reported on (512 each).
    int shotFrames() const { return m_shotFrames; }
    int expectedShotFrames() const;

    // True while a frame is being interpreted or a demonstration shot is being
    // made; the receive queue waits for it to end rather than re-enter.
    bool busy() const { return m_busyDepth > 0; }

    // How the demonstration shot waits between progress steps; the window
    // replaces it with a wait that keeps painting.
    using Pause = std::function<void(std::chrono::milliseconds)>;
    void setDemoPause(Pause pause) { m_demoPause = std::move(pause); }

private:
    struct BusyScope {
        explicit BusyScope(int& depth) : m_depth(depth) { ++m_depth; }
        ~BusyScope() { --m_depth; }
        int& m_depth;
    };

    void storeSamples(int channel, int progressStep, int offset, const std::uint8_t* samples);
    void interpretSettings(const Frame& f);
    void interpretTrailer(const Frame& f, int shotLength);
    void interpretExtendedTrailer(const Frame& f, int shotLength);
    void interpretExtended(const Frame& f, int shotLength);
    void setPanelBox(PanelBox box, int channel, bool checked);
    void setProgressPosition(int position);
    void makeDemonstrationShot();
    // Nothing of a shot received yet.
    void beginShot();
    // The end of every trailer: hands the shot to the listener when one was asked for.
    void deliverShot(const CutWindow& window);

    // The progress bar's steps for each channel that is on.
    static constexpr int kProgressStepsPerChannel = 64;

    ReceiveListener& m_listener;
    ReportWriter& m_writer;
    Pause m_demoPause;
    ShotCoverage m_coverage;
    std::uint64_t m_requestCount = 0;
    std::array<std::array<bool, kChannels>, 3> m_boxes{};
    int m_progressPosition = 0;
    int m_progressMaximum = 0;
    int m_shotFrames = 0;
    int m_busyDepth = 0;
};

} // namespace kavlon
