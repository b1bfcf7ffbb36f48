// kavloncli serve against clients this project did not write: PyVISA with its
// pure-Python backend, and lxi-tools; and eight clients at once with one taking
// waveforms. The server is the built program on a port the system chose, on loopback.
#include "CliRun.h"

#include "support/EventLoopWait.h"
#include "support/ScratchFolder.h"

#include "KavlonVersion.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <csignal>
#include <map>

namespace kavlon {
namespace {

using namespace std::chrono_literals;
using test::ScratchFolder;

constexpr int kLongest = 300000; // ms: the load test's nine clients on a busy machine

class ServeProcess {
public:
    explicit ServeProcess(const QString& listen = "127.0.0.1:0") {
        m_process.start(KAVLONCLI, {"serve", "--simulate", "--listen", listen});
        while (!m_process.canReadLine() && m_process.state() != QProcess::NotRunning)
            m_process.waitForReadyRead(100);
        m_listening = QString::fromUtf8(m_process.readLine()).trimmed();
        const auto match = QRegularExpression(":(\\d+)$").match(m_listening);
        m_port = match.hasMatch() ? match.captured(1) : QString();
    }
    ~ServeProcess() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    QString port() const { return m_port; }
    QString listening() const { return m_listening; }
    // Sends the signal and gives the exit status, -1 for none in time or a crash.
    int stop(int signal) {
        ::kill(pid_t(m_process.processId()), signal);
        if (!m_process.waitForFinished(60000) || m_process.exitStatus() != QProcess::NormalExit)
            return -1;
        return m_process.exitCode();
    }
    std::string errors() { return m_process.readAllStandardError().toStdString(); }

private:
    QProcess m_process;
    QString m_listening;
    QString m_port;
};

test::CliRun runProgram(const QString& program, const QStringList& arguments) {
    return test::runProgram(program, arguments, kLongest);
}

// A client script's "name value" lines.
std::map<std::string, std::string> linesOf(const std::string& out) {
    std::map<std::string, std::string> lines;
    for (const QString& line : QString::fromStdString(out).split('\n', Qt::SkipEmptyParts)) {
        const qsizetype blank = line.indexOf(' ');
        lines[line.left(blank).toStdString()] = blank < 0 ? "" : line.mid(blank + 1).toStdString();
    }
    return lines;
}

test::CliRun runScript(const char* script, const QStringList& arguments) {
    return runProgram(KAVLON_PYTHON3, QStringList{QString(KAVLON_TEST_DATA) + "/" + script} + arguments);
}

TEST(ScpiClients, PyVisaReadsTheShotsVoltsAsTheCsvOfTheSameShotHasThem) {
    // The simulated instrument gives every process the same first shot at the same settings.
    ScratchFolder scratch;
    const auto captured = test::runKavloncli(
        {"capture", "--simulate", "--out", QString::fromStdString(scratch.path().string())});
    ASSERT_EQ(captured.exitCode, 0) << captured.err;
    ServeProcess server;
    ASSERT_EQ(server.listening().left(23), "listening on 127.0.0.1:");

    const auto run =
        runScript("scpi_pyvisa_client.py",
                  {server.port(), QString::fromStdString((scratch.path() / "QV_00000.csv").string())});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto lines = linesOf(run.out);
    EXPECT_EQ(lines["idn"], std::string("Quorvel,Scope Interface,SIM0001,") + kVersion);
    EXPECT_EQ(lines["digitize"], "1");
    EXPECT_EQ(lines["points"], "4061 csv_rows 4061");
    for (const std::string c : {"1", "2", "3", "4"}) {
        EXPECT_EQ(lines["channel" + c], "bytes 4061 format 0 x_increment 4e-06 volts_match True") << c;
        EXPECT_EQ(lines["ascii" + c], "equal True") << c;
    }
    // Channel 1 is a 1 kHz square of 2 V peak to peak.
    EXPECT_NEAR(std::stod(lines["vpp"]), 2.0, 1e-6);
    EXPECT_NEAR(std::stod(lines["frequency"]), 1000.0, 0.1);
    EXPECT_EQ(lines["phase_of_channel1"], "9.91E+37");
    EXPECT_EQ(lines["timebase"], "1E-03");
    EXPECT_EQ(lines["scale"], "2E-01");
    const QStringList errors = QString::fromStdString(lines["errors"]).split(" | ");
    QStringList codes;
    for (const QString& e : errors)
        codes << e.section(',', 0, 0);
    EXPECT_EQ(codes.join(' ').toStdString(), "-222 -113 -109 -224 0") << lines["errors"];
    EXPECT_EQ(lines["timebase_after"], "1E-03");

    EXPECT_EQ(server.stop(SIGTERM), 0);
    EXPECT_EQ(server.errors(), "");
}

TEST(ScpiClients, LxiToolsAsksForTheIdentityAndCountsRequests) {
    if (QString(KAVLON_LXI).endsWith("NOTFOUND"))
        GTEST_SKIP() << "lxi-tools is not installed (scripts/deps installs it)";
    ServeProcess server;
    const auto idn =
        runProgram(KAVLON_LXI, {"scpi", "--raw", "-a", "127.0.0.1", "-p", server.port(), "*IDN?"});
    EXPECT_EQ(idn.exitCode, 0) << idn.err;
    EXPECT_EQ(idn.out, std::string("Quorvel,Scope Interface,SIM0001,") + kVersion + "\n");
    const auto set =
        runProgram(KAVLON_LXI, {"scpi", "--raw", "-a", "127.0.0.1", "-p", server.port(), ":TIM:SCAL 5ms"});
    EXPECT_EQ(set.exitCode, 0) << set.err;
    const auto get =
        runProgram(KAVLON_LXI, {"scpi", "--raw", "-a", "127.0.0.1", "-p", server.port(), ":TIM:SCAL?"});
    EXPECT_EQ(get.out, "5E-03\n");
    const auto bench =
        runProgram(KAVLON_LXI, {"benchmark", "--raw", "-a", "127.0.0.1", "-p", server.port(), "-c", "200"});
    EXPECT_EQ(bench.exitCode, 0) << bench.err;
    EXPECT_TRUE(
        QString::fromStdString(bench.out).contains(QRegularExpression("Result: [0-9.]+ requests/second")))
        << bench.out;
    EXPECT_EQ(server.stop(SIGINT), 0);
}

TEST(ScpiClients, EightClientsAndOneTakingWaveformsGetEveryAnswerRight) {
    ServeProcess server;
    const auto run = runScript("scpi_load.py", {server.port()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto lines = linesOf(run.out);
    EXPECT_EQ(lines["queries"], "16000");
    EXPECT_EQ(lines["wrong"], "0");
    EXPECT_EQ(lines["failed_clients"], "0") << run.err;
    EXPECT_EQ(lines["unprovoked_errors"], "0");
    EXPECT_EQ(lines["provoked_errors"], "1600");
    EXPECT_EQ(lines["waveform_bytes"], std::to_string(3 * 4 * 4061));
    EXPECT_EQ(lines["final_scales_are_the_last_set"], "True");
    EXPECT_EQ(lines["final_timebase"], "2E-04");
    EXPECT_EQ(server.stop(SIGTERM), 0);
    EXPECT_EQ(server.errors(), "");
}

TEST(ScpiClients, ASignalEndsTheServerCleanlyWithAShotUnderWay) {
    for (int signal : {SIGTERM, SIGINT}) {
        ServeProcess server;
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, server.port().toUShort());
        ASSERT_TRUE(client.waitForConnected(60000));
        client.write(":TIM:SCAL 1ms;*OPC?\n");
        ASSERT_TRUE(test::waitUntil([&] { return client.canReadLine(); }, 60s));
        EXPECT_EQ(client.readLine(), "1\n");
        client.write(":DIG;*OPC?\n");
        client.flush();
        // Most likely inside the two seconds of the shot; either way the server must end well.
        test::waitUntil([] { return false; }, 300ms);
        EXPECT_EQ(server.stop(signal), 0) << signal;
        EXPECT_EQ(server.errors(), "") << signal;
        EXPECT_TRUE(test::waitUntil([&] { return client.state() == QAbstractSocket::UnconnectedState; }));
    }
}

TEST(ScpiClients, ListeningBeyondLoopbackIsSpelledOutAndWarnedAbout) {
    ServeProcess server("0.0.0.0:0");
    EXPECT_EQ(server.listening().left(21), "listening on 0.0.0.0:");
    EXPECT_EQ(server.stop(SIGTERM), 0);
    const std::string errors = server.errors();
    EXPECT_NE(errors.find("warning"), std::string::npos) << errors;
    EXPECT_NE(errors.find("anyone who can reach this port can operate the instrument"), std::string::npos);
}

} // namespace
} // namespace kavlon
