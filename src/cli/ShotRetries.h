#pragma once

#include "cli/CommandSession.h"

#include <functional>
#include <string>

namespace kavlon::cli {

// How often a shot that lost frames is asked for again, unless told otherwise.
constexpr int kDefaultShotRetries = 1;
constexpr int kMostShotRetries = 10;

// One whole shot: a shot that lost frames is asked for again, up to `retries` more
// times, and `say` hears each time why; the last one that lost frames is then the
// failure. Any other failure (the link gone, no answer) ends it at once.
Outcome captureWholeShot(CommandSession& session, ShotRecord& record, int retries,
                         const std::function<void(const std::string&)>& say);

} // namespace kavlon::cli
