// Reading goes through readRegularFile, saving through AtomicFile.
#include "core/settings/SettingsStorage.h"

#include "core/files/FileReading.h"

namespace kavlon {

SettingsRead readSettingsFile(const std::filesystem::path& path) {
    FileReadResult read = readRegularFile(path, kMaxSettingsFileSize);
    SettingsRead result;
    switch (read.status) {
    case FileReadStatus::Read:
        result.status = SettingsRead::Status::Read;
        result.settings = parseSettings(read.text);
        break;
    case FileReadStatus::Missing:
        result.status = SettingsRead::Status::Missing;
        break;
    case FileReadStatus::NotRegular:
        result.status = SettingsRead::Status::NotRegular;
        break;
    case FileReadStatus::TooLarge:
        result.status = SettingsRead::Status::Unreadable;
        result.reason = "larger than " + std::to_string(kMaxSettingsFileSize / 1024) +
                        " KiB, which no settings file of this program is";
        break;
    case FileReadStatus::Unreadable:
        result.status = SettingsRead::Status::Unreadable;
        result.reason = std::move(read.reason);
        break;
    }
    return result;
}

SaveResult saveSettings(const std::filesystem::path& path, const StoredSettings& settings,
                        const FileCalls& calls) {
    return saveFileWhole(path, formatSettings(settings), Existing::Replace, calls);
}

} // namespace kavlon
