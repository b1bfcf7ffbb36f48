#include "ui/mainwindow/MainForm.h"
#include "ui/mainwindow/ToolbarIcons.h"

#include "device/hid/HidBackend.h"

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
    "Everything else is kept in KavlonPC.INI next to the program.\n";

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

    QApplication app(argc, argv);
    QApplication::setApplicationName("KavlonPC");
    QApplication::setApplicationVersion("0.1");
    QApplication::setWindowIcon(kavlon::icons::scopeTrace());
    kavlon::TMainForm mainForm({}, nullptr, kavlon::makeHidBackend(simulate));
    mainForm.show();
    return QApplication::exec();
}
