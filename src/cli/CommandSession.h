#pragma once

#include "cli/Outcome.h"

#include "device/session/InstrumentSession.h"

#include "core/shot/ShotRecord.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kavlon::cli {

struct SessionOptions {
    // How long to wait for an instrument to be plugged in; zero takes what is there.
    std::chrono::milliseconds plugWait{0};
    // How long any one answer (a settings report, a whole shot) may take.
    std::chrono::milliseconds answerWait{std::chrono::seconds(15)};
    // The serial number of the instrument to use; empty takes the first one found.
    std::string serial;
};

// A span of time as the user wrote it: "15 s", "0.5 s", "0.25 s".
std::string secondsText(std::chrono::milliseconds ms);

// Keeps count of the settings reports the instrument owes: it answers a connection,
// a front-panel command or a step with one, and the check boxes echo what a report
// changes, which brings another.
class AnswerCount {
public:
    explicit AnswerCount(const InstrumentSession& session) : m_session(session) {}
    // Every report written to the instrument, on its way out.
    void written(std::span<const std::uint8_t> report);
    // The settings reports due once every command sent so far is answered.
    int due() const { return m_due; }
    // Nothing is owed any more: the connection the commands went to is gone.
    void forgetOwed() { m_due = m_session.settingsReports(); }

private:
    const InstrumentSession& m_session;
    int m_due = 0;
};

// The instrument session for the length of one command, with the waits a command
// needs: for the instrument to appear, for its answers, for a whole shot. Every
// wait ends in time, and ends at once when the instrument goes away.
class CommandSession {
public:
    CommandSession(std::unique_ptr<HidBackend> backend, SessionOptions options);
    ~CommandSession();

    // Finds the instrument, connects and waits for its first settings report.
    Outcome connect();
    // Runs the event loop until done() holds; what tells the user what was awaited.
    Outcome waitFor(const std::function<bool()>& done, const std::string& what);
    // Waits until the instrument has answered every command sent so far.
    Outcome settle(const std::string& what);

    // Requests one shot and fills record with it as a Data display would, or fails
    // when the link goes, the shot never completes or a frame of it was lost.
    Outcome captureShot(ShotRecord& record);

    // The same steps for a caller that keeps the event loop running itself: every
    // command sent so far answered; the instrument gone; a shot asked for, its end
    // (nothing while it is on its way), and giving up on it.
    bool answeredAll() const { return m_session.settingsReports() >= m_answers.due(); }
    bool lost() const { return m_lost; }
    void requestShot(ShotRecord& record);
    std::optional<Outcome> shotOutcome();
    void abandonShot() { m_shotTarget = nullptr; }
    // The last shot asked for came but lost frames: worth asking for again, unlike a
    // lost link or no answer.
    bool shotLostFrames() const { return m_shotGap.has_value(); }

    InstrumentSession& session() { return m_session; }
    const SessionOptions& options() const { return m_options; }
    AcquisitionControl& control() { return m_session.acquisition(); }
    const AcquisitionState& state() const { return m_session.state(); }

    // The caption the shots are requested for, as a Data display's would be.
    static constexpr const char* kShotCaption = "Data00";

private:
    ShotDelivery takeShot(const CompletedShot& shot);

    SessionOptions m_options;
    InstrumentSession m_session;
    AnswerCount m_answers{m_session};
    ShotRecord* m_shotTarget = nullptr;
    std::optional<std::string> m_shotGap;
    bool m_shotTaken = false;
    bool m_lost = false;
    // Device changes seen: a second try waits for news of the devices.
    int m_deviceChanges = 0;
    QString m_connectFailure;
};

} // namespace kavlon::cli
