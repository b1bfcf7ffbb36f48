#pragma once

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <sched.h>
#include <stdlib.h> // mkdtemp
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavlon::test {

// A folder that becomes read-only for this process, the superuser included, once it is
// filled: for everybody else through its permissions, for the superuser as a read-only
// bind mount in a mount namespace of the calling thread alone. Where neither works,
// whyNot() says so and the test skips.
class ReadOnlyFolder {
public:
    ReadOnlyFolder() {
        char dir[] = "/tmp/kavlon-readonly-XXXXXX";
        if (::mkdtemp(dir))
            m_path = dir;
        else
            m_whyNot = std::string("no folder: ") + std::strerror(errno);
    }
    ~ReadOnlyFolder() {
        if (m_mounted)
            ::umount2(m_path.c_str(), MNT_DETACH);
        if (!m_path.empty()) {
            ::chmod(m_path.c_str(), 0700);
            std::error_code ignored;
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    const std::string& path() const { return m_path; }
    const std::string& whyNot() const { return m_whyNot; }

    // True when the folder can no longer be written.
    bool seal() {
        if (m_path.empty())
            return false;
        if (::geteuid() != 0)
            return ::chmod(m_path.c_str(), 0555) == 0 && ::access(m_path.c_str(), W_OK) != 0;
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(m_path.c_str(), m_path.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            m_whyNot = std::string("no bind mount of our own: ") + std::strerror(errno);
            return false;
        }
        m_mounted = true;
        if (::mount(nullptr, m_path.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            m_whyNot = std::string("cannot make it read-only: ") + std::strerror(errno);
            return false;
        }
        return ::access(m_path.c_str(), W_OK) != 0;
    }

private:
    std::string m_path;
    std::string m_whyNot;
    bool m_mounted = false;
};

} // namespace kavlon::test
