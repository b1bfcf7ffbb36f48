#include "cli/CommandLine.h"

#include "KavlonVersion.h"
#include "device/session/Backends.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    // No window, but an event loop: the device layer's hot-plug news and the reader
    // thread's hand-over to this thread both arrive through it.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("kavloncli");
    QCoreApplication::setApplicationVersion(kavlon::kVersion);
    return kavlon::cli::runCli(QCoreApplication::arguments(), kavlon::makeHidBackend);
}
