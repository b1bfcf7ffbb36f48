// The built program, started as a user would start it, closed by a signal.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Generous: the machine may be busy with a build.
constexpr auto kPatience = 60s;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A scratch folder with a copy of the program in its own folder (a portable copy, whose
// folder is writable, so the settings go beside it) and private XDG folders.
struct PortableCopy {
    fs::path root;
    fs::path program;

    PortableCopy() {
        std::string pattern = (fs::temp_directory_path() / "kavlon-signal-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        fs::create_directories(root / "program");
        program = root / "program" / "kavlonpc";
        fs::copy_file(KAVLON_PROGRAM, program);
    }
    ~PortableCopy() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path settingsFile() const { return root / "program" / "KavlonPC.INI"; }

    // Started with the three signals at their defaults, as from a terminal, whatever this
    // test runner was started with; `ignored` is ignored instead, as under nohup.
    pid_t start(int ignored = 0) const {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("XDG_", 0) != 0)
                env.push_back(entry);
        }
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.push_back("XDG_CONFIG_HOME=" + (root / "config").string());
        env.push_back("XDG_DATA_HOME=" + (root / "data").string());
        env.push_back("XDG_RUNTIME_DIR=" + root.string());
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string path = program.string();
        std::string simulate = "--simulate";
        char* argv[] = {path.data(), simulate.data(), nullptr};

        sigset_t defaults;
        sigemptyset(&defaults);
        for (int s : {SIGINT, SIGTERM, SIGHUP}) {
            if (s != ignored)
                sigaddset(&defaults, s);
        }
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        // An ignored signal is inherited as ignored.
        struct sigaction ignore {
        }, before{};
        ignore.sa_handler = SIG_IGN;
        if (ignored)
            ::sigaction(ignored, &ignore, &before);
        pid_t pid = -1;
        const int failed = ::posix_spawn(&pid, path.c_str(), nullptr, &attributes, argv, envp.data());
        if (ignored)
            ::sigaction(ignored, &before, nullptr);
        posix_spawnattr_destroy(&attributes);
        return failed ? -1 : pid;
    }
};

// The mask of one "SigXxx:" line of the process's status.
unsigned long long signalMask(pid_t pid, const std::string& field) {
    std::istringstream status(readFile("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0)
            return std::stoull(line.substr(field.size() + 1), nullptr, 16);
    }
    return 0;
}

unsigned long long bitOf(int signal) {
    return 1ULL << (signal - 1);
}

// Empty once the process catches `signal`: its handler is in place, the signal no longer
// fatal. Otherwise why not (the process ended by itself, or never took the signal over).
std::string waitUntilCaught(pid_t pid, int signal) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < until) {
        if (signalMask(pid, "SigCgt") & bitOf(signal))
            return {};
        int ended = 0;
        if (::waitpid(pid, &ended, WNOHANG) == pid)
            return "the program ended by itself, wait status " + std::to_string(ended);
        std::this_thread::sleep_for(20ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return "the program never took the signal over";
}

// The wait status once the process ends; -1 when it does not within kPatience (it is killed).
int waitForEnd(pid_t pid) {
    const auto until = std::chrono::steady_clock::now() + kPatience;
    int status = 0;
    while (std::chrono::steady_clock::now() < until) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return status;
        std::this_thread::sleep_for(20ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

TEST(ProgramSignals, CloseAsTheCloseBoxDoesAndSaveTheSettings) {
    struct Case {
        const char* name;
        int signal;
    };
    const Case cases[] = {
        {"SIGTERM (logout)", SIGTERM}, {"SIGINT (Ctrl+C)", SIGINT}, {"SIGHUP (terminal gone)", SIGHUP}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PortableCopy copy;
        const pid_t pid = copy.start();
        ASSERT_GT(pid, 0);
        const std::string notCaught = waitUntilCaught(pid, c.signal);
        ASSERT_EQ(notCaught, "");
        ASSERT_EQ(::kill(pid, c.signal), 0);
        const int status = waitForEnd(pid);
        ASSERT_NE(status, -1) << "still running long after the signal";
        EXPECT_TRUE(WIFEXITED(status)) << "ended by the signal itself, not by closing";
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
        const std::string settings = readFile(copy.settingsFile());
        EXPECT_EQ(settings.rfind("[Main]\nLeft=", 0), 0u) << "settings not saved: '" << settings << "'";
        EXPECT_NE(settings.find("\nPrintAs="), std::string::npos);
        EXPECT_FALSE(fs::exists(copy.root / "config")) << "a portable copy keeps its settings beside it";
    }
}

TEST(ProgramSignals, ASignalIgnoredAtTheStartStaysIgnored) {
    // Started under nohup, the program must outlive its terminal.
    PortableCopy copy;
    const pid_t pid = copy.start(SIGHUP);
    ASSERT_GT(pid, 0);
    ASSERT_EQ(waitUntilCaught(pid, SIGTERM), "");
    EXPECT_FALSE(signalMask(pid, "SigCgt") & bitOf(SIGHUP)) << "took over the ignored SIGHUP";
    EXPECT_TRUE(signalMask(pid, "SigIgn") & bitOf(SIGHUP));
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    const int status = waitForEnd(pid);
    EXPECT_TRUE(status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
}

TEST(ProgramSignals, ASecondSignalEndsAProgramThatHangsWhileClosing) {
    // A folder in the settings file's place: closing stops at the message that it cannot be
    // written, which nobody answers offscreen.
    PortableCopy copy;
    fs::create_directory(copy.settingsFile());
    const pid_t pid = copy.start();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(waitUntilCaught(pid, SIGTERM), "");
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    // Caught no more once the first one is being answered.
    const auto until = std::chrono::steady_clock::now() + kPatience;
    while (signalMask(pid, "SigCgt") & bitOf(SIGINT) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(20ms);
    ASSERT_EQ(::kill(pid, SIGINT), 0);
    const int status = waitForEnd(pid);
    ASSERT_NE(status, -1) << "still hanging after the second signal";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << "wait status " << status;
}

} // namespace
