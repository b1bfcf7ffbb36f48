#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace kavlon {

// SIGINT (Ctrl+C in the terminal), SIGTERM (session logout, kill) and SIGHUP (the terminal
// closed) become a call on the main thread, from its event loop, where the program can
// close as its close box does. The handler itself only writes a byte to a pipe that the
// event loop watches; nothing else is safe inside a handler. Only the first signal is
// caught: after it, any of the three ends the program the operating system's way, so a
// program that hangs while closing can still be stopped. A signal ignored when the program starts (nohup, a
// background job) stays ignored. Elsewhere than on POSIX systems, nothing happens.

// Installs the handlers; first thing in main(), so a signal that comes while the
// application and its window are being built waits in the pipe instead of killing.
// False when that was not possible: the signals then end the program as they always did.
bool catchTerminationSignals();

// Watches the pipe from the event loop and calls onSignal with the signal's number, once
// for signals that come together. One at a time, created after the application object.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void readPending();

    std::function<void(int)> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace kavlon
