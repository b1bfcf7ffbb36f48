#pragma once

#include "core/shot/ShotReplay.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kavlon {

// One saved shot as the replay plays it.
struct ReplayEntry {
    std::filesystem::path path;
    ReplayShot shot;
};

// The shots a replay plays, in order, and what the paths named that it does not play.
struct ReplayList {
    std::vector<ReplayEntry> shots;
    // "PATH: line N: reason" for every file (or folder) that gave no shot; it is skipped.
    std::vector<std::string> skipped;
    // "PATH: what comes back otherwise" for shots that are played all the same.
    std::vector<std::string> notes;
};

// Reads every path: a shot file, or a folder whose *.csv files are taken in name order.
// Files are read whole now, so a damaged one is known before anything starts.
ReplayList loadReplayList(const std::vector<std::filesystem::path>& paths);

// What to tell the user of a loaded list, one line each, control characters escaped:
// every file skipped and why, then every note.
std::vector<std::string> replayMessages(const ReplayList& list);

} // namespace kavlon
