#include "cli/serve/SessionInstrument.h"

#include "device/replay/ReplayBackend.h"
#include "device/session/Backends.h"

#include "core/acquisition/Commands.h"
#include "core/scales/ScaleTables.h"

namespace kavlon::cli {

namespace {

using Kind = scpi::InstrumentAction::Kind;
using Result = scpi::ActionResult;

scpi::InstrumentIdentity identityOf(CommandSession& session, std::string version) {
    scpi::InstrumentIdentity id{{}, {}, {}, std::move(version)};
    if (TJvHidDevice* device = session.session().link().ActiveDevice()) {
        id.maker = device->deviceString(1);
        id.model = device->deviceString(2);
        id.serial = device->deviceString(3);
    }
    return id;
}

// What `kavloncli set` would be asked for to carry out the action.
SettingTargets targetsOf(const scpi::InstrumentAction& a, const AcquisitionState& state) {
    SettingTargets t;
    const auto c = std::size_t(a.channel - 1);
    switch (a.kind) {
    case Kind::Run:
    case Kind::Stop:
        t.running = a.kind == Kind::Run;
        break;
    case Kind::Timebase:
        t.timebase = timebaseIndexFor(a.value);
        break;
    case Kind::Volts:
        t.voltsPerDiv[c] = a.value;
        break;
    case Kind::Display:
        t.channelsOn = state.ChannelOn;
        // A two-channel instrument may report its absent channels on; asking to keep them
        // on would refuse every change.
        for (int k = channelCountOf(state); k < kChannels; ++k)
            (*t.channelsOn)[std::size_t(k)] = false;
        (*t.channelsOn)[c] = a.value != 0;
        break;
    case Kind::Coupling:
        t.acCoupled[c] = a.value != 0;
        break;
    case Kind::Invert:
        t.inverted[c] = a.value != 0;
        break;
    case Kind::Single:
    case Kind::AutoScale:
    case Kind::Digitize:
        break;
    }
    return t;
}

Result resultOf(const Outcome& outcome) {
    if (outcome.ok())
        return Result::done();
    return {outcome.code == ExitCode::Usage ? Result::Kind::NotOffered : Result::Kind::NoAnswer,
            outcome.message};
}

} // namespace

SessionInstrument::SessionInstrument(CommandSession& session, std::string programVersion)
    : m_session(session), m_identity(identityOf(session, std::move(programVersion))) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &SessionInstrument::giveUp);
    m_lateAnswer.setSingleShot(true);
    connect(&m_lateAnswer, &QTimer::timeout, this, [this] {
        if (m_waiting == Waiting::LateAnswer)
            if (std::optional<Result> end = step())
                finish(*end);
    });
    // Looked at once the interpretation that brought the news has ended.
    InstrumentSession& s = session.session();
    connect(&s, &InstrumentSession::instrumentControlsEnabled, this, &SessionInstrument::check,
            Qt::QueuedConnection);
    connect(&s, &InstrumentSession::shotReady, this, &SessionInstrument::check, Qt::QueuedConnection);
    connect(&s, &InstrumentSession::connectionLost, this, &SessionInstrument::check, Qt::QueuedConnection);
}

SessionInstrument::~SessionInstrument() {
    if (m_waiting == Waiting::Shot)
        m_session.abandonShot();
}

scpi::InstrumentSettings SessionInstrument::settings() const {
    const AcquisitionState& s = m_session.state();
    AcquisitionControl& control = m_session.control();
    scpi::InstrumentSettings out;
    out.channelCount = channelCountOf(s);
    out.timebaseIndex = s.TimebaseIndex + s.TimebaseOffset;
    out.voltsIndex = s.VoltsIndex;
    out.probeRange = s.ProbeRange;
    out.zeroLevel = s.ZeroLevel;
    out.on = s.ChannelOn;
    for (int c = 0; c < kChannels; ++c) {
        out.acCoupled[std::size_t(c)] = control.panelBoxChecked(PanelBox::Coupling, c + 1);
        out.inverted[std::size_t(c)] = control.panelBoxChecked(PanelBox::Invert, c + 1);
    }
    out.running = s.Running;
    out.triggerSource = s.TriggerSource;
    out.triggerLevel = s.TriggerLevel;
    return out;
}

bool SessionInstrument::healthy() const {
    return !m_session.lost() && m_session.session().connection().reading();
}

std::optional<Result> SessionInstrument::begin(const scpi::InstrumentAction& action) {
    if (m_session.lost())
        return Result{Result::Kind::NoAnswer, "the instrument went away"};
    // A recording answers queries and gives its next shot; nothing else reaches it.
    if (action.kind != Kind::Digitize && replayOf(m_session.session().backend()))
        return Result{Result::Kind::Refused, kReplayCannotChangeSettings};
    switch (action.kind) {
    case Kind::Digitize:
        m_session.requestShot(m_shot);
        wait(Waiting::Shot);
        return std::nullopt;
    case Kind::Single:
    case Kind::AutoScale:
        m_session.control().sendCommand(
            [&action](CommandBytes& b) { action.kind == Kind::Single ? CmdSingle(b) : CmdAutoScale(b); });
        wait(Waiting::Answers);
        return std::nullopt;
    default:
        m_stepper.emplace(m_session.state(), targetsOf(action, m_session.state()));
        return step();
    }
}

std::optional<Result> SessionInstrument::step() {
    if (std::optional<Outcome> end = m_stepper->next(m_session.control())) {
        m_stepper.reset();
        return resultOf(*end);
    }
    if (m_stepper->awaitsLateAnswer()) {
        m_waiting = Waiting::LateAnswer;
        m_reportsBefore = m_session.session().settingsReports();
        m_lateAnswer.start(kLateAnswer);
        return std::nullopt;
    }
    wait(Waiting::Steps);
    return std::nullopt;
}

void SessionInstrument::wait(Waiting what) {
    m_waiting = what;
    // Each answer gets the whole answer time, as in `kavloncli set`.
    m_deadline.start(int(m_session.options().answerWait.count()));
}

void SessionInstrument::check() {
    if (m_waiting == Waiting::Nothing)
        return;
    if (m_session.lost()) {
        if (m_waiting == Waiting::Shot)
            m_session.abandonShot();
        m_stepper.reset();
        finish({Result::Kind::NoAnswer, "the instrument went away"});
        return;
    }
    switch (m_waiting) {
    case Waiting::Answers:
        if (m_session.answeredAll())
            finish(Result::done());
        break;
    case Waiting::Steps:
        if (m_session.answeredAll())
            if (std::optional<Result> end = step())
                finish(*end);
        break;
    case Waiting::LateAnswer:
        if (m_session.session().settingsReports() > m_reportsBefore) {
            m_lateAnswer.stop();
            if (std::optional<Result> end = step())
                finish(*end);
        }
        break;
    case Waiting::Shot:
        if (std::optional<Outcome> shot = m_session.shotOutcome()) {
            if (shot->ok())
                ++m_shotCount;
            finish(shot->ok() ? Result::done() : Result{Result::Kind::IncompleteShot, shot->message});
        }
        break;
    case Waiting::Nothing:
        break;
    }
}

void SessionInstrument::giveUp() {
    const bool shot = m_waiting == Waiting::Shot;
    if (shot)
        m_session.abandonShot();
    m_stepper.reset();
    finish({Result::Kind::NoAnswer, std::string(shot ? "no complete shot" : "no settings report") +
                                        " from the instrument within " +
                                        secondsText(m_session.options().answerWait)});
}

void SessionInstrument::finish(const Result& result) {
    m_waiting = Waiting::Nothing;
    m_deadline.stop();
    m_lateAnswer.stop();
    if (m_answered)
        m_answered(result);
}

} // namespace kavlon::cli
