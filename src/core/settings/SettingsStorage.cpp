// The one place in core that talks to the file system itself (POSIX). A port
// to another platform gives this file a sibling; the rest of core stays as is.
#include "core/settings/SettingsStorage.h"

#include <cerrno>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavlon {

namespace {

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

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

// Every byte of text through write, or the errno of the failure.
int writeAll(int fd, std::string_view text, const BlockWrite& write) {
    while (!text.empty()) {
        errno = 0;
        const std::ptrdiff_t n = write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 && errno != 0 ? errno : EIO; // no progress is a failure too, not a loop
        text.remove_prefix(std::size_t(n));
    }
    return 0;
}

// A new file beside target, so that the rename stays within one file system.
int createTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary += "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes text to a file of its own and closes it; the errno of any failure.
// Every step is checked: a full disk shows itself at the write, at the sync
// or only at the close, depending on the file system.
int writeTemporary(int fd, std::string_view text, const BlockWrite& write) {
    int error = writeAll(fd, text, write);
    // A file system that cannot sync at all (EINVAL) keeps the data no worse for it.
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// Makes the rename itself last; a failure here leaves a saved file, so it is not reported.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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
    std::filesystem::path target = path;
    struct stat existing {};
    const bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && !isRegularFile(existing))
        return {false, S_ISDIR(existing.st_mode) ? reasonOf(EISDIR) : std::string("Not a regular file")};
    std::error_code error;
    if (replacing && std::filesystem::is_symlink(path, error)) {
        // The user's link stays, and the file it leads to takes the settings.
        if (const auto resolved = std::filesystem::canonical(path, error); !error)
            target = resolved;
    }

    std::filesystem::path temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return {false, reasonOf(errno)};
    if (replacing)
        ::fchmod(fd, existing.st_mode & 07777); // kept as the user had it
    const BlockWrite& writeBlock =
        write ? write
              : BlockWrite([](int f, const char* data, std::size_t size) { return ::write(f, data, size); });
    int failure = writeTemporary(fd, formatSettings(settings), writeBlock);
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        return {false, reasonOf(failure)};
    }
    syncFolder(target.parent_path());
    return {true, {}};
}

} // namespace kavlon
