#include "device/platform/TerminationSignals.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/mainwindow/ToolbarIcons.h"

#include "device/session/Backends.h"

#include "KavlonVersion.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: kavlonpc [--simulate | --replay PATH... [--fast]]\n"
    "\n"
    "  --simulate        attach a simulated instrument instead of looking for one on USB\n"
    "  --replay PATH...  attach saved shots played back as the instrument: shot files, or\n"
    "                    folders whose *.csv files are taken in name order; each data\n"
    "                    request takes the next shot, and after the last the first again\n"
    "  --fast            replay as fast as the program reads, not paced like the USB link\n"
    "  --help            show this text\n"
    "\n"
    "The window size and the quick-print options are kept in KavlonPC.INI: next to the\n"
    "program when its folder is writable (and not a system folder such as /usr/bin),\n"
    "otherwise in the user's configuration folder.\n"
    "Ctrl+C, SIGTERM and SIGHUP close the program as its close box does.\n";

// The instrument the options name, or the exit status when the program ends here.
std::optional<int> chooseInstrument(int argc, char* argv[], kavlon::BackendChoice& choice) {
    using Kind = kavlon::BackendChoice::Kind;
    kavlon::InstrumentOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--simulate") == 0) {
            options.simulate = true;
        } else if (std::strcmp(argv[i], "--fast") == 0) {
            options.fast = true;
        } else if (std::strcmp(argv[i], "--replay") == 0) {
            options.replay = true;
            while (i + 1 < argc && argv[i + 1][0] != '-')
                options.replayPaths.emplace_back(argv[++i]);
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "kavlonpc: unknown option %s\n\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (const auto misuse = kavlon::instrumentMisuse(options)) {
        std::fprintf(stderr, "kavlonpc: %s\n\n%s", misuse->c_str(), kUsage);
        return 1;
    }
    choice.kind = options.replay ? Kind::Replay : options.simulate ? Kind::Simulated : Kind::Usb;
    choice.fast = options.fast;
    if (!options.replay)
        return std::nullopt;
    // Every file is read now, so what cannot be played is said before the window opens.
    choice.replay = kavlon::loadReplay(options.replayPaths, [](const std::string& message) {
        std::fprintf(stderr, "kavlonpc: %s\n", message.c_str());
    });
    if (!choice.replay) {
        std::fprintf(stderr, "kavlonpc: %s\n", kavlon::kNoShotToReplay);
        return 1;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    kavlon::BackendChoice choice;
    if (auto done = chooseInstrument(argc, argv, choice))
        return *done;

    kavlon::catchTerminationSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName("KavlonPC");
    QApplication::setApplicationVersion(kavlon::kVersion);
    QApplication::setWindowIcon(kavlon::icons::scopeTrace());
    // The desktop entry's name, so a Wayland desktop matches the window to it.
    QGuiApplication::setDesktopFileName("org.kavlonpc.KavlonPC");
    kavlon::TMainForm mainForm({}, nullptr, kavlon::makeBackend(choice));
    if (choice.kind == kavlon::BackendChoice::Kind::Simulated)
        mainForm.showSimulatorMenu();

    // A signal closes the window as its close box does, which saves the settings; the
    // window's destruction after the loop stops and joins the reader before the device
    // goes. exit() also ends a modal dialog's loop, which would otherwise hold the program.
    const kavlon::TerminationSignals termination([&mainForm](int) {
        mainForm.close();
        QCoreApplication::exit(0);
    });
    mainForm.show();
    return QApplication::exec();
}
