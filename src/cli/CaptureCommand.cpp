// kavloncli capture: N shots from the instrument, one whole file each.
#include "cli/CaptureFiles.h"
#include "cli/CommandLine.h"
#include "cli/ProgressBar.h"
#include "cli/ShotRetries.h"

#include "core/export/SheetFile.h"
#include "core/files/Folders.h"

#include <QDateTime>
#include <QDir>

#include <cstdio>

namespace kavlon::cli {

namespace {

constexpr int kMostShots = kExportNameCount;

struct CaptureOptions {
    QCommandLineOption shots{"shots", "How many shots to capture (default 1).", "N", "1"};
    QCommandLineOption out{"out", "The folder the files go to; made when missing.", "dir"};
    QCommandLineOption format{"format", "csv (offline shot, the default) or xls (spreadsheet export).",
                              "csv|xls", "csv"};
    QCommandLineOption retries{"retries",
                               "How often a shot that lost frames is asked for again before it is an\n"
                               "error (default 1).",
                               "N", QString::number(kDefaultShotRetries)};
};

struct CaptureJob {
    int shots = 1;
    std::filesystem::path folder;
    ShotFormat format = ShotFormat::Csv;
    int retries = kDefaultShotRetries;
};

std::optional<int> readJob(CommandLine& line, const CaptureOptions& o, CaptureJob& job) {
    const QCommandLineParser& p = line.parser();
    const auto shots = intValue(p.value(o.shots), 1, kMostShots);
    const QString format = p.value(o.format).toLower();
    const auto retries = intValue(p.value(o.retries), 0, kMostShotRetries);
    Outcome bad;
    if (!shots)
        bad = Outcome::failure(ExitCode::Usage,
                               "--shots needs a whole number from 1 to " + std::to_string(kMostShots));
    else if (!p.isSet(o.out) || p.value(o.out).isEmpty())
        bad = Outcome::failure(ExitCode::Usage, "capture needs --out DIR");
    else if (format != "csv" && format != "xls")
        bad = Outcome::failure(ExitCode::Usage, "--format is csv or xls, not " + format.toStdString());
    else if (!retries)
        bad = Outcome::failure(ExitCode::Usage, "--retries needs a whole number from 0 to " +
                                                    std::to_string(kMostShotRetries));
    if (!bad.ok())
        return finish(bad);
    job.shots = *shots;
    job.folder = std::filesystem::path(p.value(o.out).toStdU16String());
    job.format = format == "csv" ? ShotFormat::Csv : ShotFormat::Xls;
    job.retries = *retries;
    return std::nullopt;
}

Outcome makeFolder(const std::filesystem::path& folder) {
    if (const std::string reason = makeFolders(folder); !reason.empty())
        return Outcome::failure(ExitCode::FileError,
                                "cannot make the folder " + folder.string() + ": " + reason);
    return Outcome::success();
}

Outcome writeShot(const CaptureJob& job, const ShotRecord& record,
                  std::vector<std::filesystem::path>& written) {
    const std::string now = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString();
    const NumberedSave saved = saveNumberedShot(job.folder, record, job.format, now);
    if (saved.path.empty())
        return Outcome::failure(ExitCode::FileError, "every file name is taken in " + job.folder.string());
    if (!saved.result.saved)
        return Outcome::failure(ExitCode::FileError,
                                "cannot write " + saved.path.string() + ": " + saved.result.reason);
    written.push_back(saved.path);
    return Outcome::success();
}

std::string summary(const CaptureJob& job, const std::vector<std::filesystem::path>& written) {
    std::string text = std::to_string(written.size()) + " of " + std::to_string(job.shots) + " shots written";
    if (!written.empty())
        text += " to " + job.folder.string() + ": " + written.front().filename().string() +
                (written.size() > 1 ? " to " + written.back().filename().string() : "");
    return text + "\n";
}

Outcome capture(CommandSession& session, const CaptureJob& job, std::vector<std::filesystem::path>& written) {
    ProgressBar bar(stderr);
    int shot = 0;
    const AcquisitionControl& control = session.control();
    // Lives as long as the bar: the connection goes with this function's end.
    const QMetaObject::Connection progress =
        QObject::connect(&session.session(), &InstrumentSession::progressPositionChanged, [&](int position) {
            // The position counts from 0 within each channel's 64 steps.
            bar.show(shot, job.shots, position + 1, control.progressMaximum());
        });
    struct Disconnect {
        const QMetaObject::Connection& connection;
        ~Disconnect() { QObject::disconnect(connection); }
    } disconnect{progress};
    for (shot = 1; shot <= job.shots; ++shot) {
        ShotRecord record;
        Outcome outcome = captureWholeShot(session, record, job.retries, [&](const std::string& why) {
            bar.clear();
            std::fprintf(stderr, "kavloncli: shot %d: %s\n", shot, why.c_str());
        });
        if (outcome.ok())
            outcome = writeShot(job, record, written);
        if (!outcome.ok()) {
            bar.clear();
            outcome.message = "shot " + std::to_string(shot) + ": " + outcome.message;
            return outcome;
        }
    }
    bar.clear();
    return Outcome::success();
}

} // namespace

int runCapture(const QStringList& arguments, const BackendMaker& makeBackend) {
    CommandLine line("capture", "Captures shots and writes one file for each, whole or not at all.\n"
                                "A shot that lost frames is asked for again (--retries); one that is lost,\n"
                                "cut short or still missing a frame is an error, never a file.");
    CaptureOptions options;
    line.parser().addOptions({options.shots, options.out, options.format, options.retries});
    if (auto done = line.parse(arguments))
        return *done;
    CaptureJob job;
    if (auto done = readJob(line, options, job))
        return *done;
    if (Outcome made = makeFolder(job.folder); !made.ok())
        return finish(made);

    CommandSession session(makeBackend(line.simulate()), line.sessionOptions());
    std::vector<std::filesystem::path> written;
    Outcome outcome = session.connect();
    if (outcome.ok())
        outcome = capture(session, job, written);
    // The summary goes where the results go, failure or not, after the last file.
    if (outcome.ok() || !written.empty())
        std::fputs(summary(job, written).c_str(), stdout);
    return finish(outcome);
}

} // namespace kavlon::cli
