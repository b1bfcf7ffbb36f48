#include "device/platform/TerminationSignals.h"

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

// The pipe's two ends: the handler writes, the event loop reads. One program, one pipe,
// kept open to the end: a handler may still write while the program closes.
int g_pipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int signal) {
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a wake-up, so a lost byte loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = savedErrno;
}

// From the first signal on, any of them ends the program the default way.
void stopCatching() {
    for (int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == onTerminationSignal)
            std::signal(signal, SIG_DFL);
    }
}

} // namespace

bool catchTerminationSignals() {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the first signal asks politely, the next one is the default, fatal one.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : kSignals) {
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) != 0)
            return false;
        if (before.sa_handler == SIG_IGN)
            continue; // whoever started us asked for this signal to be ignored
        if (::sigaction(signal, &action, nullptr) != 0)
            return false;
    }
    return true;
}

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (g_pipe[0] < 0)
        return;
    // Level-triggered: a byte written before the event loop runs is seen when it does.
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { readPending(); });
}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::readPending() {
    unsigned char numbers[16];
    int first = 0;
    ssize_t n = 0;
    while ((n = ::read(g_pipe[0], numbers, sizeof numbers)) > 0) {
        if (first == 0)
            first = numbers[0];
    }
    if (first == 0)
        return;
    stopCatching();
    m_onSignal(first);
}

#else

bool catchTerminationSignals() {
    return false;
}

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::readPending() {}

#endif

} // namespace kavlon
