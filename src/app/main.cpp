#include "device/platform/TerminationSignals.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/mainwindow/ToolbarIcons.h"

#include "device/session/Backends.h"

#include "KavlonVersion.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "Usage: kavlonpc [--simulate]\n"
    "\n"
    "  --simulate   attach a simulated instrument instead of looking for one on USB\n"
    "  --help       show this text\n"
    "\n"
    "The window size and the quick-print options are kept in KavlonPC.INI: next to the\n"
    "program when its folder is writable (and not a system folder such as /usr/bin),\n"
    "otherwise in the user's configuration folder.\n"
    "Ctrl+C, SIGTERM and SIGHUP close the program as its close box does.\n";

} // namespace

int main(int argc, char* argv[]) {
    bool simulate = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--simulate") == 0) {
            simulate = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "kavlonpc: unknown option %s\n\n%s", argv[i], kUsage);
            return 2;
        }
    }

    kavlon::catchTerminationSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName("KavlonPC");
    QApplication::setApplicationVersion(kavlon::kVersion);
    QApplication::setWindowIcon(kavlon::icons::scopeTrace());
    // The desktop entry's name, so a Wayland desktop matches the window to it.
    QGuiApplication::setDesktopFileName("org.kavlonpc.KavlonPC");
    kavlon::TMainForm mainForm({}, nullptr, kavlon::makeHidBackend(simulate));
    if (simulate)
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
