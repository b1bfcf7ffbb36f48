#pragma once

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace kavlon::test {

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
