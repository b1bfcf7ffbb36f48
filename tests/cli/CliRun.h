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

// Runs the built kavloncli to its end with these arguments.
inline CliRun runKavloncli(const QStringList& arguments) {
    QProcess process;
    process.start(KAVLONCLI, arguments);
    CliRun run;
    // Generous: three paced shots take six seconds on an idle machine.
    if (!process.waitForFinished(120000)) {
        ADD_FAILURE() << "kavloncli did not finish: " << arguments.join(' ').toStdString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

} // namespace kavlon::test
