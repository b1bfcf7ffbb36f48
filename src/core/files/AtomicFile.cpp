// Besides the settings loader, the one place in core that talks to the file system
// itself (POSIX). A port to another platform gives this file a sibling.
#include "core/files/AtomicFile.h"

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

std::ptrdiff_t platformWrite(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
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

// Makes the rename itself last; a failure here leaves a saved file, so it is not reported.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Puts temporary under target's name only while that name is free. A hard link
// fails on a taken name where a rename would replace it; file systems without
// hard links get the rename after a last look.
int placeWithoutReplacing(const std::filesystem::path& temporary, const std::filesystem::path& target) {
    if (::link(temporary.c_str(), target.c_str()) == 0) {
        ::unlink(temporary.c_str());
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return errno;
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0)
        return EEXIST;
    return ::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
}

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target, Existing existing, BlockWrite write)
    : m_target(std::move(target)), m_existing(existing),
      m_write(write ? std::move(write) : BlockWrite(platformWrite)) {}

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::fail(int error) {
    if (!m_failed)
        m_reason = reasonOf(error);
    m_failed = true;
    discard();
    return false;
}

// Where the bytes finally go, and the mode they inherit (-1: a new file); the errno
// of a target that may not be written, as a negative number.
int AtomicFile::resolveTarget() {
    struct stat existing {};
    if (::stat(m_target.c_str(), &existing) != 0)
        return -1;
    if (m_existing == Existing::Keep)
        return -EEXIST;
    if (!S_ISREG(existing.st_mode))
        return S_ISDIR(existing.st_mode) ? -EISDIR : -EINVAL;
    std::error_code error;
    if (std::filesystem::is_symlink(m_target, error)) {
        // The user's link stays, and the file it leads to takes the new contents.
        if (const auto resolved = std::filesystem::canonical(m_target, error); !error)
            m_target = resolved;
    }
    return int(existing.st_mode & 07777);
}

bool AtomicFile::open() {
    if (m_fd >= 0 || m_failed)
        return !m_failed;
    const int mode = resolveTarget();
    if (mode < -1) {
        m_failed = true;
        m_reason = mode == -EINVAL ? std::string("Not a regular file") : reasonOf(-mode);
        return false;
    }
    m_fd = createTemporary(m_target, m_temporary);
    if (m_fd < 0)
        return fail(errno);
    if (mode >= 0)
        ::fchmod(m_fd, mode_t(mode)); // kept as the user had it
    return true;
}

bool AtomicFile::write(std::string_view bytes) {
    if (m_fd < 0)
        return false;
    while (!bytes.empty()) {
        errno = 0;
        ++m_writeCalls;
        const std::ptrdiff_t n = m_write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 && errno != 0 ? errno : EIO); // no progress is a failure too, not a loop
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

int AtomicFile::placeFile() {
    // Every step is checked: a full disk shows itself at the write, at the sync or
    // only at the close, depending on the file system. One that cannot sync at all
    // (EINVAL) keeps the data no worse for it.
    if (::fsync(m_fd) != 0 && errno != EINVAL)
        return errno;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return errno;
    if (m_existing == Existing::Keep)
        return placeWithoutReplacing(m_temporary, m_target);
    return ::rename(m_temporary.c_str(), m_target.c_str()) == 0 ? 0 : errno;
}

SaveResult AtomicFile::commit() {
    if (m_fd < 0)
        return {false, m_failed ? m_reason : reasonOf(EBADF)};
    if (const int error = placeFile(); error != 0) {
        fail(error);
        return {false, m_reason};
    }
    m_temporary.clear();
    syncFolder(m_target.parent_path());
    return {true, {}};
}

void AtomicFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

SaveResult saveFileWhole(const std::filesystem::path& path, std::string_view contents,
                         const BlockWrite& write) {
    AtomicFile file(path, Existing::Replace, write);
    if (!file.open() || !file.write(contents))
        return {false, file.reason()};
    return file.commit();
}

} // namespace kavlon
