// kavloncli set: steps the instrument to the settings given and shows what it reports.
#include "cli/CommandLine.h"
#include "cli/SettingSteps.h"

#include "device/replay/ReplayBackend.h"
#include "device/session/Backends.h"

#include <cstdio>

namespace kavlon::cli {

namespace {

struct SetOptions {
    QCommandLineOption timebase{"timebase", "Time per division, e.g. \"200 µs\" or 1ms.", "time"};
    QCommandLineOption volts{"volts", "Volts per division of a channel, e.g. 1:500mV (repeatable).",
                             "ch:volts"};
    QCommandLineOption channels{"channels", "The channels to switch on, the others off, e.g. 1,2.", "list"};
    QCommandLineOption coupling{"coupling", "A channel's coupling, e.g. 2:AC or 1:DC (repeatable).",
                                "ch:AC|DC"};
    QCommandLineOption invert{"invert", "Invert a channel or not, e.g. 3:on (repeatable).", "ch:on|off"};
    QCommandLineOption run{"run", "Acquisition running (on) or stopped (off).", "on|off"};
};

std::optional<std::string> single(const QCommandLineParser& p, const QCommandLineOption& o) {
    if (!p.isSet(o))
        return std::nullopt;
    return p.value(o).toStdString();
}

std::vector<std::string> all(const QCommandLineParser& p, const QCommandLineOption& o) {
    std::vector<std::string> values;
    for (const QString& v : p.values(o))
        values.push_back(v.toStdString());
    return values;
}

SettingTexts textsOf(const QCommandLineParser& p, const SetOptions& o) {
    return {single(p, o.timebase), all(p, o.volts),  single(p, o.channels),
            all(p, o.coupling),    all(p, o.invert), single(p, o.run)};
}

bool changesAnything(const SettingTexts& t) {
    return t.timebase || !t.volts.empty() || t.channels || !t.coupling.empty() || !t.invert.empty() || t.run;
}

} // namespace

int runSet(const QStringList& arguments, const BackendMaker& makeBackend) {
    CommandLine line("set", "Steps the instrument through its own commands until the settings it reports\n"
                            "match those given, then shows them. Without options it only shows them.");
    SetOptions options;
    line.parser().addOptions(
        {options.timebase, options.volts, options.channels, options.coupling, options.invert, options.run});
    if (auto done = line.parse(arguments))
        return *done;
    const SettingTexts texts = textsOf(line.parser(), options);
    SettingTargets targets;
    if (Outcome parsed = parseTargets(texts, targets); !parsed.ok())
        return finish(parsed);

    auto backend = makeBackend(line.simulate());
    // Showing a recording's settings is fine; stepping them is not.
    if (changesAnything(texts) && replayOf(*backend))
        return finish(Outcome::failure(ExitCode::Usage, kReplayCannotChangeSettings));
    CommandSession session(std::move(backend), line.sessionOptions());
    Outcome outcome = session.connect();
    if (outcome.ok())
        outcome = applyTargets(session, targets);
    if (outcome.ok())
        std::fputs(settingsSummary(session.control()).c_str(), stdout);
    return finish(outcome);
}

} // namespace kavlon::cli
