// Reads with POSIX calls, so that what is not a regular file is never opened. A port to
// another platform gives this file a sibling.
#include "core/files/FileReading.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavlon {

namespace {

FileReadResult failed(FileReadStatus status, int error = 0) {
    FileReadResult result;
    result.status = status;
    if (error != 0)
        result.reason = std::generic_category().message(error);
    return result;
}

// The rest of fd into result.text; the limit is checked again as the file may have grown.
void readAll(int fd, std::size_t maxSize, FileReadResult& result) {
    char block[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result = failed(FileReadStatus::Unreadable, errno);
            return;
        }
        if (n == 0)
            return;
        if (result.text.size() + std::size_t(n) > maxSize) {
            result = failed(FileReadStatus::TooLarge);
            return;
        }
        result.text.append(block, std::size_t(n));
    }
}

} // namespace

FileReadResult readRegularFile(const std::filesystem::path& path, std::size_t maxSize) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return failed(FileReadStatus::Missing, errno);
    if (!S_ISREG(info.st_mode))
        return failed(FileReadStatus::NotRegular);
    if (std::size_t(info.st_size) > maxSize)
        return failed(FileReadStatus::TooLarge);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(FileReadStatus::Unreadable, errno);
    FileReadResult result;
    // Looked at again: something else may have taken the name in between.
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        result.status = FileReadStatus::Read;
        result.text.reserve(std::size_t(info.st_size));
        readAll(fd, maxSize, result);
    } else {
        result.status = FileReadStatus::NotRegular;
    }
    ::close(fd);
    return result;
}

} // namespace kavlon
