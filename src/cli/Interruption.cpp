#include "cli/Interruption.h"

#include <atomic>

namespace kavlon::cli {

namespace {

// Set on the main thread from the event loop, never from the handler itself.
std::atomic<int> g_signal{0};

} // namespace

int interruptingSignal() {
    return g_signal.load();
}

void interrupt(int signal) {
    g_signal.store(signal);
}

} // namespace kavlon::cli
