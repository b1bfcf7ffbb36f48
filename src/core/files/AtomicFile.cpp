// Besides the settings loader, the one place in core that talks to the file system
// itself (POSIX, with Linux's unnamed files where there are any). A port to another
// platform gives this file a sibling.
#include "core/files/AtomicFile.h"

#include "core/files/TemporaryNames.h"

#include <cerrno>
#include <cstdio>
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

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

int platformCreateUnnamed(const char* folder) {
#if defined(O_TMPFILE)
    // Linking it later goes through /proc; without /proc it could never get its name.
    if (::access("/proc/self/fd", X_OK) != 0)
        return -1;
    return ::open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
    (void)folder;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

FileCalls withPlatformCalls(FileCalls calls) {
    if (!calls.write)
        calls.write = [](int fd, const char* data, std::size_t size) { return ::write(fd, data, size); };
    if (!calls.sync)
        calls.sync = ::fsync;
    if (!calls.rename)
        calls.rename = ::rename;
    if (!calls.createUnnamed)
        calls.createUnnamed = platformCreateUnnamed;
    return calls;
}

// Makes the rename itself last; a failure here leaves a saved file, so it is not reported.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

// What had the target's name when the file was opened.
struct AtomicFile::Target {
    bool exists = false;
    struct stat info {};
};

AtomicFile::AtomicFile(std::filesystem::path target, Existing existing, FileCalls calls)
    : m_target(std::move(target)), m_existing(existing), m_calls(withPlatformCalls(std::move(calls))) {}

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

// 0 when the target may be written, else the errno that says why not; a link to a
// file is followed, so that the file it leads to takes the new contents.
int AtomicFile::checkTarget(Target& target) {
    if (::stat(m_target.c_str(), &target.info) != 0)
        return 0;
    target.exists = true;
    if (m_existing == Existing::Keep) {
        m_nameTaken = true;
        return EEXIST;
    }
    if (!S_ISREG(target.info.st_mode))
        return S_ISDIR(target.info.st_mode) ? EISDIR : EINVAL;
    // Write protection is the owner's word, and the folder's permissions do not overrule it.
    if (::faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    std::error_code error;
    if (std::filesystem::is_symlink(m_target, error)) {
        if (const auto resolved = std::filesystem::canonical(m_target, error); !error)
            m_target = resolved;
    }
    return 0;
}

// A temporary name of the target's beside it (so that the rename stays within one file
// system) that claim makes the file under: 0, or the errno of the first failure other
// than a taken name. Only a claimed name is ours to remove again.
int AtomicFile::claimTemporary(const std::function<int(const std::filesystem::path&)>& claim) {
    const std::filesystem::path folder = folderOf(m_target);
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        std::filesystem::path name =
            folder / temporaryName(m_target.filename().native(), ::getpid(), attempt, m_longestName);
        error = claim(name);
        if (error == 0)
            m_temporary = std::move(name);
    }
    return error;
}

int AtomicFile::createFile() {
    const std::filesystem::path folder = folderOf(m_target);
    m_longestName = longestNameIn(folder);
    m_fd = m_calls.createUnnamed(folder.c_str());
    m_unnamed = m_fd >= 0;
    // A named file is left behind when the program is killed; clear away what an
    // earlier one left (an unnamed file in Keep mode never has a name to leave).
    if (!m_unnamed || m_existing == Existing::Replace)
        removeStaleTemporaries(folder, m_target.filename().native(), m_longestName);
    if (m_unnamed)
        return 0;
    return claimTemporary([this](const std::filesystem::path& name) {
        m_fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return m_fd >= 0 ? 0 : errno;
    });
}

// The replacement is the owner's file as the old one was, with its permissions.
int AtomicFile::keepOwnerAndMode(const Target& target) {
    struct stat created {};
    if (::fstat(m_fd, &created) != 0)
        return errno;
    if ((created.st_uid != target.info.st_uid || created.st_gid != target.info.st_gid) &&
        ::fchown(m_fd, target.info.st_uid, target.info.st_gid) != 0)
        return errno;
    return ::fchmod(m_fd, target.info.st_mode & 07777) == 0 ? 0 : errno;
}

bool AtomicFile::open() {
    if (m_fd >= 0 || m_failed)
        return !m_failed;
    Target target;
    if (const int error = checkTarget(target); error != 0) {
        if (error != EINVAL)
            return fail(error);
        m_failed = true;
        m_reason = "Not a regular file";
        return false;
    }
    if (const int error = createFile(); error != 0)
        return fail(error);
    if (target.exists) {
        if (const int error = keepOwnerAndMode(target); error != 0)
            return fail(error);
    }
    return true;
}

bool AtomicFile::write(std::string_view bytes) {
    if (m_fd < 0)
        return false;
    while (!bytes.empty()) {
        errno = 0;
        ++m_writeCalls;
        const std::ptrdiff_t n = m_calls.write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 && errno != 0 ? errno : EIO); // no progress is a failure too, not a loop
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

int AtomicFile::closeFile() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 ? 0 : errno;
}

// Gives the unnamed file the name, which must be free.
int AtomicFile::linkUnnamed(const std::filesystem::path& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

int AtomicFile::placeUnnamed() {
    if (m_existing == Existing::Keep) {
        if (const int error = linkUnnamed(m_target); error != 0) {
            m_nameTaken = error == EEXIST;
            return error;
        }
        // Whole and synced, but a close that fails still says something went wrong.
        if (const int error = closeFile(); error != 0) {
            ::unlink(m_target.c_str());
            return error;
        }
        return 0;
    }
    // No call replaces a name by an unnamed file: it gets a name of its own for the rename.
    if (const int error =
            claimTemporary([this](const std::filesystem::path& name) { return linkUnnamed(name); });
        error != 0)
        return error;
    if (const int closed = closeFile(); closed != 0)
        return closed;
    return m_calls.rename(m_temporary.c_str(), m_target.c_str()) == 0 ? 0 : errno;
}

int AtomicFile::placeFile() {
    // Every step is checked: a full disk shows itself at the write, at the sync or
    // only at the close, depending on the file system. One that cannot sync at all
    // (EINVAL) keeps the data no worse for it.
    if (m_calls.sync(m_fd) != 0 && errno != EINVAL)
        return errno;
    if (m_unnamed)
        return placeUnnamed();
    if (const int error = closeFile(); error != 0)
        return error;
    if (m_existing == Existing::Keep) {
        const int error = placeWithoutReplacing(m_temporary, m_target);
        m_nameTaken = error == EEXIST;
        return error;
    }
    return m_calls.rename(m_temporary.c_str(), m_target.c_str()) == 0 ? 0 : errno;
}

SaveResult AtomicFile::commit() {
    if (m_fd < 0)
        return {false, m_failed ? m_reason : reasonOf(EBADF), m_nameTaken};
    if (const int error = placeFile(); error != 0) {
        fail(error);
        return {false, m_reason, m_nameTaken};
    }
    m_temporary.clear();
    syncFolder(folderOf(m_target));
    return {true, {}, false};
}

void AtomicFile::discard() {
    if (m_fd >= 0)
        closeFile();
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

SaveResult saveFileWhole(const std::filesystem::path& path, std::string_view contents, Existing existing,
                         const FileCalls& calls) {
    AtomicFile file(path, existing, calls);
    if (!file.open() || !file.write(contents))
        return {false, file.reason(), file.nameTaken()};
    return file.commit();
}

} // namespace kavlon
