#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace kavlon {

// Turns SIGINT (Ctrl+C in the terminal), SIGTERM (session logout, kill) and SIGHUP (the
// terminal closed) into a call on the main thread, from its event loop, where the program
// can close as its close box does. The signal handler itself only writes a byte to a pipe
// that the event loop watches; nothing else is safe inside a handler. Each handler is used
// once: a second signal ends the program the operating system's way, so a program that
// hangs while closing can still be stopped. Elsewhere than on POSIX systems, nothing.
class TerminationSignals : public QObject {
public:
    // onSignal gets the signal's number. One instance at a time.
    explicit TerminationSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or the handlers could not be set up; the program then ends on
    // these signals as it always did.
    bool installed() const { return m_installed; }

private:
    void readPending();

    std::function<void(int)> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_ownsPipe = false;
    bool m_installed = false;
};

} // namespace kavlon
