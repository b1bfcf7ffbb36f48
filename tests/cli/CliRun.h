#pragma once

#include "cli/CommandLine.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace kavlon::test {

inline QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

inline bool mentions(const std::string& text, const std::string& word) {
    return text.find(word) != std::string::npos;
}

// The commands run in this process, on a backend the test holds, where the test must
// control the link (unplug, a lost frame); stdout and stderr are kept.
struct InProcess {
    std::string out, err;
    int run(const QStringList& arguments, std::unique_ptr<HidBackend> backend) {
        auto maker = [&](bool) { return std::move(backend); };
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = cli::runCli(QStringList{"kavloncli"} + arguments, maker);
        out = testing::internal::GetCapturedStdout();
        err = testing::internal::GetCapturedStderr();
        return code;
    }
};

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end with these arguments, for at most timeout milliseconds.
inline CliRun runProgram(const QString& program, const QStringList& arguments, int timeout) {
    QProcess process;
    process.start(program, arguments);
    CliRun run;
    if (!process.waitForFinished(timeout)) {
        ADD_FAILURE() << program.toStdString() << " did not finish: " << arguments.join(' ').toStdString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

// Runs the built kavloncli to its end with these arguments.
inline CliRun runKavloncli(const QStringList& arguments) {
    // Generous: three paced shots take six seconds on an idle machine.
    return runProgram(KAVLONCLI, arguments, 120000);
}

} // namespace kavlon::test
