// kavloncli set: steps the instrument to the settings given and shows what it reports.
#include "cli/CommandLine.h"
#include "cli/SettingOptions.h"
#include "cli/SettingSteps.h"

#include <cstdio>

namespace kavlon::cli {

int runSet(const QStringList& arguments, const BackendMaker& makeBackend) {
    CommandLine line("set", "Steps the instrument through its own commands until the settings it reports\n"
                            "match those given, then shows them. Without options it only shows them.");
    SettingOptions options;
    options.addTo(line.parser());
    if (auto done = line.parse(arguments))
        return *done;
    SettingTargets targets;
    if (Outcome parsed = parseTargets(options.texts(line.parser()), targets); !parsed.ok())
        return finish(parsed);

    CommandSession session(makeBackend(line.simulate()), line.sessionOptions());
    Outcome outcome = session.connect();
    if (outcome.ok())
        outcome = applyTargets(session, targets);
    if (outcome.ok())
        std::fputs(settingsSummary(session.control()).c_str(), stdout);
    return finish(outcome);
}

} // namespace kavlon::cli
