#pragma once

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kavlon::test {

// A user who is not the superuser: nobody when the tests run as root, the tests' own
// user otherwise. Permissions only mean something to such a user.
constexpr uid_t kNobody = 65534;

inline bool runningAsRoot() {
    return ::geteuid() == 0;
}

// Runs work in a child process as that user and hands back the text it returns; a text
// starting with "failed:" when the child could not become that user or did not finish.
// Only for test programs without threads of their own at the time (fork copies one).
inline std::string asAnotherUser(const std::function<std::string()>& work) {
    int channel[2];
    if (::pipe(channel) != 0)
        return "failed: no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string answer;
        if (runningAsRoot() && (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                                ::setresuid(kNobody, kNobody, kNobody) != 0))
            answer = std::string("failed: cannot become nobody: ") + std::strerror(errno);
        else
            answer = work();
        const ssize_t ignored = ::write(channel[1], answer.data(), answer.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string answer;
    char block[512];
    for (ssize_t n; (n = ::read(channel[0], block, sizeof block)) > 0;)
        answer.append(block, std::size_t(n));
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return "failed: the child did not finish";
    return answer;
}

} // namespace kavlon::test
