#pragma once

#include "cli/CommandSession.h"
#include "cli/SettingTargets.h"

#include <string>

namespace kavlon::cli {

// Steps the connected instrument through its own commands until what it reports
// matches the targets: channels first, then their boxes and scales, the timebase,
// and the run state last. Fails with exit code 1 when the instrument does not go
// where it was asked (a value it does not offer), 3 when it stops answering.
Outcome applyTargets(CommandSession& session, const SettingTargets& targets);

// The reported settings as lines for the user: the timebase, each channel, the run state.
std::string settingsSummary(const AcquisitionControl& control);

} // namespace kavlon::cli
