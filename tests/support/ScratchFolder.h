#pragma once

#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kavlon::test {

// A folder of the test's own below /tmp, removed afterwards even when the test took
// its write permission away.
class ScratchFolder {
public:
    ScratchFolder() {
        char dir[] = "/tmp/kavlon-test-XXXXXX";
        if (!::mkdtemp(dir))
            throw std::runtime_error("no scratch folder");
        m_path = dir;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The names of what the folder holds.
    std::set<std::string> names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path m_path;
};

} // namespace kavlon::test
