#include "cli/Outcome.h"

#include "cli/Interruption.h"

#include "core/files/EscapedText.h"

#include <cstdio>

namespace kavlon::cli {

int finish(const Outcome& outcome) {
    if (!outcome.message.empty())
        std::fprintf(stderr, "kavloncli: %s\n", escapeControlCharacters(outcome.message).c_str());
    if (outcome.code == ExitCode::Interrupted)
        return int(ExitCode::Interrupted) + interruptingSignal();
    return int(outcome.code);
}

} // namespace kavlon::cli
