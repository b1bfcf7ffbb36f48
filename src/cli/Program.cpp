// The program's first word: which command runs, and the help that lists them.
#include "cli/CommandLine.h"

#include "KavlonVersion.h"

#include <array>
#include <cerrno>
#include <cstdio>
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
    std::fputs("Usage: kavloncli [--simulate] COMMAND [options]\n\n"
               "Operates a Kavlon oscilloscope without the window.\n\nCommands:\n",
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

int runCommandLine(const QStringList& arguments, const BackendMaker& makeBackend) {
    // Options before the command: the shared --simulate, and help or version.
    qsizetype at = 1;
    QStringList leading;
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
        if (a != "--simulate")
            return usage("unknown option " + a + " before the command");
        leading << a;
    }
    if (at == arguments.size())
        return usage("which command?");
    for (const Command& c : kCommands) {
        if (arguments[at] == c.name) {
            QStringList rest{arguments.value(0, "kavloncli")};
            rest << leading << arguments.mid(at + 1);
            return c.run(rest, makeBackend);
        }
    }
    return usage("unknown command " + arguments[at]);
}

} // namespace

int runCli(const QStringList& arguments, const BackendMaker& makeBackend) {
    return withOutputChecked(runCommandLine(arguments, makeBackend));
}

} // namespace kavlon::cli
