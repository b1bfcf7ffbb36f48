#pragma once

#include <chrono>
#include <functional>

namespace kavlon::cli {

// Runs the event loop, sleeping while nothing happens, until done() holds (true) or
// the time is up (false). Reports from the instrument and device news wake it.
bool runEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

} // namespace kavlon::cli
