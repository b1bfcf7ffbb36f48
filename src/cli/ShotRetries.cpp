#include "cli/ShotRetries.h"

namespace kavlon::cli {

Outcome captureWholeShot(CommandSession& session, ShotRecord& record, int retries,
                         const std::function<void(const std::string&)>& say) {
    // The session says whether the shot came whole; the failure alone would not tell a
    // lost frame from a lost link.
    bool lostFrames = false;
    const QMetaObject::Connection watch =
        QObject::connect(&session.session(), &InstrumentSession::shotReady,
                         [&lostFrames](const QString&, bool whole) { lostFrames = !whole; });
    Outcome outcome;
    for (int attempt = 0;; ++attempt) {
        lostFrames = false;
        outcome = session.captureShot(record);
        if (outcome.ok() || !lostFrames || attempt >= retries)
            break;
        say("the shot lost frames; asking for it again (" + std::to_string(attempt + 1) + " of " +
            std::to_string(retries) + ")");
    }
    QObject::disconnect(watch);
    return outcome;
}

} // namespace kavlon::cli
