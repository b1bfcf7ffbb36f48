#include "cli/InstrumentSession.h"

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

void AnswerCountingWriter::writeReport(std::span<const std::uint8_t> report) {
    // Report ID, marker, then the command's group byte.
    if (report.size() > 2 && answeredWithSettings(report[2]))
        // Reports the instrument sent by itself do not answer this command.
        m_reportsDue = std::max(m_reportsDue, m_reportsSoFar) + 1;
    m_link.writeReport(report);
}

void SessionListener::progressPositionChanged(int position) {
    progressPosition = position;
    if (onProgress)
        onProgress();
}

void SessionListener::shotCompleted(const std::string& requestName) {
    if (onShot)
        onShot(requestName);
}

InstrumentSession::InstrumentSession(std::unique_ptr<HidBackend> backend, SessionOptions options)
    : m_options(options), m_backend(std::move(backend)) {
    m_listener.onShot = [this](const std::string& name) { takeShot(name); };
    m_connection.pump().setFrameObserver([this](const Frame& f) { m_coverage.observe(f); });
    QObject::connect(&m_connection, &DeviceConnection::connectionLost, [this] { m_lost = true; });
    QObject::connect(&m_connection, &DeviceConnection::connectFailed,
                     [this](const QString& reason) { m_connectFailure = reason; });
}

InstrumentSession::~InstrumentSession() = default;

Outcome InstrumentSession::waitFor(const std::function<bool()>& done, const std::string& what) {
    if (runEventsUntil([&] { return m_lost || done(); }, m_options.answerWait) && !m_lost)
        return Outcome::success();
    if (m_lost)
        return Outcome::failure(ExitCode::LinkLost, "the instrument went away while waiting for " + what);
    return Outcome::failure(ExitCode::LinkLost,
                            "the instrument sent no " + what + " within " + seconds(m_options.answerWait));
}

Outcome InstrumentSession::settle(const std::string& what) {
    return waitFor([this] { return m_listener.settingsReports >= m_writer.reportsDue(); }, what);
}

Outcome InstrumentSession::connect() {
    m_connection.start();
    if (!runEventsUntil([this] { return m_connection.connectButtonVerdict(); }, m_options.plugWait))
        return Outcome::failure(ExitCode::NoInstrument, "no instrument found (try 'kavloncli list')");
    m_connection.Open_TBtnClick();
    if (!m_connection.reading()) {
        const std::string why = m_connectFailure.isEmpty() ? std::string("it could not be opened")
                                                           : m_connectFailure.toStdString();
        return Outcome::failure(ExitCode::NoInstrument, "cannot connect to the instrument: " + why);
    }
    Outcome answered = settle("settings report after connecting");
    if (!answered.ok())
        answered.code = ExitCode::NoInstrument;
    return answered;
}

void InstrumentSession::takeShot(const std::string& requestName) {
    // Taken inside the trailer's interpretation, while the state is the shot's.
    if (m_shotTarget && requestName == kShotCaption) {
        m_shotGap = m_coverage.gap(m_control.State);
        if (!m_shotGap)
            transferShot(m_control.State, *m_shotTarget, TransferInputs{});
        m_shotTaken = true;
    }
    settleRequest(m_control.State, true);
}

Outcome InstrumentSession::captureShot(ShotRecord& record) {
    m_coverage.reset();
    m_shotTaken = false;
    m_shotGap.reset();
    m_shotTarget = &record;
    m_control.RequestData(kShotCaption);
    Outcome outcome = waitFor([this] { return m_shotTaken; }, "complete shot");
    m_shotTarget = nullptr;
    if (outcome.ok() && m_shotGap)
        outcome = Outcome::failure(ExitCode::LinkLost, "incomplete shot: " + *m_shotGap);
    return outcome;
}

} // namespace kavlon::cli
