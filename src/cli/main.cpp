#include "cli/CommandLine.h"
#include "cli/Interruption.h"

#include "device/platform/TerminationSignals.h"
#include "device/session/Backends.h"

#include "KavlonVersion.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    // Ctrl+C, a logout or a closed terminal stop the command at its next wait; it says
    // what was written and exits with the signal's status. A second signal ends it at once.
    kavlon::catchTerminationSignals();
    // No window, but an event loop: the device layer's hot-plug news, the reader
    // thread's hand-over and the signals all arrive through it.
    QCoreApplication app(argc, argv);
    const kavlon::TerminationSignals termination([](int signal) { kavlon::cli::interrupt(signal); });
    QCoreApplication::setApplicationName("kavloncli");
    QCoreApplication::setApplicationVersion(kavlon::kVersion);
    return kavlon::cli::runCli(QCoreApplication::arguments(), kavlon::makeHidBackend);
}
