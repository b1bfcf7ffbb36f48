#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace kavlon::test {

// What a reader script from tests/data said about a file.
struct ScriptRun {
    // The exit status; -1 when python3 could not be started or did not exit.
    int status = -1;
    std::string output; // standard output and error
};

// Runs tests/data/<script> on the system's python3 over file, as an independent reader.
inline ScriptRun runDataScript(const std::string& script, const std::filesystem::path& file) {
    const std::string command = std::string("'") + KAVLON_PYTHON3 + "' '" + KAVLON_TEST_DATA + "/" + script +
                                "' '" + file.string() + "' 2>&1";
    ScriptRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[65536];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    return run;
}

// The lines the script printed, or nothing when python3 could not be run; a script
// that ran and failed is a test failure.
inline std::optional<std::vector<std::string>> dataScriptLines(const std::string& script,
                                                               const std::filesystem::path& file) {
    const ScriptRun run = runDataScript(script, file);
    if (run.status == -1 || run.status == 127)
        return std::nullopt;
    EXPECT_EQ(run.status, 0) << run.output;
    std::vector<std::string> lines;
    std::istringstream in(run.output);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace kavlon::test
