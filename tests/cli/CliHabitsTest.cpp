// What a user of other command-line tools expects of kavloncli: settings in the call,
// -o for one file, several files to measure, one instrument of several, a wait that
// outlasts a loose plug, Ctrl+C that says what was written, and folders, timeouts and
// answers handled as they should be.
#include "CliRun.h"
#include "support/FaultyBackend.h"

#include "cli/CommandLine.h"

#include "core/scales/ScaleTables.h"
#include "core/shot/ShotCsv.h"

#include "core/ShotTestSupport.h"
#include "support/ScratchFolder.h"
#include "support/SheetReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <thread>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kavlon {
namespace {

using namespace std::chrono_literals;
using test::InProcess;
using test::mentions;
using test::qpath;
using test::runKavloncli;
using test::ScratchFolder;

std::unique_ptr<test::FaultyBackend> faulty(test::LinkFaults faults) {
    return std::make_unique<test::FaultyBackend>(SimulationOptions{.paced = false, .pollInterval = 0ms},
                                                 faults);
}

ShotRecord readBack(const std::filesystem::path& path) {
    ShotFileResult read = readShotFile(path, TransferInputs{});
    EXPECT_TRUE(read.ok) << path << ": " << read.error;
    return read.record;
}

TEST(CliHabits, SettingsGivenToCaptureAndMeasureApplyBeforeTheShot) {
    ScratchFolder scratch;
    // The simulated instrument starts at 200 µs / Div with every channel on.
    const auto file = scratch.path() / "one.csv";
    const auto run = runKavloncli({"capture", "--simulate", "--timebase", "1ms", "--channels", "1,2",
                                   "--coupling", "2:AC", "-o", qpath(file)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(mentions(run.out, "1 of 1 shots written to " + file.string())) << run.out;
    const ShotRecord shot = readBack(file);
    EXPECT_EQ(timebaseLabel(shot.TimebaseIndex).value_or(""), "1 ms / Div");
    EXPECT_EQ(shot.ChannelOn, (std::array<bool, 4>{true, true, false, false}));

    const auto measured = runKavloncli({"measure", "--live", "--simulate", "--channels", "2"});
    ASSERT_EQ(measured.exitCode, 0) << measured.err;
    EXPECT_TRUE(mentions(measured.out, "Channel II")) << measured.out;
    EXPECT_FALSE(mentions(measured.out, "Channel I ")) << "channel I was switched off first";

    const auto refused = runKavloncli({"capture", "--simulate", "--timebase", "300 µs", "-o", qpath(file)});
    EXPECT_EQ(refused.exitCode, 1) << "checked as set checks it, before anything is written";
}

TEST(CliHabits, OneShotGoesToTheFileNamedOrToStandardOutput) {
    ScratchFolder scratch;
    // Named, an existing file is replaced and its extension says the kind.
    const auto sheet = scratch.path() / "shot.xls";
    std::ofstream(sheet) << "old";
    const auto toFile = runKavloncli({"capture", "--simulate", "-n", "1", "-o", qpath(sheet)});
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
    const test::Sheet cells = test::readSheetFile(sheet);
    EXPECT_FALSE(cells.empty());
    EXPECT_EQ(scratch.names(), std::set<std::string>{"shot.xls"}) << "nothing else, no temporary";

    const auto toStdout = runKavloncli({"capture", "--simulate", "-o", "-"});
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    const ShotFileResult parsed = parseShotFile(toStdout.out, TransferInputs{});
    EXPECT_TRUE(parsed.ok && parsed.record.HasShot) << parsed.error;
    EXPECT_TRUE(mentions(toStdout.err, "1 of 1 shots written to standard output")) << "the summary keeps out";
}

TEST(CliHabits, MeasureTakesSeveralFilesAndGoesOnPastABadOne) {
    ScratchFolder scratch;
    const auto run = runKavloncli({"capture", "--simulate", "-n", "2", "--out", qpath(scratch.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QString a = qpath(scratch.path() / "QV_00000.csv"), b = qpath(scratch.path() / "QV_00001.csv");

    const auto json = runKavloncli({"measure", "--json", a, b});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const QJsonArray shots = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
    ASSERT_EQ(shots.size(), 2);
    EXPECT_EQ(shots[1]["source"].toString(), b);
    EXPECT_EQ(shots[0]["channels"].toArray().size(), 4);

    const auto table = runKavloncli({"measure", a, qpath(scratch.path() / "missing.csv"), b});
    EXPECT_EQ(table.exitCode, 4) << "the missing file decides the status";
    EXPECT_TRUE(mentions(table.out, "== " + a.toStdString() + "\n")) << table.out;
    EXPECT_TRUE(mentions(table.out, "== " + b.toStdString() + "\n")) << "measured after the bad one";
    EXPECT_TRUE(mentions(table.err, "missing.csv")) << table.err;

    // A shot whose channels are all off has nothing to measure: a file error.
    test::ShotBench bench;
    bench.state.ChannelOn = {false, false, false, false};
    bench.transfer();
    ASSERT_TRUE(saveShotCsv(scratch.path() / "dark.csv", bench.record).saved);
    EXPECT_EQ(runKavloncli({"measure", qpath(scratch.path() / "dark.csv")}).exitCode, 4);
}

TEST(CliHabits, DeviceTakesTheInstrumentByItsSerialNumber) {
    InProcess right;
    EXPECT_EQ(right.run({"set", "--device", "SIM0001"}, faulty({})), 0) << right.err;
    InProcess wrong;
    EXPECT_EQ(wrong.run({"set", "--device", "SIM0002"}, faulty({})), 2);
    EXPECT_TRUE(mentions(wrong.err, "serial number SIM0002")) << wrong.err;
}

TEST(CliHabits, WaitsAndTimeoutsAsTheUserWroteThem) {
    // An instrument that opens but never answers: no instrument to work with.
    InProcess silent;
    EXPECT_EQ(silent.run({"set", "-t", "0.5"}, faulty({.answers = false})), 2);
    EXPECT_TRUE(mentions(silent.err, "within 0.5 s")) << silent.err;

    // Gone as it is connected and back a moment later: --wait outlasts it.
    InProcess loose;
    EXPECT_EQ(loose.run({"set", "--wait", "30"}, faulty({.dropsOnConnectFor = 300ms})), 0) << loose.err;
    InProcess impatient;
    EXPECT_EQ(impatient.run({"set"}, faulty({.dropsOnConnectFor = 300ms})), 2)
        << "without --wait it gives up";

    // A report the instrument sends by itself is not the answer to a step.
    InProcess unasked;
    EXPECT_EQ(unasked.run({"set", "--timebase", "1ms"}, faulty({.unaskedReportBeforeStep = true})), 0)
        << unasked.err;
    EXPECT_TRUE(mentions(unasked.out, "timebase 1 ms / Div")) << unasked.out;
}

TEST(CliHabits, ACaptureThatWroteNothingLeavesNoFolderItMade) {
    ScratchFolder scratch;
    auto gone = std::make_unique<SimulatedBackend>(SimulationOptions{.paced = false, .pollInterval = 0ms});
    gone->unplug();
    InProcess run;
    EXPECT_EQ(run.run({"capture", "--out", qpath(scratch.path() / "new" / "deeper")}, std::move(gone)), 2);
    EXPECT_TRUE(scratch.names().empty()) << "neither the folder nor the one above it";
}

// Runs kavloncli with its standard error on a pseudo-terminal; what it wrote there.
std::string onATerminal(const QStringList& arguments, int& status) {
    int terminal = -1;
    std::vector<std::string> args{KAVLONCLI};
    for (const QString& a : arguments)
        args.push_back(a.toStdString());
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    std::string seen;
    char buffer[4096];
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;)
        seen.append(buffer, std::size_t(n));
    ::waitpid(pid, &status, 0);
    ::close(terminal);
    return seen;
}

TEST(CliHabits, OnATerminalTheProgressBarRunsToTheEnd) {
    ScratchFolder scratch;
    int status = -1;
    const std::string seen =
        onATerminal({"capture", "--simulate", "-n", "2", "--out", qpath(scratch.path())}, status);
    ASSERT_TRUE(WIFEXITED(status)) << seen;
    EXPECT_EQ(WEXITSTATUS(status), 0) << seen;
    EXPECT_TRUE(mentions(seen, "shot 1/2 [")) << seen;
    EXPECT_TRUE(mentions(seen, "shot 2/2 [##############################] 100%")) << seen;
}

TEST(CliHabits, CtrlCDuringACaptureSaysWhatWasWrittenAndLeavesNothingHalf) {
    ScratchFolder scratch;
    QProcess process;
    process.start(KAVLONCLI, {"capture", "--simulate", "-n", "5", "--out", qpath(scratch.path())});
    ASSERT_TRUE(process.waitForStarted());
    // Once the first shot is written: the paced link takes two seconds a shot.
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (scratch.names().empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_FALSE(scratch.names().empty());
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "it ended by itself, not by the signal";
    EXPECT_EQ(process.exitCode(), 128 + SIGINT);
    const std::string out = process.readAllStandardOutput().toStdString();
    const std::size_t written = scratch.names().size();
    EXPECT_TRUE(mentions(out, "interrupted: " + std::to_string(written) + " of 5 shots written")) << out;
    for (const std::string& name : scratch.names())
        EXPECT_TRUE(name.starts_with("QV_") && name.ends_with(".csv") &&
                    readBack(scratch.path() / name).HasShot)
            << name;
}

} // namespace
} // namespace kavlon
