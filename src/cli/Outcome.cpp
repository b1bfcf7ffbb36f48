#include "cli/Outcome.h"

#include "core/files/EscapedText.h"

#include <cstdio>

namespace kavlon::cli {

int finish(const Outcome& outcome) {
    if (!outcome.message.empty())
        std::fprintf(stderr, "kavloncli: %s\n", escapeControlCharacters(outcome.message).c_str());
    return int(outcome.code);
}

} // namespace kavlon::cli
