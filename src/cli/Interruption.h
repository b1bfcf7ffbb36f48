#pragma once

namespace kavlon::cli {

// The termination signal (SIGINT, SIGTERM, SIGHUP) that asked the command to stop,
// or 0. kavloncli's main sets it from the event loop; every wait ends when it is set,
// and the command finishes what it can say (which files were written) and exits with
// the signal's conventional status, 128 + its number.
int interruptingSignal();
void interrupt(int signal);

} // namespace kavlon::cli
