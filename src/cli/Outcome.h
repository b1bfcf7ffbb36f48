#pragma once

#include <string>

namespace kavlon::cli {

// What a script may rely on: every exit code means one thing only.
enum class ExitCode {
    Ok = 0,
    Usage = 1,        // a bad option, or a value the instrument does not offer
    NoInstrument = 2, // none found, none that may be opened, or none that answered
    LinkLost = 3,     // it went away or stopped answering part way
    FileError = 4,    // a file could not be read or written
    // A termination signal stopped the command: the status is 128 + the signal's number.
    Interrupted = 128,
};

// How a step ended: Ok, or the exit code and the message for stderr.
struct Outcome {
    ExitCode code = ExitCode::Ok;
    std::string message;

    bool ok() const { return code == ExitCode::Ok; }
    static Outcome success() { return {}; }
    static Outcome failure(ExitCode code, std::string message) { return {code, std::move(message)}; }
};

// Writes the message (if any) to stderr and gives the process's exit status
// (for Interrupted, 128 + the signal that came).
int finish(const Outcome& outcome);

} // namespace kavlon::cli
