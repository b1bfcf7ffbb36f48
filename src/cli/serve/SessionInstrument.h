#pragma once

#include "cli/CommandSession.h"
#include "cli/SettingSteps.h"

#include "core/scpi/ScpiInstrument.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace kavlon::cli {

// The connected instrument as the remote commands see it, over the command line's
// session: settings are stepped with the front panel's commands as `kavloncli set`
// steps them, a Digitize takes a shot as `capture` does. Nothing here waits: an action
// sends its first command and returns; the instrument's answers (its settings reports,
// the shot's trailer, its going away) bring the next step, and the action's result
// goes to whoever listens with onAnswered(). Every wait ends within the session's
// answer time.
class SessionInstrument : public QObject, public scpi::ScpiInstrument {
public:
    // The session must be connected and outlive this object.
    SessionInstrument(CommandSession& session, std::string programVersion);
    ~SessionInstrument() override;

    scpi::InstrumentIdentity identity() const override { return m_identity; }
    scpi::InstrumentSettings settings() const override;
    bool healthy() const override;
    const ShotRecord* lastShot() const override { return m_shotCount > 0 ? &m_shot : nullptr; }
    std::uint64_t shotCount() const override { return m_shotCount; }
    std::optional<scpi::ActionResult> begin(const scpi::InstrumentAction& action) override;

    using Answered = std::function<void(const scpi::ActionResult&)>;
    void onAnswered(Answered answered) { m_answered = std::move(answered); }

private:
    enum class Waiting { Nothing, Answers, Steps, LateAnswer, Shot };

    std::optional<scpi::ActionResult> step();
    void wait(Waiting what);
    void check();
    void giveUp();
    void finish(const scpi::ActionResult& result);

    CommandSession& m_session;
    scpi::InstrumentIdentity m_identity;
    ShotRecord m_shot;
    std::uint64_t m_shotCount = 0;
    std::optional<SettingStepper> m_stepper;
    Waiting m_waiting = Waiting::Nothing;
    QTimer m_deadline;
    // A step that seemed refused waits this long for one more report.
    QTimer m_lateAnswer;
    int m_reportsBefore = 0;
    Answered m_answered;
};

} // namespace kavlon::cli
