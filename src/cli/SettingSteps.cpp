#include "cli/SettingSteps.h"

#include "cli/EventWait.h"

#include "device/replay/ReplayBackend.h"
#include "device/session/Backends.h"

#include "core/acquisition/Commands.h"
#include "core/scales/ScaleTables.h"

#include <cmath>
#include <functional>

namespace kavlon::cli {

// One setting as the instrument last reported it, the value it should reach, and
// the command that moves it a step (direction +1 or -1) or straight to the value.
struct SettingStep {
    std::string what;
    std::function<int(const AcquisitionControl&)> reported;
    int target = 0;
    std::function<void(AcquisitionControl&, int direction)> send;
    std::function<std::string(int)> shown;
};

namespace {

using Step = SettingStep;

// The longest way between the two ends of the timebase table, and then some.
constexpr int kMaxSteps = 40;

std::string channelName(int c) {
    return "channel " + std::to_string(c + 1);
}

std::string timebaseText(int k) {
    const auto label = timebaseLabel(k);
    return label ? std::string(*label) : "timebase step " + std::to_string(k);
}

Step timebaseStep(int target) {
    return {"timebase",
            [](const AcquisitionControl& c) { return c.State.TimebaseIndex + c.State.TimebaseOffset; },
            target,
            [](AcquisitionControl& c, int d) {
                c.sendCommand([d](CommandBytes& b) {
                    CmdTimebaseStep(b, d > 0 ? TimebaseStep::Slower : TimebaseStep::Faster);
                });
            },
            timebaseText};
}

Step voltsStep(int c, int target, int probeRange) {
    return {channelName(c) + " volts per division",
            [c](const AcquisitionControl& control) { return control.State.VoltsIndex[std::size_t(c)]; },
            target,
            [c](AcquisitionControl& control, int d) {
                control.sendCommand([c, d](CommandBytes& b) {
                    CmdVoltsStep(b, c + 1, d > 0 ? VoltsStep::Bigger : VoltsStep::Smaller);
                });
            },
            [probeRange](int v) {
                const auto label = voltsPerDivLabel(probeRange, v);
                return label ? std::string(*label) : "volts step " + std::to_string(v);
            }};
}

// A front-panel box: its click sends the state it is to have, and once the
// instrument has answered, the box shows what the instrument reported.
Step boxStep(PanelBox box, int c, bool target, const std::string& what, std::string yes, std::string no) {
    return {channelName(c) + " " + what,
            [box, c](const AcquisitionControl& control) { return int(control.panelBoxChecked(box, c + 1)); },
            int(target),
            [box, c](AcquisitionControl& control, int d) { control.PanelBoxClick(box, c + 1, d > 0); },
            [yes, no](int v) { return v ? yes : no; }};
}

// A target for a channel the instrument does not have is a value it does not offer.
Outcome checkChannels(const SettingTargets& t, int channels) {
    for (int c = channels; c < kChannels; ++c) {
        const auto k = std::size_t(c);
        if (t.voltsPerDiv[k] || t.acCoupled[k] || t.inverted[k] || (t.channelsOn && (*t.channelsOn)[k]))
            return Outcome::failure(ExitCode::Usage, channelName(c) + ": the instrument has " +
                                                         std::to_string(channels) + " channels");
    }
    return Outcome::success();
}

// Every step the targets ask for, in the order they are taken.
Outcome collectSteps(const AcquisitionState& s, const SettingTargets& t, std::vector<Step>& steps) {
    const int channels = channelCountOf(s);
    for (int c = 0; t.channelsOn && c < channels; ++c)
        steps.push_back(boxStep(PanelBox::Channel, c, (*t.channelsOn)[std::size_t(c)], "on", "on", "off"));
    for (int c = 0; c < channels; ++c) {
        const auto k = std::size_t(c);
        if (t.acCoupled[k])
            steps.push_back(boxStep(PanelBox::Coupling, c, *t.acCoupled[k], "coupling", "AC", "DC"));
        if (t.inverted[k])
            steps.push_back(
                boxStep(PanelBox::Invert, c, *t.inverted[k], "invert", "inverted", "not inverted"));
        if (!t.voltsPerDiv[k])
            continue;
        const int probe = s.ProbeRange[k];
        const auto volts = voltsIndexFor(*t.voltsPerDiv[k], probe);
        if (!volts)
            return Outcome::failure(ExitCode::Usage,
                                    channelName(c) + ": " +
                                        formatVoltsPerDiv(std::llround(*t.voltsPerDiv[k] * 1e4)) +
                                        " / Div is not offered at its probe setting; it offers " +
                                        offeredVolts(probe) + " per division");
        steps.push_back(voltsStep(c, *volts, probe));
    }
    if (t.timebase)
        steps.push_back(timebaseStep(*t.timebase));
    return Outcome::success();
}

Step runStep(bool running) {
    return {"run state", [](const AcquisitionControl& c) { return int(c.State.Running); }, int(running),
            [](AcquisitionControl& c, int) { c.sendCommand([](CommandBytes& b) { CmdRunStop(b); }); },
            [](int v) { return std::string(v ? "running" : "stopped"); }};
}

} // namespace

SettingStepper::SettingStepper(const AcquisitionState& state, const SettingTargets& targets) {
    if (Outcome o = checkChannels(targets, channelCountOf(state)); !o.ok())
        m_refused = o;
    else if (Outcome o = collectSteps(state, targets, m_steps); !o.ok())
        m_refused = o;
    else if (targets.running)
        m_steps.push_back(runStep(*targets.running));
}

SettingStepper::~SettingStepper() = default;
SettingStepper::SettingStepper(SettingStepper&&) noexcept = default;
SettingStepper& SettingStepper::operator=(SettingStepper&&) noexcept = default;

std::optional<Outcome> SettingStepper::next(AcquisitionControl& control) {
    if (m_refused)
        return m_refused;
    for (; m_at < m_steps.size(); ++m_at, m_sent = 0, m_before.reset()) {
        const Step& step = m_steps[m_at];
        const int now = step.reported(control);
        // A report the instrument sent by itself (a knob turned on it, a restart) may
        // have come between the step and its answer and been taken for the answer: one
        // more report is given a moment to come before the step counts as refused.
        m_awaitsLateAnswer = m_before && now == *m_before && !m_awaitsLateAnswer;
        if (m_awaitsLateAnswer)
            return std::nullopt;
        if (m_before && now == *m_before)
            return Outcome::failure(ExitCode::Usage, step.what + ": the instrument does not offer " +
                                                         step.shown(step.target) + "; it stays at " +
                                                         step.shown(now));
        if (now == step.target)
            continue;
        if (m_sent == kMaxSteps)
            return Outcome::failure(ExitCode::Usage,
                                    step.what + ": the instrument did not reach " + step.shown(step.target));
        step.send(control, step.target > now ? 1 : -1);
        m_before = now;
        ++m_sent;
        return std::nullopt;
    }
    return Outcome::success();
}

std::string SettingStepper::what() const {
    return m_at < m_steps.size() ? m_steps[m_at].what : "the settings";
}

Outcome applyTargets(CommandSession& session, const SettingTargets& targets) {
    // Showing a recording's settings is fine; stepping them is not.
    if (targets.any() && replayOf(session.session().backend()))
        return Outcome::failure(ExitCode::Usage, kReplayCannotChangeSettings);
    SettingStepper stepper(session.state(), targets);
    for (;;) {
        if (std::optional<Outcome> end = stepper.next(session.control()))
            return *end;
        if (stepper.awaitsLateAnswer()) {
            const int reports = session.session().settingsReports();
            runEventsUntil([&] { return session.session().settingsReports() > reports; }, kLateAnswer);
            continue;
        }
        if (Outcome answered = session.settle("settings report after setting " + stepper.what());
            !answered.ok())
            return answered;
    }
}

std::string settingsSummary(const AcquisitionControl& control) {
    const AcquisitionState& s = control.State;
    std::string text = "timebase " + timebaseText(s.TimebaseIndex + s.TimebaseOffset) + "\n";
    for (int c = 0; c < channelCountOf(s); ++c) {
        const auto k = std::size_t(c);
        text += channelName(c) + " " + (s.ChannelOn[k] ? "on" : "off") + ", " + s.VoltsPerDivText[k] + ", " +
                (control.panelBoxChecked(PanelBox::Coupling, c + 1) ? "AC" : "DC") +
                (control.panelBoxChecked(PanelBox::Invert, c + 1) ? ", inverted" : "") + "\n";
    }
    text += s.Running ? "running\n" : "stopped\n";
    return text;
}

} // namespace kavlon::cli
