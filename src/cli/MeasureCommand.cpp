// kavloncli measure: the Measure display's 22 rows per channel, of a file or a live shot.
#include "cli/CaptureFiles.h"
#include "cli/CommandLine.h"
#include "cli/MeasureReport.h"

#include <cstdio>

namespace kavlon::cli {

namespace {

struct MeasureOptions {
    QCommandLineOption live{"live", "Measure a shot captured now instead of a file."};
    QCommandLineOption json{"json", "Write JSON instead of a table."};
};

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
    line.parser().addOptions({options.live, options.json});
    line.parser().addPositionalArgument("file", "A shot CSV file written by kavloncli capture or KavlonPC.",
                                        "[FILE]");
    if (auto done = line.parse(arguments, 1))
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
