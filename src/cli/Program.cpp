// The program's first word: which command runs, and the help that lists them.
#include "cli/CommandLine.h"

#include "device/session/Backends.h"

#include "KavlonVersion.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <system_error>

namespace kavlon::cli {

namespace {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList&, const BackendMaker&);
};

constexpr std::array<Command, 5> kCommands = {{
    {"list", "the instruments found, and whether this user may use them", runList},
    {"set", "step the instrument to the settings given", runSet},
    {"capture", "capture shots and write one file each", runCapture},
    {"measure", "the 22 measurements per channel of a shot file or a live shot", runMeasure},
    {"serve", "let SCPI clients operate the instrument over TCP (port 5025)", runServe},
}};

constexpr const char* kExitCodes = "Exit codes: 0 done, 1 usage or a value the instrument does not offer,\n"
                                   "2 no instrument, 3 link lost, 4 file error.\n";

void globalHelp(FILE* stream) {
    std::fputs("Usage: kavloncli [--simulate | --replay PATH... [--fast]] COMMAND [options]\n\n"
               "Operates a Kavlon oscilloscope without the window.\n\n"
               "  --simulate        a simulated instrument instead of one on USB\n"
               "  --replay PATH...  saved shots (files, or folders of *.csv in name order) played\n"
               "                    back as the instrument, each data request taking the next\n"
               "  --fast            replayed as fast as they are read, not paced like the link\n"
               "\nCommands:\n",
               stream);
    for (const Command& c : kCommands)
        std::fprintf(stream, "  %-9s %s\n", c.name, c.summary);
    std::fputs("\n'kavloncli COMMAND --help' shows a command's options.\n", stream);
    std::fputs(kExitCodes, stream);
}

int usage(const QString& message) {
    std::fprintf(stderr, "kavloncli: %s\n\n", message.toLocal8Bit().constData());
    globalHelp(stderr);
    return int(ExitCode::Usage);
}

// Results go to standard output, which may be a file on a full disk: a script must not
// take a result that never arrived for a command that was done.
int withOutputChecked(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    // A write that failed before the flush leaves only the error flag, not its reason.
    const std::string why = errno != 0 ? ": " + std::generic_category().message(errno) : "";
    const int lost =
        finish(Outcome::failure(ExitCode::FileError, "cannot write the results to standard output" + why));
    // A command that failed already keeps the code that says why.
    return status == int(ExitCode::Ok) ? lost : status;
}

const Command* findCommand(const QString& word) {
    const auto it =
        std::find_if(kCommands.begin(), kCommands.end(), [&](const Command& c) { return word == c.name; });
    return it == kCommands.end() ? nullptr : &*it;
}

// The options before the command word.
struct Leading {
    QStringList shared; // handed on to the command
    // --simulate is the command's own option: it is known once the command is.
    InstrumentOptions instrument;
};

// Reads them from arguments[at] on, leaving at on the command word; an exit status when
// the program ends here.
std::optional<int> readLeading(const QStringList& arguments, qsizetype& at, Leading& leading) {
    for (; at < arguments.size() && arguments[at].startsWith('-'); ++at) {
        const QString& a = arguments[at];
        if (a == "--help" || a == "-h") {
            globalHelp(stdout);
            return int(ExitCode::Ok);
        }
        if (a == "--version") {
            std::printf("kavloncli %s\n", kVersion);
            return int(ExitCode::Ok);
        }
        if (a == "--simulate") {
            leading.shared << a;
        } else if (a == "--fast") {
            leading.instrument.fast = true;
        } else if (a == "--replay") {
            leading.instrument.replay = true;
            // A path named like a command is written ./measure.
            while (at + 1 < arguments.size() && !arguments[at + 1].startsWith('-') &&
                   !findCommand(arguments[at + 1]))
                leading.instrument.replayPaths.emplace_back(arguments[++at].toStdU16String());
        } else {
            return usage("unknown option " + a + " before the command");
        }
    }
    if (const auto misuse = instrumentMisuse(leading.instrument))
        return usage(QString::fromStdString(*misuse));
    return std::nullopt;
}

int runCommandLine(const QStringList& arguments, const BackendMaker& makeBackend) {
    qsizetype at = 1;
    Leading leading;
    if (auto done = readLeading(arguments, at, leading))
        return *done;
    if (at == arguments.size())
        return usage("which command?");
    const Command* command = findCommand(arguments[at]);
    if (!command)
        return usage("unknown command " + arguments[at]);
    QStringList rest{arguments.value(0, "kavloncli")};
    rest << leading.shared << arguments.mid(at + 1);
    if (!leading.instrument.replay)
        return command->run(rest, makeBackend);
    leading.instrument.simulate = rest.contains("--simulate");
    if (const auto misuse = instrumentMisuse(leading.instrument))
        return usage(QString::fromStdString(*misuse));
    const auto list = loadReplay(leading.instrument.replayPaths, [](const std::string& message) {
        std::fprintf(stderr, "kavloncli: %s\n", message.c_str());
    });
    if (!list)
        return finish(Outcome::failure(ExitCode::Usage, kNoShotToReplay));
    BackendChoice replay{BackendChoice::Kind::Replay, list, leading.instrument.fast};
    return command->run(rest, [replay](bool) { return kavlon::makeBackend(replay); });
}

} // namespace

int runCli(const QStringList& arguments, const BackendMaker& makeBackend) {
    return withOutputChecked(runCommandLine(arguments, makeBackend));
}

} // namespace kavlon::cli
