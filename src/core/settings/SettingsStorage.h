#pragma once

#include "core/files/AtomicFile.h"
#include "core/settings/SettingsFile.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace kavlon {

// A settings file is a few lines; a larger file is not ours and is not read.
constexpr std::size_t kMaxSettingsFileSize = 1024 * 1024;

// What reading the settings file found.
struct SettingsRead {
    enum class Status {
        Read,       // settings holds what the file says
        Missing,    // nothing there, or a link to nowhere
        NotRegular, // a folder, a pipe, a device: never opened, and never replaced
        Unreadable, // a file that is there but could not be read; reason says why
    };
    Status status = Status::Missing;
    std::optional<StoredSettings> settings;
    std::string reason;
};

// The settings stored at path. Opening a pipe would hold the start forever, so what is
// not a regular file is never opened. A file that cannot be read (no permission, larger
// than kMaxSettingsFileSize) gives no settings and the reason: its owner must learn that
// it is not used, and it must not be overwritten with the defaults.
SettingsRead readSettingsFile(const std::filesystem::path& path);

// Replaces the settings file at path whole or not at all (see AtomicFile): on failure
// the old file is as it was and the new one is gone.
SaveResult saveSettings(const std::filesystem::path& path, const StoredSettings& settings,
                        const FileCalls& calls = {});

} // namespace kavlon
