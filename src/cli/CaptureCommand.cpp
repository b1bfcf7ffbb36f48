// kavloncli capture: N shots from the instrument, one whole file each.
#include "cli/CaptureFiles.h"
#include "cli/CommandLine.h"
#include "cli/ProgressBar.h"
#include "cli/SettingOptions.h"
#include "cli/SettingSteps.h"
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
    QCommandLineOption shots{QStringList{"n", "shots"}, "How many shots to capture (default 1).", "N", "1"};
    QCommandLineOption out{
        "out", "The folder the numbered files go to (QV_00000.csv, ...); made when missing.", "dir"};
    QCommandLineOption output{
        QStringList{"o", "output"},
        "The file one shot goes to (replacing one of that name); - for standard output.", "file"};
    QCommandLineOption format{
        QStringList{"f", "format"},
        "csv (offline shot, the default; or as -o's extension says) or xls (spreadsheet "
        "export).",
        "csv|xls", "csv"};
    QCommandLineOption retries{"retries",
                               "How often a shot that lost frames is asked for again before it is an\n"
                               "error (default 1).",
                               "N", QString::number(kDefaultShotRetries)};
};

struct CaptureJob {
    int shots = 1;
    // Numbered files in a folder, or the one file named by -o ("-": standard output).
    std::filesystem::path folder;
    std::optional<std::filesystem::path> file;
    bool toStandardOutput = false;
    ShotFormat format = ShotFormat::Csv;
    int retries = kDefaultShotRetries;
};

std::filesystem::path pathOf(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

Outcome checkJob(const QCommandLineParser& p, const CaptureOptions& o, CaptureJob& job) {
    const auto shots = intValue(p.value(o.shots), 1, kMostShots);
    if (!shots)
        return Outcome::failure(ExitCode::Usage,
                                "--shots needs a whole number from 1 to " + std::to_string(kMostShots));
    job.shots = *shots;
    const auto retries = intValue(p.value(o.retries), 0, kMostShotRetries);
    if (!retries)
        return Outcome::failure(ExitCode::Usage, "--retries needs a whole number from 0 to " +
                                                     std::to_string(kMostShotRetries));
    job.retries = *retries;
    const bool toFolder = p.isSet(o.out) && !p.value(o.out).isEmpty();
    const bool toFile = p.isSet(o.output) && !p.value(o.output).isEmpty();
    if (toFolder == toFile)
        return Outcome::failure(ExitCode::Usage, "capture needs either --out DIR or -o FILE");
    if (toFile && job.shots > 1)
        return Outcome::failure(ExitCode::Usage, "-o takes one shot; --out DIR takes several");
    QString format = p.value(o.format).toLower();
    // A file named by -o says its kind by its extension unless --format does.
    if (toFile && !p.isSet(o.format) && p.value(o.output).toLower().endsWith(".xls"))
        format = "xls";
    if (format != "csv" && format != "xls")
        return Outcome::failure(ExitCode::Usage, "--format is csv or xls, not " + format.toStdString());
    job.format = format == "csv" ? ShotFormat::Csv : ShotFormat::Xls;
    if (toFolder)
        job.folder = pathOf(p.value(o.out));
    else if (p.value(o.output) == "-")
        job.toStandardOutput = true;
    else
        job.file = pathOf(p.value(o.output));
    return Outcome::success();
}

// The folders a capture made, so that one which wrote nothing leaves none behind.
class MadeFolders {
public:
    Outcome make(const std::filesystem::path& folder) {
        std::error_code error;
        for (std::filesystem::path p = folder; !p.empty() && !std::filesystem::exists(p, error);
             p = p.parent_path()) {
            m_made.push_back(p);
            if (p == p.parent_path())
                break;
        }
        if (const std::string reason = makeFolders(folder); !reason.empty())
            return Outcome::failure(ExitCode::FileError,
                                    "cannot make the folder " + folder.string() + ": " + reason);
        return Outcome::success();
    }
    // Takes back the folders made, deepest first, as long as they are empty.
    void takeBackIfEmpty() {
        std::error_code error;
        for (const std::filesystem::path& p : m_made)
            if (!std::filesystem::is_directory(p, error) || !std::filesystem::is_empty(p, error) ||
                !std::filesystem::remove(p, error))
                return;
    }

private:
    std::vector<std::filesystem::path> m_made;
};

std::string now() {
    return QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString();
}

Outcome writeShot(const CaptureJob& job, const ShotRecord& record,
                  std::vector<std::filesystem::path>& written) {
    if (job.toStandardOutput) {
        const std::string bytes = shotBytes(record, job.format, now());
        // Whether it arrived is checked once everything is written (runCli).
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        written.emplace_back("-");
        return Outcome::success();
    }
    if (job.file) {
        const SaveResult saved = saveShot(*job.file, record, job.format, now(), {}, Existing::Replace);
        if (!saved.saved)
            return Outcome::failure(ExitCode::FileError,
                                    "cannot write " + job.file->string() + ": " + saved.reason);
        written.push_back(*job.file);
        return Outcome::success();
    }
    const NumberedSave saved = saveNumberedShot(job.folder, record, job.format, now());
    if (saved.path.empty())
        return Outcome::failure(ExitCode::FileError, "every file name is taken in " + job.folder.string());
    if (!saved.result.saved)
        return Outcome::failure(ExitCode::FileError,
                                "cannot write " + saved.path.string() + ": " + saved.result.reason);
    written.push_back(saved.path);
    return Outcome::success();
}

std::string summary(const CaptureJob& job, const std::vector<std::filesystem::path>& written,
                    bool interrupted) {
    std::string text = (interrupted ? "interrupted: " : "") + std::to_string(written.size()) + " of " +
                       std::to_string(job.shots) + " shots written";
    if (job.toStandardOutput && !written.empty())
        text += " to standard output";
    else if (job.file && !written.empty())
        text += " to " + job.file->string();
    else if (!written.empty())
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
            if (outcome.code != ExitCode::Interrupted)
                outcome.message = "shot " + std::to_string(shot) + ": " + outcome.message;
            return outcome;
        }
    }
    bar.clear();
    return Outcome::success();
}

} // namespace

int runCapture(const QStringList& arguments, const BackendMaker& makeBackend) {
    CommandLine line("capture",
                     "Captures shots and writes one file for each, whole or not at all.\n"
                     "A shot that lost frames is asked for again (--retries); one that is lost,\n"
                     "cut short or still missing a frame is an error, never a file.\n"
                     "The setting options are applied before the first shot, as set applies them.");
    CaptureOptions options;
    SettingOptions settings;
    line.parser().addOptions({options.shots, options.out, options.output, options.format, options.retries});
    settings.addTo(line.parser());
    if (auto done = line.parse(arguments))
        return *done;
    CaptureJob job;
    SettingTargets targets;
    Outcome checked = checkJob(line.parser(), options, job);
    if (checked.ok())
        checked = parseTargets(settings.texts(line.parser()), targets);
    if (!checked.ok())
        return finish(checked);
    MadeFolders folders;
    if (!job.folder.empty())
        if (Outcome made = folders.make(job.folder); !made.ok())
            return finish(made);

    CommandSession session(makeBackend(line.simulate()), line.sessionOptions());
    std::vector<std::filesystem::path> written;
    Outcome outcome = session.connect();
    if (outcome.ok())
        outcome = applyTargets(session, targets);
    if (outcome.ok())
        outcome = capture(session, job, written);
    if (written.empty())
        folders.takeBackIfEmpty();
    // The summary goes where the results go, failure or not, after the last file;
    // beside shot bytes on standard output it goes to stderr.
    const bool interrupted = outcome.code == ExitCode::Interrupted;
    if (outcome.ok() || !written.empty() || interrupted)
        std::fputs(summary(job, written, interrupted).c_str(), job.toStandardOutput ? stderr : stdout);
    return finish(outcome);
}

} // namespace kavlon::cli
