#pragma once

#include "cli/Outcome.h"
#include "cli/ShotCoverage.h"

#include "device/hid/HidBackend.h"
#include "device/hid/HidDeviceController.h"
#include "device/link/DeviceConnection.h"
#include "device/link/DeviceLink.h"

#include "core/acquisition/AcquisitionControl.h"
#include "core/shot/ShotRecord.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace kavlon::cli {

struct SessionOptions {
    // How long to wait for an instrument to be plugged in; zero takes what is there.
    std::chrono::milliseconds plugWait{0};
    // How long any one answer (a settings report, a whole shot) may take.
    std::chrono::milliseconds answerWait{std::chrono::seconds(15)};
};

// The receive side of a session: what the interpretation reports, counted.
class SessionListener : public NullReceiveListener {
public:
    int settingsReports = 0;
    int progressPosition = 0;
    int progressMaximum = 0;
    std::function<void(const std::string&)> onShot;
    std::function<void()> onProgress;

    void instrumentControlsEnabled() override { ++settingsReports; }
    void progressPositionChanged(int position) override;
    void progressMaximumChanged(int maximum) override { progressMaximum = maximum; }
    void shotCompleted(const std::string& requestName) override;
};

// Passes reports on to the link and keeps count of the settings reports they will
// bring back: the instrument answers a connection, a front-panel command or a step
// with one, and the check boxes echo what a report changes, which brings another.
class AnswerCountingWriter : public ReportWriter {
public:
    AnswerCountingWriter(DeviceLink& link, const int& reportsSoFar)
        : m_link(link), m_reportsSoFar(reportsSoFar) {}

    std::optional<int> outputReportLength() override { return m_link.outputReportLength(); }
    void writeReport(std::span<const std::uint8_t> report) override;
    // The settings reports due once every command sent so far is answered.
    int reportsDue() const { return m_reportsDue; }

private:
    DeviceLink& m_link;
    const int& m_reportsSoFar;
    int m_reportsDue = 0;
};

// One connection to the instrument for the length of a command: the device layer,
// the acquisition state and the event loop waits, the same pieces the window uses.
// Every wait ends in time, and ends at once when the instrument goes away.
class InstrumentSession {
public:
    InstrumentSession(std::unique_ptr<HidBackend> backend, SessionOptions options);
    ~InstrumentSession();

    // Finds the instrument, connects and waits for its first settings report.
    Outcome connect();
    // Runs the event loop until done() holds; what tells the user what was awaited.
    Outcome waitFor(const std::function<bool()>& done, const std::string& what);
    // Waits until the instrument has answered every command sent so far.
    Outcome settle(const std::string& what);

    // Requests one shot and fills record with it as a Data display would, or fails
    // when the link goes, the shot never completes or a frame of it was lost.
    Outcome captureShot(ShotRecord& record);

    AcquisitionControl& control() { return m_control; }
    const AcquisitionState& state() const { return m_control.State; }
    SessionListener& listener() { return m_listener; }

    // The caption the shots are requested for, as a Data display's would be.
    static constexpr const char* kShotCaption = "Data00";

private:
    void takeShot(const std::string& requestName);

    SessionOptions m_options;
    std::unique_ptr<HidBackend> m_backend;
    SessionListener m_listener;
    DeviceLink m_link;
    AnswerCountingWriter m_writer{m_link, m_listener.settingsReports};
    AcquisitionControl m_control{m_listener, m_writer};
    TJvHidDeviceController m_controller{*m_backend};
    DeviceConnection m_connection{m_control, m_link, m_controller};
    ShotCoverage m_coverage;
    ShotRecord* m_shotTarget = nullptr;
    std::optional<std::string> m_shotGap;
    bool m_shotTaken = false;
    bool m_lost = false;
    QString m_connectFailure;
};

} // namespace kavlon::cli
