#pragma once

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace kavlon::test {

// A file system of a few pages, mounted in a mount namespace of this process
// alone, so nobody else sees it and it goes when the process ends. Only with it
// can a test meet a really full disk. Mounting needs the right to (root); where
// it is missing, whyNot() says so and the test skips.
class TinyFileSystem {
public:
    explicit TinyFileSystem(std::size_t bytes) {
        char dir[] = "/tmp/kavlon-tinyfs-XXXXXX";
        if (!::mkdtemp(dir)) {
            m_whyNot = std::string("no mount point: ") + std::strerror(errno);
            return;
        }
        m_path = dir;
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            m_whyNot = std::string("no mount namespace of our own: ") + std::strerror(errno);
            return;
        }
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
        if (::mount("tmpfs", m_path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
            m_whyNot = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            return;
        }
        m_mounted = true;
    }
    ~TinyFileSystem() {
        if (m_mounted)
            ::umount2(m_path.c_str(), MNT_DETACH);
        if (!m_path.empty())
            ::rmdir(m_path.c_str());
    }
    TinyFileSystem(const TinyFileSystem&) = delete;
    TinyFileSystem& operator=(const TinyFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& whyNot() const { return m_whyNot; }
    const std::string& path() const { return m_path; }

    // Writes a filler file until the file system refuses; true when it is full.
    bool fill() const {
        const int fd = ::open((m_path + "/filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const std::string block(4096, 'x');
        ssize_t n = 0;
        while ((n = ::write(fd, block.data(), block.size())) > 0) {
        }
        const bool full = n < 0 && errno == ENOSPC;
        ::close(fd);
        return full;
    }

private:
    std::string m_path;
    std::string m_whyNot;
    bool m_mounted = false;
};

} // namespace kavlon::test
