#pragma once

#include <chrono>
#include <functional>

namespace kavlon::cli {

// Runs the event loop, sleeping while nothing happens, until done() holds (true) or
// the time is up or a termination signal came (false). Reports from the instrument,
// device news and signals wake it.
bool runEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

} // namespace kavlon::cli
