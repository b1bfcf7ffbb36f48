#include "device/replay/ReplayList.h"

#include "core/files/EscapedText.h"
#include "core/shot/ShotCsv.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace kavlon {

namespace {

namespace fs = std::filesystem;

bool isShotFileName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".csv";
}

// The shot files of a folder in name order, or why there are none.
std::vector<fs::path> folderShots(const fs::path& folder, std::vector<std::string>& skipped) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (isShotFileName(it->path()) && it->is_regular_file(ignored))
            files.push_back(it->path());
    }
    if (error)
        skipped.push_back(folder.string() + ": " + error.message());
    else if (files.empty())
        skipped.push_back(folder.string() + ": no shot files (*.csv) in this folder");
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    return files;
}

void addShot(const fs::path& path, ReplayList& list) {
    const auto read = std::make_unique<ShotFileResult>(readShotFile(path, TransferInputs{}));
    if (!read->ok) {
        list.skipped.push_back(path.string() + ": " + read->error);
        return;
    }
    ReplayShotResult replay = replayShotOf(read->record);
    if (!replay.ok) {
        list.skipped.push_back(path.string() + ": cannot be replayed: " + replay.error);
        return;
    }
    for (const std::string& note : replay.shot.notes)
        list.notes.push_back(path.string() + ": " + note);
    list.shots.push_back({path, std::move(replay.shot)});
}

} // namespace

ReplayList loadReplayList(const std::vector<fs::path>& paths) {
    ReplayList list;
    for (const fs::path& path : paths) {
        std::error_code error;
        if (fs::is_directory(path, error)) {
            for (const fs::path& file : folderShots(path, list.skipped))
                addShot(file, list);
        } else {
            addShot(path, list);
        }
    }
    return list;
}

std::vector<std::string> replayMessages(const ReplayList& list) {
    // They carry file names and file text, shown on a terminal or in the window.
    std::vector<std::string> messages;
    for (const std::string& skipped : list.skipped)
        messages.push_back(escapeControlCharacters(skipped + "; skipped"));
    for (const std::string& note : list.notes)
        messages.push_back(escapeControlCharacters(note));
    return messages;
}

} // namespace kavlon
