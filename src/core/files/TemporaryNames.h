#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kavlon {

// The longest file name most file systems take, in bytes.
constexpr std::size_t kLongestFileName = 255;

// The name of the named file the atomic writer fills for a target: the target's name
// and ".PID-N.tmp", the target's part cut short (never inside a UTF-8 character) where
// the whole would pass longest, so that a target of any legal length can be saved.
std::string temporaryName(std::string_view targetName, long pid, int attempt,
                          std::size_t longest = kLongestFileName);

// Who wrote name, when it is what temporaryName gives for targetName.
struct TemporaryOwner {
    long pid = 0;
    int attempt = 0;
};
std::optional<TemporaryOwner> temporaryOwner(std::string_view name, std::string_view targetName,
                                             std::size_t longest = kLongestFileName);

// Removes from folder the named files of target that a writer left when it was killed:
// ours only (this user's regular files under the temporary names of target), and only
// those whose process is gone. longest is longestNameIn(folder).
void removeStaleTemporaries(const std::filesystem::path& folder, std::string_view targetName,
                            std::size_t longest);

// The longest name the file system of folder takes.
std::size_t longestNameIn(const std::filesystem::path& folder);

} // namespace kavlon
