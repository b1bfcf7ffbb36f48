#pragma once

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <functional>

namespace kavlon::test {

// Runs the event loop until condition holds or timeout passes; true when it held.
// Every wait in the tests is bounded by one of these, so a fault fails a test
// instead of hanging it.
inline bool waitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace kavlon::test
