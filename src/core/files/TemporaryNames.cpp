// Names are plain string arithmetic; clearing away stale files asks the platform (POSIX)
// who is still running. A port to another platform gives this file a sibling.
#include "core/files/TemporaryNames.h"

#include <cerrno>
#include <charconv>
#include <system_error>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavlon {

namespace {

constexpr std::string_view kEnding = ".tmp";

std::string suffixOf(long pid, int attempt) {
    return "." + std::to_string(pid) + "-" + std::to_string(attempt) + std::string(kEnding);
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A whole number of decimal digits only, nothing else.
template <class Number> std::optional<Number> digitsValue(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || text.front() == '-')
        return std::nullopt;
    return value;
}

// A process of that number runs (or may: another user's answers EPERM).
bool isRunning(long pid) {
    return pid > 0 && pid_t(pid) == pid && (::kill(pid_t(pid), 0) == 0 || errno != ESRCH);
}

} // namespace

std::string temporaryName(std::string_view targetName, long pid, int attempt, std::size_t longest) {
    const std::string suffix = suffixOf(pid, attempt);
    const std::size_t room = longest > suffix.size() ? longest - suffix.size() : 0;
    std::size_t keep = std::min(targetName.size(), room);
    // A name cut inside a character would show as garbage wherever it is listed.
    while (keep > 0 && keep < targetName.size() && isContinuationByte(targetName[keep]))
        --keep;
    return std::string(targetName.substr(0, keep)) + suffix;
}

std::optional<TemporaryOwner> temporaryOwner(std::string_view name, std::string_view targetName,
                                             std::size_t longest) {
    if (!name.ends_with(kEnding))
        return std::nullopt;
    const std::string_view numbers = name.substr(0, name.size() - kEnding.size());
    const std::size_t dot = numbers.rfind('.');
    const std::size_t dash = numbers.rfind('-');
    if (dot == std::string_view::npos || dash == std::string_view::npos || dash < dot)
        return std::nullopt;
    const auto pid = digitsValue<long>(numbers.substr(dot + 1, dash - dot - 1));
    const auto attempt = digitsValue<int>(numbers.substr(dash + 1));
    // Only a name this writer could have made for this target, to the byte.
    if (!pid || !attempt || temporaryName(targetName, *pid, *attempt, longest) != name)
        return std::nullopt;
    return TemporaryOwner{*pid, *attempt};
}

std::size_t longestNameIn(const std::filesystem::path& folder) {
    const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? std::size_t(longest) : kLongestFileName;
}

void removeStaleTemporaries(const std::filesystem::path& folder, std::string_view targetName,
                            std::size_t longest) {
    const std::filesystem::path where = folder.empty() ? "." : folder;
    std::error_code error;
    for (std::filesystem::directory_iterator entries(where, error), end; !error && entries != end;
         entries.increment(error)) {
        const std::filesystem::path& path = entries->path();
        const auto owner = temporaryOwner(path.filename().native(), targetName, longest);
        // A writer of this process may be filling it right now.
        if (!owner || owner->pid == long(::getpid()) || isRunning(owner->pid))
            continue;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
            ::unlink(path.c_str());
    }
}

} // namespace kavlon
