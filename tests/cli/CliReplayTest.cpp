// kavloncli on saved shots played back as the instrument (--replay), as a script sees it.
#include "CliRun.h"

#include "device/ShotFiles.h"

#include "support/ScratchFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <fstream>

namespace kavlon {
namespace {

namespace fs = std::filesystem;
using test::InProcess;
using test::mentions;
using test::qpath;
using test::runKavloncli;
using test::ScratchFolder;

// Two shot files as the program saves them, and one that cannot be read.
struct SavedShots {
    ScratchFolder scratch;
    fs::path four = test::saveShotFile(scratch.path() / "a.csv", *test::shotFileState({"four channels"}));
    fs::path two = test::saveShotFile(scratch.path() / "b.csv", *test::shotFileState(twoChannels()));
    fs::path damaged = scratch.path() / "c.csv";

    SavedShots() {
        std::string text = test::fileBytes(four);
        text.replace(text.find("# trigger source,1"), 18, "# trigger source,9");
        std::ofstream(damaged, std::ios::binary) << text;
    }
    static test::ShotFileCase twoChannels() {
        test::ShotFileCase c{"two channels, channel 1 off"};
        c.mode = 2;
        c.on = {false, true, true, true};
        c.timebase = 11;
        c.windowStart = 700;
        return c;
    }
};

QJsonObject measured(const test::CliRun& run) {
    QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    json.remove("source");
    return json;
}

TEST(CliReplay, AReplayedShotMeasuresAsItsFile) {
    SavedShots shots;
    for (const fs::path& file : {shots.four, shots.two}) {
        const auto replayed =
            runKavloncli({"--replay", qpath(file), "--fast", "measure", "--live", "--json"});
        const auto saved = runKavloncli({"measure", qpath(file), "--json"});
        ASSERT_EQ(replayed.exitCode, 0) << replayed.err;
        ASSERT_EQ(saved.exitCode, 0) << saved.err;
        EXPECT_FALSE(measured(saved).isEmpty());
        EXPECT_EQ(measured(replayed), measured(saved)) << file;
    }
}

TEST(CliReplay, CapturedReplaysAreTheSavedFilesByteForByteAndTheListStartsAgain) {
    SavedShots shots;
    fs::remove(shots.damaged);
    const fs::path out = shots.scratch.path() / "again";
    const auto run = runKavloncli(
        {"--replay", qpath(shots.scratch.path()), "--fast", "capture", "--shots", "3", "--out", qpath(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(test::fileBytes(out / "QV_00000.csv"), test::fileBytes(shots.four));
    EXPECT_EQ(test::fileBytes(out / "QV_00001.csv"), test::fileBytes(shots.two));
    EXPECT_EQ(test::fileBytes(out / "QV_00002.csv"), test::fileBytes(shots.four));
}

TEST(CliReplay, ADamagedFileIsSaidWithItsLineAndSkipped) {
    SavedShots shots;
    const fs::path out = shots.scratch.path() / "again";
    const auto run = runKavloncli(
        {"--replay", qpath(shots.damaged), qpath(shots.two), "--fast", "capture", "--out", qpath(out)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "kavloncli: " + shots.damaged.string() +
                           ": line 10: trigger source 9 is outside 0..5; skipped\n");
    EXPECT_EQ(test::fileBytes(out / "QV_00000.csv"), test::fileBytes(shots.two));
}

TEST(CliReplay, SettingsAreShownButNeverChanged) {
    SavedShots shots;
    const auto refused = runKavloncli({"--replay", qpath(shots.two), "set", "--timebase", "1 ms"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "kavloncli: a replayed instrument cannot change its settings\n");
    EXPECT_TRUE(refused.out.empty()) << refused.out;

    const auto shown = runKavloncli({"--replay", qpath(shots.two), "--fast", "set"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out, "timebase 20 µs / Div\nchannel 1 off, 1 V / Div, DC\nchannel 2 on, 5 V / Div, DC\n"
                         "running\n");

    const auto listed = runKavloncli({"--replay", qpath(shots.two), "list"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_TRUE(mentions(listed.out, "replay:scope")) << listed.out;
}

// Sends each line and reads its answer; a command without one gets an empty entry.
std::vector<std::string> converse(QTcpSocket& client,
                                  const std::vector<std::pair<std::string, bool>>& lines) {
    std::vector<std::string> answers;
    for (const auto& [line, answered] : lines) {
        client.write(QByteArray::fromStdString(line + "\n"));
        client.flush();
        if (!answered) {
            answers.emplace_back();
            continue;
        }
        while (!client.canReadLine() && client.waitForReadyRead(30000)) {
        }
        answers.push_back(client.readLine().trimmed().toStdString());
    }
    return answers;
}

TEST(CliReplay, ServedToRemoteClientsItAnswersQueriesAndRefusesSettings) {
    SavedShots shots;
    QProcess server;
    server.start(KAVLONCLI, {"--replay", qpath(shots.two), "--fast", "serve", "--listen", "127.0.0.1:0"});
    while (!server.canReadLine() && server.state() != QProcess::NotRunning)
        server.waitForReadyRead(100);
    const QString listening = QString::fromUtf8(server.readLine()).trimmed();
    ASSERT_TRUE(listening.startsWith("listening on 127.0.0.1:")) << listening.toStdString();
    QTcpSocket client;
    client.connectToHost("127.0.0.1", quint16(listening.section(':', -1).toUInt()));
    ASSERT_TRUE(client.waitForConnected(30000));

    const auto answers = converse(client, {{":TIMebase:SCALe 1E-3", false},
                                           {"SYSTem:ERRor?", true},
                                           {":TIM:SCAL?", true},
                                           {"*RST", false},
                                           {"SYST:ERR?", true},
                                           {":DIGitize;*OPC?", true},
                                           {":MEASure:VPP? CHANnel2", true},
                                           {"SYST:ERR?", true}});
    EXPECT_EQ(answers[1], "-221,\"Settings conflict;a replayed instrument cannot change its settings\"");
    EXPECT_EQ(answers[2], "2E-05") << "the recording's 20 µs / Div, unchanged";
    EXPECT_EQ(answers[4].substr(0, 5), "-221,") << answers[4];
    EXPECT_EQ(answers[5], "1") << "a shot of the recording is taken";
    EXPECT_NE(answers[6], "9.91E+37") << "and measured";
    EXPECT_EQ(answers[7], "0,\"No error\"");
    server.kill();
    server.waitForFinished();
}

TEST(CliReplay, StatisticsRunOverTheRecordedShots) {
    SavedShots shots;
    fs::remove(shots.damaged);
    const auto run = runKavloncli({"--replay", qpath(shots.scratch.path()), "--fast", "measure", "--live",
                                   "--stats", "--shots", "4", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_EQ(root["shots"].toInt(), 4);
    // Channel II is on in both recordings, at other timebases: its period differs.
    for (const QJsonValue channel : root["channels"].toArray()) {
        if (channel["name"].toString() != "Channel II")
            continue;
        const QJsonObject period = channel["measurements"].toArray()[13].toObject();
        EXPECT_EQ(period["name"].toString(), "Period");
        EXPECT_EQ(period["count"].toInt(), 4);
        EXPECT_LT(period["minimum"].toDouble(), period["maximum"].toDouble());
        return;
    }
    ADD_FAILURE() << "no statistics of channel II: " << run.out;
}

TEST(CliReplay, WithoutAShotToPlayNothingStarts) {
    SavedShots shots;
    const QString file = qpath(shots.four);
    const std::pair<QStringList, const char*> cases[] = {
        {{"--replay", "list"}, "--replay needs shot files"},
        {{"--replay", qpath(shots.damaged), qpath(shots.scratch.path() / "gone.csv"), "list"},
         "no shot to replay"},
        {{"--replay", file, "--simulate", "list"}, "--replay and --simulate"},
        {{"--replay", file, "list", "--simulate"}, "--replay and --simulate"},
        {{"--fast", "list"}, "--fast goes with --replay"},
    };
    for (const auto& [arguments, message] : cases) {
        const auto run = runKavloncli(arguments);
        const std::string args = arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 1) << args;
        EXPECT_TRUE(mentions(run.err, message)) << args << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << args << ": " << run.out;
    }
}

} // namespace
} // namespace kavlon
