// kavloncli measure: the Measure display's 22 rows per channel, of a file or a live shot.
#include "cli/CaptureFiles.h"
#include "cli/CommandLine.h"
#include "cli/LiveStatistics.h"
#include "cli/MeasureReport.h"

#include <cstdio>

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
std::optional<int> statisticsRun(CommandLine& line, const MeasureOptions& o,
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
    return runLiveStatistics(line, makeBackend, {*shots, p.isSet(o.json)});
}

Outcome shotFromFile(const QString& file, ShotRecord& record) {
    const std::filesystem::path path(file.toStdU16String());
    if (auto error = readShot(path, record))
        return Outcome::failure(ExitCode::FileError, path.string() + ": " + *error);
    return Outcome::success();
}

Outcome liveShot(const CommandLine& line, const BackendMaker& makeBackend, ShotRecord& record) {
    CommandSession session(makeBackend(line.simulate()), line.sessionOptions());
    Outcome outcome = session.connect();
    if (outcome.ok())
        outcome = session.captureShot(record);
    return outcome;
}

} // namespace

int runMeasure(const QStringList& arguments, const BackendMaker& makeBackend) {
    CommandLine line("measure",
                     "Measures a shot as the Measure display does: the 22 rows per channel\n"
                     "that is on, from a shot file or, with --live, from the instrument.\n"
                     "Shot files are the CSV files of capture and of KavlonPC's \"Save shot...\";\n"
                     "a spreadsheet export lacks the settings a shot is rebuilt from.\n"
                     "Decimal marks are always points.");
    MeasureOptions options;
    line.parser().addOptions({options.live, options.json, options.stats, options.shots});
    line.parser().addPositionalArgument("file", "A shot CSV file written by kavloncli capture or KavlonPC.",
                                        "[FILE]");
    if (auto done = line.parse(arguments, 1))
        return *done;
    if (auto done = statisticsRun(line, options, makeBackend))
        return *done;
    const QStringList files = line.parser().positionalArguments();
    const bool live = line.parser().isSet(options.live);
    if (live == !files.isEmpty())
        return finish(Outcome::failure(ExitCode::Usage, "measure takes either a FILE or --live"));

    ShotRecord record;
    Outcome outcome = live ? liveShot(line, makeBackend, record) : shotFromFile(files.front(), record);
    if (!outcome.ok())
        return finish(outcome);
    const MeasureReport report = measureReport(record);
    if (report.channels.empty())
        return finish(
            live ? Outcome::failure(ExitCode::Usage, "no channel is on (kavloncli set --channels)")
                 : Outcome::failure(ExitCode::FileError, "the shot has no channel on; nothing to measure"));
    const std::string source = live ? "live" : files.front().toStdString();
    std::fputs(
        (line.parser().isSet(options.json) ? measureJson(report, source) : measureTable(report)).c_str(),
        stdout);
    return int(ExitCode::Ok);
}

} // namespace kavlon::cli
