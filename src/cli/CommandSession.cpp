#include "cli/CommandSession.h"

#include "cli/EventWait.h"

#include "core/shot/ShotTransfer.h"

#include <algorithm>

namespace kavlon::cli {

namespace {

std::string seconds(std::chrono::milliseconds ms) {
    return std::to_string((ms.count() + 999) / 1000) + " s";
}

// Command groups the instrument answers with a settings report: connect, the
// front panel's buttons and boxes, the steps, the zero level.
bool answeredWithSettings(std::uint8_t group) {
    return group == 0x10 || group == 0x06 || group == 0x08 || group == 0x03;
}

} // namespace

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
    QObject::connect(&m_session, &InstrumentSession::connectFailed,
                     [this](const QString& reason) { m_connectFailure = reason; });
}

CommandSession::~CommandSession() = default;

Outcome CommandSession::waitFor(const std::function<bool()>& done, const std::string& what) {
    if (runEventsUntil([&] { return m_lost || done(); }, m_options.answerWait) && !m_lost)
        return Outcome::success();
    if (m_lost)
        return Outcome::failure(ExitCode::LinkLost, "the instrument went away while waiting for " + what);
    return Outcome::failure(ExitCode::LinkLost,
                            "the instrument sent no " + what + " within " + seconds(m_options.answerWait));
}

Outcome CommandSession::settle(const std::string& what) {
    return waitFor([this] { return answeredAll(); }, what);
}

Outcome CommandSession::connect() {
    m_session.start();
    if (!runEventsUntil([this] { return m_session.connection().connectButtonVerdict(); }, m_options.plugWait))
        return Outcome::failure(ExitCode::NoInstrument, "no instrument found (try 'kavloncli list')");
    m_session.connectInstrument();
    if (!m_session.connection().reading()) {
        const std::string why = m_connectFailure.isEmpty() ? std::string("it could not be opened")
                                                           : m_connectFailure.toStdString();
        return Outcome::failure(ExitCode::NoInstrument, "cannot connect to the instrument: " + why);
    }
    Outcome answered = settle("settings report after connecting");
    if (!answered.ok())
        answered.code = ExitCode::NoInstrument;
    return answered;
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
