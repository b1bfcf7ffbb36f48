#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kavlon {

#ifdef Q_OS_UNIX

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The pipe's two ends: the handler writes, the event loop reads. One program, one pipe.
int g_pipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a wake-up, so a lost byte loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = savedErrno;
}

bool installHandlers() {
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the first signal asks politely, the next one is the default, fatal one.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : kSignals) {
        if (::sigaction(signal, &action, nullptr) != 0)
            return false;
    }
    return true;
}

void restoreDefaults() {
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_ownsPipe = true;
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { readPending(); });
    m_installed = installHandlers();
    if (!m_installed)
        restoreDefaults();
}

TerminationSignals::~TerminationSignals() {
    if (!m_ownsPipe)
        return;
    if (m_installed)
        restoreDefaults();
    m_notifier.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TerminationSignals::readPending() {
    // Signals that came together are answered once.
    unsigned char numbers[16];
    int first = 0;
    ssize_t n = 0;
    while ((n = ::read(g_pipe[0], numbers, sizeof numbers)) > 0) {
        if (first == 0)
            first = numbers[0];
    }
    if (first != 0)
        m_onSignal(first);
}

#else

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::readPending() {}

#endif

} // namespace kavlon
