#include "cli/EventWait.h"

#include "cli/Interruption.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace kavlon::cli {

namespace {

// Bounds how late a deadline, or a condition that no event announces, is noticed.
constexpr std::chrono::milliseconds kTick{50};

} // namespace

bool runEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    // Events already waiting count even when no time is given.
    QCoreApplication::processEvents();
    QTimer tick;
    tick.start(kTick);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline || interruptingSignal() != 0)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace kavlon::cli
