#include "cli/CommandSession.h"

#include "cli/EventWait.h"
#include "cli/Interruption.h"

#include "core/shot/ShotTransfer.h"

#include <algorithm>

namespace kavlon::cli {

namespace {

// Command groups the instrument answers with a settings report: connect, the
// front panel's buttons and boxes, the steps, the zero level.
bool answeredWithSettings(std::uint8_t group) {
    return group == 0x10 || group == 0x06 || group == 0x08 || group == 0x03;
}

} // namespace

std::string secondsText(std::chrono::milliseconds ms) {
    // Milliseconds are the finest a wait is kept in; trailing zeros say nothing.
    std::string text = std::to_string(ms.count() / 1000);
    if (const long long fraction = ms.count() % 1000; fraction != 0) {
        std::string digits = std::to_string(1000 + fraction).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text += "." + digits;
    }
    return text + " s";
}

void AnswerCount::written(std::span<const std::uint8_t> report) {
    // Report ID, marker, then the command's group byte.
    if (report.size() > 2 && answeredWithSettings(report[2]))
        // Reports the instrument sent by itself do not answer this command.
        m_due = std::max(m_due, m_session.settingsReports()) + 1;
}

CommandSession::CommandSession(std::unique_ptr<HidBackend> backend, SessionOptions options)
    : m_options(options), m_session(std::move(backend)) {
    m_session.setReportObserver([this](std::span<const std::uint8_t> report) { m_answers.written(report); });
    m_session.setShotTaker([this](const CompletedShot& shot) { return takeShot(shot); });
    QObject::connect(&m_session, &InstrumentSession::connectionLost, [this] { m_lost = true; });
    QObject::connect(&m_session, &InstrumentSession::connectButtonEnabled, [this] { ++m_deviceChanges; });
    QObject::connect(&m_session, &InstrumentSession::connectFailed,
                     [this](const QString& reason) { m_connectFailure = reason; });
}

CommandSession::~CommandSession() = default;

Outcome CommandSession::waitFor(const std::function<bool()>& done, const std::string& what) {
    if (runEventsUntil([&] { return m_lost || done(); }, m_options.answerWait) && !m_lost)
        return Outcome::success();
    if (interruptingSignal() != 0)
        return Outcome::failure(ExitCode::Interrupted, "interrupted while waiting for " + what);
    if (m_lost)
        return Outcome::failure(ExitCode::LinkLost, "the instrument went away while waiting for " + what);
    return Outcome::failure(ExitCode::LinkLost, "the instrument sent no " + what + " within " +
                                                    secondsText(m_options.answerWait));
}

Outcome CommandSession::settle(const std::string& what) {
    return waitFor([this] { return answeredAll(); }, what);
}

Outcome CommandSession::connect() {
    m_session.chooseInstrument(m_options.serial);
    m_session.start();
    const auto deadline = std::chrono::steady_clock::now() + m_options.plugWait;
    const auto left = [&] {
        return std::max(std::chrono::milliseconds(0), std::chrono::duration_cast<std::chrono::milliseconds>(
                                                          deadline - std::chrono::steady_clock::now()));
    };
    // An instrument that goes away while it is being connected is waited for again
    // as long as --wait lasts: it may be a loose plug.
    for (int changesSeen = -1;;) {
        const bool found = runEventsUntil(
            [&] { return m_session.connection().connectButtonVerdict() && m_deviceChanges != changesSeen; },
            left());
        if (!found) {
            if (interruptingSignal() != 0)
                return Outcome::failure(ExitCode::Interrupted,
                                        "interrupted while waiting for the instrument");
            return Outcome::failure(ExitCode::NoInstrument, m_options.serial.empty()
                                                                ? "no instrument found (try 'kavloncli list')"
                                                                : "no instrument with serial number " +
                                                                      m_options.serial +
                                                                      " found (try 'kavloncli list')");
        }
        changesSeen = m_deviceChanges;
        m_lost = false;
        m_connectFailure.clear();
        // Answers a connection that went away still owed will never come.
        m_answers.forgetOwed();
        m_session.connectInstrument();
        if (!m_connectFailure.isEmpty())
            return Outcome::failure(ExitCode::NoInstrument,
                                    "cannot connect to the instrument: " + m_connectFailure.toStdString());
        Outcome answered = m_session.connection().reading()
                               ? settle("settings report after connecting")
                               : Outcome::failure(ExitCode::NoInstrument,
                                                  "cannot connect to the instrument: it could not be opened");
        if (answered.ok() || answered.code == ExitCode::Interrupted)
            return answered;
        const bool goneMeanwhile = m_lost || !m_session.connection().reading();
        if (!goneMeanwhile || left().count() == 0) {
            answered.code = ExitCode::NoInstrument;
            return answered;
        }
    }
}

ShotDelivery CommandSession::takeShot(const CompletedShot& shot) {
    // Taken inside the trailer's interpretation, while the state is the shot's.
    if (m_shotTarget && shot.requestName == kShotCaption) {
        m_shotGap = shot.gap;
        if (shot.whole())
            transferShot(m_session.state(), *m_shotTarget, TransferInputs{});
        m_shotTaken = true;
    }
    return ShotDelivery::Settled;
}

void CommandSession::requestShot(ShotRecord& record) {
    m_shotTaken = false;
    m_shotGap.reset();
    m_shotTarget = &record;
    m_session.requestShot(kShotCaption);
}

std::optional<Outcome> CommandSession::shotOutcome() {
    if (!m_shotTaken)
        return std::nullopt;
    m_shotTarget = nullptr;
    if (m_shotGap)
        return Outcome::failure(ExitCode::LinkLost, "incomplete shot: " + *m_shotGap);
    return Outcome::success();
}

Outcome CommandSession::captureShot(ShotRecord& record) {
    requestShot(record);
    const Outcome waited = waitFor([this] { return m_shotTaken; }, "complete shot");
    if (!waited.ok()) {
        abandonShot();
        return waited;
    }
    return *shotOutcome();
}

} // namespace kavlon::cli
