// Reads the settings file with POSIX calls, so that what is not a regular file is never
// opened; saving goes through AtomicFile. A port to another platform gives this file a sibling.
#include "core/settings/SettingsStorage.h"

#include <cerrno>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavlon {

namespace {

// The whole of fd, or nothing when it holds more than a settings file may.
// A read error gives what an unreadable file gives: no text.
std::optional<std::string> readAll(int fd) {
    std::string text;
    char block[16 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::string();
        if (n == 0)
            return text;
        if (text.size() + std::size_t(n) > kMaxSettingsFileSize)
            return std::nullopt;
        text.append(block, std::size_t(n));
    }
}

bool isRegularFile(const struct stat& info) {
    return S_ISREG(info.st_mode);
}

} // namespace

std::optional<StoredSettings> loadSettings(const std::filesystem::path& path) {
    // Looked at before it is opened: opening a pipe waits for a writer, and
    // opening a device may do anything.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !isRegularFile(info) ||
        info.st_size > off_t(kMaxSettingsFileSize))
        return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return parseSettings({});
    // Looked at again: something else may have taken the name in between.
    std::optional<std::string> text;
    if (::fstat(fd, &info) == 0 && isRegularFile(info))
        text = readAll(fd);
    ::close(fd);
    if (!text)
        return std::nullopt;
    return parseSettings(*text);
}

SaveResult saveSettings(const std::filesystem::path& path, const StoredSettings& settings,
                        const BlockWrite& write) {
    return saveFileWhole(path, formatSettings(settings), write);
}

} // namespace kavlon
