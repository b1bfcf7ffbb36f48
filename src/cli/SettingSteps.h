#pragma once

#include "cli/CommandSession.h"
#include "cli/SettingTargets.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kavlon::cli {

struct SettingStep;

// The commands that take the instrument to the targets, one at a time: channels
// first, then their boxes and scales, the timebase, and the run state last. The
// caller waits until the instrument has answered each before asking for the next,
// so the stepping can run inside a blocking command as well as inside a server.
class SettingStepper {
public:
    SettingStepper(const AcquisitionState& state, const SettingTargets& targets);
    ~SettingStepper();
    SettingStepper(SettingStepper&&) noexcept;
    SettingStepper& operator=(SettingStepper&&) noexcept;

    // With every command sent so far answered: sends the next one and gives nothing,
    // or gives how the stepping ended. Exit code 1 when the instrument does not go
    // where it was asked (a value it does not offer).
    std::optional<Outcome> next(AcquisitionControl& control);
    // The last next() sent nothing: the step's answer seemed to leave the value where
    // it was, so next() wants one more settings report first, or kLateAnswer to pass.
    bool awaitsLateAnswer() const { return m_awaitsLateAnswer; }
    // The setting the last command was for.
    std::string what() const;

private:
    std::vector<SettingStep> m_steps;
    std::size_t m_at = 0;
    int m_sent = 0;
    std::optional<int> m_before; // the reported value when the last command went out
    std::optional<Outcome> m_refused;
    bool m_awaitsLateAnswer = false;
};

// How long a step's answer may come after an unasked report: the link carries a
// report a millisecond, and the instrument answers within a few.
constexpr std::chrono::milliseconds kLateAnswer{300};

// Steps the connected instrument through its own commands until what it reports
// matches the targets. Fails with exit code 1 when the instrument does not go where
// it was asked (a value it does not offer), 3 when it stops answering.
Outcome applyTargets(CommandSession& session, const SettingTargets& targets);

// The reported settings as lines for the user: the timebase, each channel, the run state.
std::string settingsSummary(const AcquisitionControl& control);

} // namespace kavlon::cli
