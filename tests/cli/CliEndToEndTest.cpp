// kavloncli end to end against the simulated instrument: the built program for what
// a script sees (exit codes, messages, files), and the same commands run in this
// process where the test must control the link (unplug, a lost frame).
#include "CliRun.h"
#include "support/FaultyBackend.h"

#include "cli/CommandLine.h"

#include "core/shot/ShotCsv.h"

#include "core/ShotTestSupport.h"
#include "support/DataScript.h"
#include "support/ScratchFolder.h"
#include "support/SheetReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <optional>
#include <set>

namespace kavlon {
namespace {

using namespace std::chrono_literals;
using test::InProcess;
using test::mentions;
using test::qpath;
using test::runKavloncli;
using test::ScratchFolder;

class CliHelp : public ::testing::TestWithParam<const char*> {};

TEST_P(CliHelp, EverySubcommandExplainsItselfAndExitsZero) {
    const auto run = runKavloncli({GetParam(), "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with(std::string("Usage: kavloncli ") + GetParam())) << run.out;
    EXPECT_TRUE(mentions(run.out, "--simulate")) << run.out;
    EXPECT_TRUE(run.err.empty()) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Commands, CliHelp, ::testing::Values("list", "set", "capture", "measure", "serve"));

struct UsageCase {
    QStringList arguments;
    const char* mentions;
};

TEST(Cli, BadUsageExitsOneWithAMessageAndNoOutput) {
    ScratchFolder scratch;
    const QString out = qpath(scratch.path() / "shots");
    const UsageCase cases[] = {
        {{"set", "--simulate", "--timebase", "300 µs"}, "--timebase 300 µs"},
        {{"set", "--simulate", "--volts", "5:1V"}, "--volts 5:1V"},
        // Found out only once the instrument reported its probe setting.
        {{"set", "--simulate", "--volts", "1:3mV"}, "it offers 10 mV"},
        {{"set", "--simulate", "--coupling", "1:XY"}, "AC or DC"},
        {{"set", "--simulate", "--bogus"}, "bogus"},
        {{"capture", "--simulate", "--shots", "0", "--out", out}, "--shots"},
        {{"capture", "--simulate", "--shots", "2"}, "--out"},
        {{"capture", "--simulate", "--format", "pdf", "--out", out}, "pdf"},
        {{"capture", "--simulate", "--out", out, "--timeout", "soon"}, "--timeout"},
        {{"capture", "--simulate", "--out", out, "-t", "0"}, "above 0"},
        {{"capture", "--simulate", "-o", "x.csv", "-n", "2"}, "-o takes one shot"},
        {{"capture", "--simulate", "--out", out, "-o", "x.csv"}, "either --out DIR or -o FILE"},
        {{"capture", "--simulate", "--out", out, "--volts", "9:1V"}, "--volts 9:1V"},
        {{"measure", "--simulate"}, "either FILEs or --live"},
        {{"measure", "a.csv", "--timebase", "1ms"}, "need --live"},
        {{"set", "--simulate", "--device", ""}, "--device"},
        {{"serve", "--simulate", "--listen", "localhost:5025"}, "--listen localhost:5025"},
        {{"serve", "--simulate", "--listen", "127.0.0.1"}, "ADDRESS:PORT"},
        {{"capture", "--simulate", "--retries", "-1", "--out", out}, "--retries"},
        {{"capture", "--simulate", "--retries", "11", "--out", out}, "--retries"},
        {{"measure", "--simulate", "--live", "--shots", "3"}, "--shots needs --stats"},
        {{"measure", "--stats", "a.csv"}, "--stats takes shots with --live"},
        {{"measure", "--simulate", "--live", "--stats", "--shots", "0"}, "--shots"},
        {{"frobnicate"}, "unknown command"},
        {{}, "which command"},
    };
    for (const auto& c : cases) {
        const auto run = runKavloncli(c.arguments);
        const std::string args = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 1) << args;
        EXPECT_TRUE(mentions(run.err, c.mentions)) << args << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << args << ": " << run.out;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / "shots"));
}

struct SetCase {
    QStringList options;
    std::string reported;
};

TEST(Cli, SetStepsTheInstrumentUntilItReportsTheSettings) {
    // The simulated instrument starts at 200 µs, 500 mV, every channel on, DC, running.
    const SetCase cases[] = {
        {{"--timebase", "1 ms", "--volts", "1:200mV,2:2V", "--run", "off"},
         "timebase 1 ms / Div\nchannel 1 on, 200 mV / Div, DC\nchannel 2 on, 2 V / Div, DC\n"
         "channel 3 on, 500 mV / Div, DC\nchannel 4 on, 500 mV / Div, DC\nstopped\n"},
        {{"--timebase", "20us", "--channels", "1,3", "--coupling", "3:AC", "--invert", "1:on"},
         "timebase 20 µs / Div\nchannel 1 on, 500 mV / Div, DC, inverted\nchannel 2 off, 500 mV / Div, DC\n"
         "channel 3 on, 500 mV / Div, AC\nchannel 4 off, 500 mV / Div, DC\nrunning\n"},
    };
    for (const auto& c : cases) {
        const auto run = runKavloncli(QStringList{"set", "--simulate"} + c.options);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, c.reported);
    }
}

TEST(Cli, ListShowsTheInstrumentAsUsable) {
    const auto run = runKavloncli({"--simulate", "list"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(mentions(run.out, "Quorvel Scope Interface")) << run.out;
    EXPECT_TRUE(mentions(run.out, "usable")) << run.out;
}

// Python's json module reads the report, and every number agrees with its text within
// the text's rounding; its lines, or nothing without python3.
std::optional<std::string> expectNumbersAgreeWithTexts(const std::filesystem::path& path,
                                                       const std::string& json) {
    std::ofstream(path, std::ios::binary) << json;
    const test::ScriptRun run = test::runDataScript("read_measure_json.py", path);
    if (run.status == -1 || run.status == 127)
        return std::nullopt;
    EXPECT_EQ(run.status, 0) << run.output;
    return run.output;
}

TEST(Cli, CapturedShotsOpenInTheShotReaderAndMeasureLikeTheInstrumentsSignals) {
    ScratchFolder scratch;
    // A machine busy enough to starve the simulated link's reader makes it drop reports as a
    // real one would; the shot is then taken again, so such a run is no failure of this test.
    const auto run = runKavloncli(
        {"capture", "--simulate", "--shots", "3", "--retries", "5", "--out", qpath(scratch.path())});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"QV_00000.csv", "QV_00001.csv", "QV_00002.csv"}));
    EXPECT_TRUE(mentions(run.out, "3 of 3 shots written")) << run.out;
    // No progress bar when stderr is no terminal.
    EXPECT_TRUE(run.err.empty()) << run.err;
    for (const auto& name : scratch.names()) {
        const ShotFileResult read = readShotFile(scratch.path() / name, TransferInputs{});
        EXPECT_TRUE(read.ok && read.record.HasShot) << name << ": " << read.error;
    }

    // The simulated channel 1 is a 1 kHz square of 2 V peak to peak.
    const auto json = runKavloncli({"measure", "--json", qpath(scratch.path() / "QV_00001.csv")});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const QJsonArray channels =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.out))["channels"].toArray();
    ASSERT_EQ(channels.size(), 4);
    const QJsonArray rows = channels[0]["measurements"].toArray();
    ASSERT_EQ(rows.size(), 22);
    EXPECT_EQ(rows[0]["name"].toString(), "Vpp");
    EXPECT_EQ(rows[0]["text"].toString(), "2.0 V");
    EXPECT_EQ(rows[0]["value"].toDouble(), 2.0);
    EXPECT_EQ(rows[0]["unit"].toString(), "V");
    EXPECT_EQ(rows[10]["name"].toString(), "Frequency");
    EXPECT_EQ(rows[10]["text"].toString(), "1000.0 Hz");
    EXPECT_NEAR(rows[10]["value"].toDouble(), 1000.0, 0.05);
    EXPECT_EQ(rows[10]["unit"].toString(), "Hz");
    EXPECT_EQ(rows[13]["unit"].toString(), "s");
    EXPECT_TRUE(rows[18]["value"].isNull()) << "channel I is the phase's reference";
    EXPECT_EQ(rows[18]["text"].toString(), "  XXXXXXXXX");
    expectNumbersAgreeWithTexts(scratch.path() / "QV_00001.json", json.out);

    const auto table = runKavloncli({"measure", qpath(scratch.path() / "QV_00001.csv")});
    ASSERT_EQ(table.exitCode, 0) << table.err;
    const QStringList lines = QString::fromStdString(table.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 23);
    // Aligned: channel II's column starts at one place on every line.
    const qsizetype column = lines[0].indexOf("Channel II");
    EXPECT_EQ(lines[11].mid(column).left(9), "1000.0 Hz") << lines[11].toStdString();
}

// A shot of 2,000 samples at 1 µs each through the transfer, saved as a shot file.
std::filesystem::path savedShot(const std::filesystem::path& path, int channelCount, std::array<bool, 4> on,
                                const std::function<int(int, int)>& raw) {
    test::ShotBench bench;
    bench.state.WindowStart = 4060 - 2000;
    bench.state.TimebaseOffset = 6;
    bench.state.ReferenceLevels = {10, 50, 90};
    bench.state.ChannelCount = channelCount;
    bench.state.ChannelOn = on;
    for (int k = 1; k <= 4; ++k)
        bench.fill(k, [&](int i) { return raw(k, i); });
    bench.transfer();
    EXPECT_TRUE(saveShotCsv(path, bench.record).saved);
    return path;
}

// Each channel's column starts at one character on every line, µ and ° counted as one.
void expectColumnsAligned(const std::string& table) {
    const QStringList lines = QString::fromStdString(table).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    for (const char* heading : {"Channel II", "Channel III", "Channel IV"}) {
        const qsizetype column = lines[0].indexOf(heading);
        if (column < 0)
            continue;
        for (const QString& line : lines) {
            if (line.size() > column) {
                EXPECT_TRUE(line[column - 1] == ' ' && line[column] != ' ')
                    << heading << " does not start at " << column << ": " << line.toStdString();
            }
        }
    }
}

TEST(Cli, MeasureJsonGivesNumbersThatAnIndependentReaderFindsInTheTexts) {
    struct Case {
        const char* name;
        int channelCount;
        std::array<bool, 4> on;
        std::function<int(int, int)> raw;
        // Channel, name, the number as Python reads it (JSON writes 2.0 as 2), unit, text.
        std::vector<std::string> lines;
    };
    // A square wave of a 500-sample period, channel k 40 samples after channel k - 1.
    const auto squares = [](int k, int i) { return ((i + 1000 - 40 * (k - 1)) / 250) % 2 ? 112 : 160; };
    const Case cases[] = {
        {"squares",
         4,
         {true, true, true, true},
         squares,
         {"1\tVpp\t2\tV\t2.0 V", "1\t+ Duty\t50\t%\t50.00 %",
          "2\tPhase\t28.799999237060547\t\u00b0\t28.8 \u00b0",
          "4\tPeriod\t0.0005000000237487257\ts\t500.0 \u00b5s"}},
        {"a flat line",
         4,
         {true, false, false, false},
         [](int, int) { return 100; },
         {"1\tVpp\t0\tV\t0.0 V", "1\tVover\tNone\t%\t---", "1\tPeriod\tNone\ts\t---"}},
        {"channel II of a two-channel shot",
         2,
         {false, true, true, true},
         squares,
         {"2\tVpp\t2\tV\t2.0 V", "2\t- Duty\t50\t%\t50.00 %"}},
        {"channels III and IV of a three-channel instrument",
         3,
         {true, true, true, true},
         squares,
         {"3\tVpp\t2\tV\t2.0 V", "3\tPeriod\tNone\ts\t---", "4\tPhase\tNone\t\u00b0\t---"}},
    };
    ScratchFolder scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto shot = savedShot(scratch.path() / "shot.csv", c.channelCount, c.on, c.raw);
        const auto json = runKavloncli({"measure", "--json", qpath(shot)});
        ASSERT_EQ(json.exitCode, 0) << json.err;
        const auto lines = expectNumbersAgreeWithTexts(scratch.path() / "shot.json", json.out);
        if (!lines)
            GTEST_SKIP() << "python3 is missing (scripts/deps installs it)";
        for (const std::string& line : c.lines)
            EXPECT_TRUE(mentions(*lines, line + "\n")) << line << " in\n" << *lines;
        expectColumnsAligned(runKavloncli({"measure", qpath(shot)}).out);
    }
}

TEST(Cli, SpreadsheetCaptureWritesWholeSheets) {
    ScratchFolder scratch;
    const auto run = runKavloncli(
        {"capture", "--simulate", "--shots", "2", "--out", qpath(scratch.path()), "--format", "xls"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(scratch.names(), (std::set<std::string>{"QV_00000.xls", "QV_00001.xls"}));
    for (const auto& name : scratch.names()) {
        // The reader insists on one BOF first and one EOF last: a whole sheet.
        const test::Sheet sheet = test::readSheetFile(scratch.path() / name);
        EXPECT_TRUE(std::any_of(sheet.begin(), sheet.end(), [](const auto& cell) {
            return cell.second.starts_with("Timebase : 200 ");
        })) << name;
    }
}

TEST(Cli, FilesThatCannotBeReadOrWrittenExitFour) {
    ScratchFolder scratch;
    const auto notAFolder = scratch.path() / "plain";
    std::ofstream(notAFolder) << "x";
    const auto notAShot = scratch.path() / "notes.csv";
    std::ofstream(notAShot) << "just,some\r\ntext,here\r\n";
    const std::pair<QStringList, const char*> cases[] = {
        {{"measure", qpath(scratch.path() / "missing.csv")}, "missing.csv"},
        {{"measure", qpath(notAShot)}, "notes.csv"},
        {{"capture", "--simulate", "--out", qpath(notAFolder / "shots")}, "plain"},
    };
    for (const auto& [arguments, name] : cases) {
        const auto run = runKavloncli(arguments);
        EXPECT_EQ(run.exitCode, 4) << arguments.join(' ').toStdString();
        EXPECT_TRUE(mentions(run.err, name)) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

TEST(Cli, ResultsThatCannotBeWrittenToStandardOutputExitFour) {
    // A script's "kavloncli measure shot.csv > out.json" on a full disk must not end as done.
    ScratchFolder scratch;
    const auto captured = runKavloncli({"capture", "--simulate", "--out", qpath(scratch.path())});
    ASSERT_EQ(captured.exitCode, 0) << captured.err;
    const QString shot = qpath(scratch.path() / "QV_00000.csv");
    for (const QStringList& arguments :
         {QStringList{"measure", shot}, QStringList{"measure", "--json", shot},
          QStringList{"set", "--simulate"}, QStringList{"list", "--simulate"}}) {
        QProcess process;
        process.setStandardOutputFile("/dev/full");
        process.start(KAVLONCLI, arguments);
        ASSERT_TRUE(process.waitForFinished(120000)) << arguments.join(' ').toStdString();
        const std::string err = process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 4) << arguments.join(' ').toStdString() << ": " << err;
        EXPECT_TRUE(mentions(err, "cannot write the results")) << err;
    }
}

TEST(Cli, UnplugDuringCaptureExitsThreeAndLeavesOnlyWholeFiles) {
    ScratchFolder scratch;
    auto sim = std::make_unique<SimulatedBackend>(SimulationOptions{.paced = true, .pollInterval = 0ms});
    SimulatedBackend* instrument = sim.get();
    // Half way through the second shot: the first is whole, the second never will be.
    constexpr std::uint64_t kUnplugAfter = 6 + 2049 + 1000;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (instrument->pluggedIn() && instrument->reportsRead() >= kUnplugAfter)
            instrument->unplug();
    });
    watch.start(1);
    const int code = InProcess{}.run(
        {"capture", "--simulate", "--shots", "3", "--out", qpath(scratch.path()), "--format", "xls"},
        std::move(sim));
    watch.stop();
    EXPECT_EQ(code, 3);
    EXPECT_EQ(scratch.names(), std::set<std::string>{"QV_00000.xls"});
}

TEST(Cli, AShotThatLostAFrameIsAskedForAgainAndNeverWrittenIncomplete) {
    struct Case {
        QStringList retries;
        int code;
        std::set<std::string> files;
        bool saysRetry;
    };
    const Case cases[] = {
        {{}, 0, {"QV_00000.xls"}, true},
        {{"--retries", "0"}, 3, {}, false},
        {{"--retries", "2"}, 0, {"QV_00000.xls"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.retries.join(' ').toStdString());
        ScratchFolder scratch;
        // Connecting brings six reports; the hundredth of the shot is a frame of channel
        // 1 inside the 4,060 samples the instrument's 200 µs / Div keeps.
        auto lossy = std::make_unique<test::FaultyBackend>(
            SimulationOptions{.paced = false, .pollInterval = 0ms}, test::LinkFaults{.lostReport = 6 + 100});
        InProcess run;
        const int code = run.run(QStringList{"capture", "--simulate", "--shots", "1", "--out",
                                             qpath(scratch.path()), "--format", "xls"} +
                                     c.retries,
                                 std::move(lossy));
        const std::string& err = run.err;
        EXPECT_EQ(code, c.code) << err;
        EXPECT_EQ(scratch.names(), c.files);
        EXPECT_EQ(mentions(err, "shot 1: the shot lost frames; asking for it again (1 of"), c.saysRetry)
            << err;
    }
}

TEST(Cli, LiveStatisticsCountEveryShotAndRetryOneThatLostAFrame) {
    auto lossy = std::make_unique<test::FaultyBackend>(SimulationOptions{.paced = false, .pollInterval = 0ms},
                                                       test::LinkFaults{.lostReport = 6 + 100});
    InProcess run;
    const int code =
        run.run({"measure", "--simulate", "--live", "--stats", "--shots", "3", "--json"}, std::move(lossy));
    const std::string& out = run.out;
    const std::string& err = run.err;
    ASSERT_EQ(code, 0) << err;
    EXPECT_TRUE(mentions(err, "shot 1: the shot lost frames")) << err;
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
    EXPECT_EQ(root["shots"].toInt(), 3);
    const QJsonArray channels = root["channels"].toArray();
    ASSERT_FALSE(channels.isEmpty()) << out;
    const QJsonObject first = channels[0].toObject();
    EXPECT_EQ(first["name"].toString(), "Channel I");
    const QJsonObject vpp = first["measurements"].toArray()[0].toObject();
    EXPECT_EQ(vpp["name"].toString(), "Vpp");
    EXPECT_EQ(vpp["unit"].toString(), "V");
    EXPECT_EQ(vpp["count"].toInt(), 3);
    // A stopped instrument sends the same shot again: no spread, and every figure the last one.
    EXPECT_GT(vpp["last"].toDouble(), 0.0);
    for (const char* key : {"minimum", "maximum", "mean"})
        EXPECT_DOUBLE_EQ(vpp[key].toDouble(), vpp["last"].toDouble()) << key;
    EXPECT_NEAR(vpp["deviation"].toDouble(), 0.0, 1e-12);
    const QJsonObject phase = first["measurements"].toArray()[18].toObject();
    EXPECT_TRUE(phase["last"].isNull()) << "channel I is the reference";
    EXPECT_EQ(phase["count"].toInt(), 0);
}

TEST(Cli, LiveStatisticsAsATable) {
    const auto run = runKavloncli({"measure", "--simulate", "--live", "--stats", "--shots", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("2 shots\nMeasurement  ")) << run.out;
    EXPECT_TRUE(mentions(run.out, "\nVpp            Channel I  ")) << run.out;
    EXPECT_TRUE(mentions(run.out, "Std. deviation")) << run.out;
}

TEST(Cli, NoInstrumentExitsTwo) {
    ScratchFolder scratch;
    for (const QStringList& arguments :
         {QStringList{"capture", "--out", qpath(scratch.path())}, QStringList{"set"}, QStringList{"list"},
          QStringList{"measure", "--live"}, QStringList{"serve"}}) {
        auto sim = std::make_unique<SimulatedBackend>(SimulationOptions{.paced = false, .pollInterval = 0ms});
        sim->unplug();
        EXPECT_EQ(InProcess{}.run(arguments, std::move(sim)), 2) << arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(scratch.names().empty());
}

TEST(Cli, AnInstrumentPluggedInWhileWaitingIsUsed) {
    for (const QStringList& arguments :
         {QStringList{"list", "--wait", "60"}, QStringList{"set", "--wait", "60"}}) {
        auto sim = std::make_unique<SimulatedBackend>(SimulationOptions{.paced = false, .pollInterval = 0ms});
        sim->unplug();
        SimulatedBackend* instrument = sim.get();
        // Plugged in once the command waits in its event loop.
        QTimer::singleShot(0, [instrument] { instrument->plugIn(); });
        EXPECT_EQ(InProcess{}.run(arguments, std::move(sim)), 0) << arguments.join(' ').toStdString();
    }
}

TEST(Cli, AnInstrumentThatCannotBeOpenedIsListedAsUnusableAndNotUsed) {
    for (const QStringList& arguments : {QStringList{"list"}, QStringList{"set"}}) {
        auto faulty = std::make_unique<test::FaultyBackend>(
            SimulationOptions{.paced = false, .pollInterval = 0ms}, test::LinkFaults{.opens = false});
        InProcess run;
        const int code = run.run(arguments, std::move(faulty));
        const std::string& out = run.out;
        const std::string& err = run.err;
        const std::string name = arguments.join(' ').toStdString();
        EXPECT_EQ(code, 2) << name;
        if (arguments.front() == "list") {
            EXPECT_TRUE(mentions(out, "Quorvel Scope Interface")) << out;
            EXPECT_TRUE(mentions(out, "cannot be opened")) << out;
        }
        EXPECT_TRUE(mentions(err, "udev rule") || mentions(out, "plug it in again")) << name << ": " << err;
    }
}

} // namespace
} // namespace kavlon
