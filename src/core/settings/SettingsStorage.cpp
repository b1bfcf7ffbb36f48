// Reading goes through readRegularFile, saving through AtomicFile.
#include "core/settings/SettingsStorage.h"

#include "core/files/FileReading.h"

namespace kavlon {

std::optional<StoredSettings> loadSettings(const std::filesystem::path& path) {
    FileReadResult read = readRegularFile(path, kMaxSettingsFileSize);
    switch (read.status) {
    case FileReadStatus::Read:
        return parseSettings(read.text);
    case FileReadStatus::Unreadable:
        // There but unreadable: every key its default, as an empty file gives.
        return parseSettings({});
    default:
        return std::nullopt;
    }
}

SaveResult saveSettings(const std::filesystem::path& path, const StoredSettings& settings,
                        const FileCalls& calls) {
    return saveFileWhole(path, formatSettings(settings), Existing::Replace, calls);
}

} // namespace kavlon
