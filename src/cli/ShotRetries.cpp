#include "cli/ShotRetries.h"

namespace kavlon::cli {

Outcome captureWholeShot(CommandSession& session, ShotRecord& record, int retries,
                         const std::function<void(const std::string&)>& say) {
    Outcome outcome;
    for (int attempt = 0;; ++attempt) {
        outcome = session.captureShot(record);
        // The failure alone would not tell a lost frame from a lost link.
        if (outcome.ok() || !session.shotLostFrames() || attempt >= retries)
            break;
        say("the shot lost frames; asking for it again (" + std::to_string(attempt + 1) + " of " +
            std::to_string(retries) + ")");
    }
    return outcome;
}

} // namespace kavlon::cli
