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

// The settings stored at path, or nothing when there is no settings file to
// read: missing, a link to nowhere, anything but a regular file (opening a pipe
// would hold the start forever), or larger than kMaxSettingsFileSize. A file
// that is there but cannot be read gives every key its default, as an empty
// file does.
std::optional<StoredSettings> loadSettings(const std::filesystem::path& path);

// Replaces the settings file at path whole or not at all: the text goes to a
// new file beside it, which takes the old one's place only once every byte is
// written and on the disk. On failure the old file is as it was and the new
// one is gone. Whatever is there and not a regular file is left alone (a save
// fails on it); a link to a file is followed, a link to nowhere replaced.
SaveResult saveSettings(const std::filesystem::path& path, const StoredSettings& settings,
                        const FileCalls& calls = {});

} // namespace kavlon
