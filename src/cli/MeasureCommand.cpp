// kavloncli measure: the Measure display's 22 rows per channel, of a file or a live shot.
#include "cli/CaptureFiles.h"
#include "cli/CommandLine.h"
#include "cli/LiveStatistics.h"
#include "cli/MeasureReport.h"
#include "cli/SettingOptions.h"
#include "cli/SettingSteps.h"
#include "cli/ShotRetries.h"

#include <cstdio>
#include <limits>

namespace kavlon::cli {

namespace {

struct MeasureOptions {
    QCommandLineOption live{"live", "Measure a shot captured now instead of a file."};
    QCommandLineOption json{"json", "Write JSON instead of a table."};
    QCommandLineOption stats{"stats",
                             "With --live: measure shots taken in a row and write each measurement's\n"
                             "last value, minimum, maximum, mean, standard deviation and the count of\n"
                             "shots that defined it."};
    QCommandLineOption shots{"shots", "With --stats: how many shots (default 10).", "N", "10"};
};

// The statistics' options, when they are given: nothing while the plain measurement goes on.
std::optional<int> statisticsRun(CommandLine& line, const MeasureOptions& o, const SettingTargets& targets,
                                 const BackendMaker& makeBackend) {
    const QCommandLineParser& p = line.parser();
    if (!p.isSet(o.stats)) {
        if (p.isSet(o.shots))
            return finish(Outcome::failure(ExitCode::Usage, "--shots needs --stats"));
        return std::nullopt;
    }
    const auto shots = intValue(p.value(o.shots), 1, kMostStatisticsShots);
    if (!p.isSet(o.live) || !p.positionalArguments().isEmpty())
        return finish(Outcome::failure(ExitCode::Usage, "--stats takes shots with --live, not a FILE"));
    if (!shots)
        return finish(Outcome::failure(ExitCode::Usage, "--shots needs a whole number from 1 to " +
                                                            std::to_string(kMostStatisticsShots)));
    return runLiveStatistics(line, makeBackend, {*shots, p.isSet(o.json), targets});
}

Outcome shotFromFile(const QString& file, ShotRecord& record) {
    const std::filesystem::path path(file.toStdU16String());
    if (auto error = readShot(path, record))
        return Outcome::failure(ExitCode::FileError, path.string() + ": " + *error);
    return Outcome::success();
}

Outcome liveShot(const CommandLine& line, const BackendMaker& makeBackend, const SettingTargets& targets,
                 ShotRecord& record) {
    CommandSession session(makeBackend(line.simulate()), line.sessionOptions());
    Outcome outcome = session.connect();
    if (outcome.ok())
        outcome = applyTargets(session, targets);
    if (outcome.ok())
        outcome = captureWholeShot(session, record, kDefaultShotRetries, [](const std::string& why) {
            std::fprintf(stderr, "kavloncli: %s\n", why.c_str());
        });
    return outcome;
}

// One measured shot, or why it has nothing to measure.
Outcome measured(const ShotRecord& record, bool live, MeasureReport& report) {
    report = measureReport(record);
    if (!report.channels.empty())
        return Outcome::success();
    return live ? Outcome::failure(ExitCode::Usage, "no channel is on (kavloncli set --channels)")
                : Outcome::failure(ExitCode::FileError, "the shot has no channel on; nothing to measure");
}

} // namespace

int runMeasure(const QStringList& arguments, const BackendMaker& makeBackend) {
    CommandLine line(
        "measure", "Measures a shot as the Measure display does: the 22 rows per channel\n"
                   "that is on, from shot files or, with --live, from the instrument.\n"
                   "Shot files are the CSV files of capture and of KavlonPC's \"Save shot...\";\n"
                   "a spreadsheet export lacks the settings a shot is rebuilt from.\n"
                   "With several files each gets its table (JSON: an array, one object per file).\n"
                   "The setting options apply to --live, before the shot. Decimal marks are always points.");
    MeasureOptions options;
    SettingOptions settings;
    line.parser().addOptions({options.live, options.json, options.stats, options.shots});
    settings.addTo(line.parser());
    line.parser().addPositionalArgument("files", "Shot CSV files written by kavloncli capture or KavlonPC.",
                                        "[FILE...]");
    if (auto done = line.parse(arguments, std::numeric_limits<int>::max()))
        return *done;
    SettingTargets targets;
    if (Outcome parsed = parseTargets(settings.texts(line.parser()), targets); !parsed.ok())
        return finish(parsed);
    if (auto done = statisticsRun(line, options, targets, makeBackend))
        return *done;
    const QStringList files = line.parser().positionalArguments();
    const bool live = line.parser().isSet(options.live);
    const bool json = line.parser().isSet(options.json);
    if (live == !files.isEmpty())
        return finish(Outcome::failure(ExitCode::Usage, "measure takes either FILEs or --live"));
    if (!live && targets.any())
        return finish(
            Outcome::failure(ExitCode::Usage, "setting options need --live: a file's shot is taken"));

    if (live) {
        ShotRecord record;
        MeasureReport report;
        Outcome outcome = liveShot(line, makeBackend, targets, record);
        if (outcome.ok())
            outcome = measured(record, true, report);
        if (!outcome.ok())
            return finish(outcome);
        std::fputs((json ? measureJson(report, "live") : measureTable(report)).c_str(), stdout);
        return int(ExitCode::Ok);
    }
    // Every file is measured; the first that fails decides the exit code, the others still show.
    Outcome first;
    std::vector<std::pair<MeasureReport, std::string>> reports;
    for (const QString& file : files) {
        ShotRecord record;
        MeasureReport report;
        Outcome outcome = shotFromFile(file, record);
        if (outcome.ok())
            outcome = measured(record, false, report);
        if (!outcome.ok()) {
            if (files.size() > 1)
                outcome.message = file.toStdString() + ": " + outcome.message;
            finish(outcome);
            if (first.ok())
                first = outcome;
            continue;
        }
        if (json)
            reports.emplace_back(std::move(report), file.toStdString());
        else
            std::fputs(((files.size() > 1 ? "== " + file.toStdString() + "\n" : std::string()) +
                        measureTable(report) + (files.size() > 1 ? "\n" : ""))
                           .c_str(),
                       stdout);
    }
    if (json && files.size() == 1 && !reports.empty())
        std::fputs(measureJson(reports.front().first, reports.front().second).c_str(), stdout);
    else if (json && files.size() > 1)
        std::fputs(measureJsonArray(reports).c_str(), stdout);
    return first.ok() ? int(ExitCode::Ok) : int(first.code);
}

} // namespace kavlon::cli
