// The remote-control server in this process against the simulated instrument, with
// clients on real loopback sockets: the order commands run in, what one client's
// behaviour may and may not do to the others, and what the instrument's going away does.
#include "support/EventLoopWait.h"

#include "cli/serve/ScpiServer.h"
#include "cli/serve/SessionInstrument.h"

#include "core/acquisition/FrameEncoding.h"
#include "core/scpi/ModelInstrument.h"

#include "device/simulator/SimulatedBackend.h"

#include <QTcpSocket>

#include <gtest/gtest.h>

namespace kavlon::cli {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;

struct Served {
    SimulatedBackend* instrument;
    CommandSession session;
    bool connected;
    SessionInstrument remote;
    ScpiServer server;

    explicit Served(ServerLimits limits = {})
        : Served(std::make_unique<SimulatedBackend>(SimulationOptions{.paced = false, .pollInterval = 0ms}),
                 limits) {}
    Served(std::unique_ptr<SimulatedBackend> backend, ServerLimits limits)
        : instrument(backend.get()), session(std::move(backend), SessionOptions{}),
          connected(session.connect().ok()), remote(session, "0.1"), server(remote, limits) {
        EXPECT_TRUE(connected);
        remote.onAnswered([this](const scpi::ActionResult& r) { server.answered(r); });
        EXPECT_FALSE(server.listen(QHostAddress::LocalHost, 0));
    }

    std::unique_ptr<QTcpSocket> client();
};

// A client the server has taken on.
std::unique_ptr<QTcpSocket> clientOf(ScpiServer& server) {
    const std::size_t before = server.clientCount();
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, server.port());
    EXPECT_TRUE(waitUntil(
        [&] { return server.clientCount() > before && socket->state() == QAbstractSocket::ConnectedState; }));
    return socket;
}

std::unique_ptr<QTcpSocket> Served::client() {
    return clientOf(server);
}

std::unique_ptr<SimulatedBackend> pacedInstrument() {
    return std::make_unique<SimulatedBackend>(SimulationOptions{.paced = true, .pollInterval = 0ms});
}

void send(QTcpSocket& socket, const QByteArray& bytes) {
    socket.write(bytes);
    socket.flush();
}

// The next response line, or "<none>" when none comes in time.
std::string answer(QTcpSocket& socket, std::chrono::milliseconds timeout = 20s) {
    if (!waitUntil([&] { return socket.canReadLine(); }, timeout))
        return "<none>";
    return socket.readLine().trimmed().toStdString();
}

std::string ask(QTcpSocket& socket, const QByteArray& line) {
    send(socket, line + "\n");
    return answer(socket);
}

TEST(ScpiServer, EachClientGetsItsOwnResponsesAndAShotHoldsTheOthersBack) {
    Served s(pacedInstrument(), {});
    auto a = s.client();
    auto b = s.client();
    auto c = s.client();
    send(*a, ":WAV:SOUR CHAN2\n");
    send(*b, ":WAV:SOUR CHAN3\n");
    EXPECT_EQ(ask(*a, ":WAV:SOUR?"), "CHAN2");
    EXPECT_EQ(ask(*b, ":WAV:SOUR?"), "CHAN3");
    EXPECT_EQ(ask(*c, ":WAV:SOUR?"), "CHAN1");

    // While the shot runs, the others' queries wait for it and then read it: no second
    // shot is taken for them.
    send(*a, ":DIG;*OPC?\n");
    ASSERT_TRUE(waitUntil([&] { return s.server.busy(); }));
    send(*b, ":MEAS:VPP?;:WAV:POIN?\n");
    send(*c, "*IDN?\n");
    EXPECT_EQ(answer(*a), "1");
    const QStringList measured = QString::fromStdString(answer(*b)).split(';');
    ASSERT_EQ(measured.size(), 2);
    EXPECT_NEAR(measured[0].toDouble(), 2.0, 1e-6);
    EXPECT_EQ(measured[1], "4061");
    EXPECT_EQ(answer(*c), "Quorvel,Scope Interface,SIM0001,0.1");
    EXPECT_EQ(s.remote.shotCount(), 1u);
}

TEST(ScpiServer, AClientThatGoesMidCommandAffectsNoOneElse) {
    Served s(pacedInstrument(), {});
    auto leaving = s.client();
    auto staying = s.client();
    send(*leaving, ":DIG;*OPC?;:WAV:DATA?\n");
    ASSERT_TRUE(waitUntil([&] { return s.server.busy(); }));
    leaving->abort();
    EXPECT_EQ(ask(*staying, ":WAV:SOUR CHAN4;:WAV:FORM BYTE;:WAV:POIN?"), "4061");
    EXPECT_EQ(s.remote.shotCount(), 1u);
    EXPECT_TRUE(waitUntil([&] { return s.server.clientCount() == 1; }));
    EXPECT_EQ(ask(*staying, "SYST:ERR?"), "0,\"No error\"");
}

TEST(ScpiServer, OverlongLinesAndGarbageAreErrorsAndChangeNothing) {
    Served s;
    auto bad = s.client();
    auto good = s.client();
    const scpi::InstrumentSettings before = s.remote.settings();
    send(*bad, QByteArray(70 * 1024, 'A'));
    send(*bad, QByteArray(":TIM:SCAL 1ms\n"));
    const char garbage[] = "\x00\xff\xfe;;:::\x01 :TIM:SCAL 1ms\n";
    send(*bad, QByteArray(garbage, sizeof garbage - 1));
    send(*bad, QByteArray(":CHAN1:SCAL 7V\n:TIM:SCAL 1ms\x80\n"));
    EXPECT_EQ(
        ask(*bad, "SYST:ERR?;ERR?;ERR?;ERR?;ERR?"),
        "-223,\"Too much data;a line longer than 65536 bytes was dropped\";"
        "-101,\"Invalid character\";"
        "-222,\"Data out of range;channel 1: 7E+00 V per division is not offered at its probe setting\";"
        "-101,\"Invalid character;:TIM:SCAL: expected ',' between parameters\";0,\"No error\"");
    const scpi::InstrumentSettings after = s.remote.settings();
    EXPECT_EQ(after.timebaseIndex, before.timebaseIndex);
    EXPECT_EQ(after.voltsIndex, before.voltsIndex);
    EXPECT_EQ(ask(*good, "SYST:ERR?"), "0,\"No error\"");
    EXPECT_EQ(s.server.clientCount(), 2u);
}

TEST(ScpiServer, ATwoChannelInstrumentReportingItsAbsentChannelsOnStillTurnsChannelsOff) {
    Served s;
    auto client = s.client();
    // What such an instrument sends: the status bits of channels III and IV set.
    SettingsReport report;
    report.voltsIndex = {8, 8, 8, 8};
    report.probeRange = {3, 3, 3, 3};
    report.zeroLevel = {124, 124, 124, 124};
    report.on = {true, true, true, true};
    report.timebaseIndex = 15;
    report.timeStepIndex = 1;
    report.channelCount = 2;
    report.running = true;
    report.triggerSource = 1;
    s.session.control().InterpretRecvData(encodeSettings(report));
    ASSERT_EQ(s.remote.settings().channelCount, 2);
    EXPECT_EQ(ask(*client, ":CHAN2:DISP 0;*OPC?;:SYST:ERR?"), "1;0,\"No error\"");
    EXPECT_EQ(ask(*client, ":CHAN2:DISP?;:CHAN1:DISP?"), "0;1");
}

TEST(ScpiServer, AClientThatNeverReadsIsDroppedAndTheOthersGoOn) {
    ServerLimits limits;
    limits.connection.maxUnreadBytes = 256 * 1024;
    Served s(limits);
    auto deaf = s.client();
    // Neither this process nor the system takes more of its responses than this.
    deaf->setReadBufferSize(1024);
    auto other = s.client();
    EXPECT_EQ(ask(*other, ":DIG;*OPC?"), "1");
    // A client that reads may ask for far more than that at once (10 MB here).
    QByteArray waveforms;
    for (int i = 0; i < 1000; ++i)
        waveforms += ":WAV:FORM ASC;:WAV:DATA?\n";
    send(*other, waveforms);
    const std::string first = answer(*other);
    EXPECT_EQ(std::count(first.begin(), first.end(), ','), 4060);
    for (int i = 1; i < 1000; ++i)
        ASSERT_EQ(answer(*other), first) << i;
    EXPECT_EQ(s.server.droppedClients(), 0);
    QByteArray flood;
    for (int i = 0; i < 2000; ++i)
        flood += ":WAV:FORM ASC;:WAV:DATA?\n";
    send(*deaf, flood);
    EXPECT_TRUE(waitUntil([&] { return s.server.droppedClients() == 1; }, 60s));
    EXPECT_EQ(ask(*other, "*IDN?;SYST:ERR?"), "Quorvel,Scope Interface,SIM0001,0.1;0,\"No error\"");
    EXPECT_EQ(s.server.clientCount(), 1u);
}

TEST(ScpiServer, AClientThatSendsFasterThanItsCommandsRunDoesNotStarveTheOthers) {
    // The model answers only when the test says so: the order is the server's alone.
    scpi::ModelInstrument model;
    model.hold(true);
    ScpiServer server(model);
    ASSERT_FALSE(server.listen(QHostAddress::LocalHost, 0));
    auto flooding = clientOf(server);
    auto other = clientOf(server);
    QByteArray lines;
    for (int i = 0; i < 1000; ++i)
        lines += ":RUN;*OPC?\n";
    send(*flooding, lines);
    send(*other, "*IDN?\n");
    int answered = 0;
    auto answerOne = [&] {
        if (server.busy()) {
            server.answered(*model.complete());
            ++answered;
        }
    };
    ASSERT_TRUE(waitUntil([&] {
        answerOne();
        return other->canReadLine();
    }));
    EXPECT_EQ(answer(*other), "Quorvel,Scope Interface,MODEL1,0.1");
    // Its lines are read only as they run, so the other's line came in between them.
    EXPECT_LT(answered, 1000);
    EXPECT_TRUE(waitUntil([&] {
        answerOne();
        return flooding->bytesAvailable() == 2 * 1000;
    }));
    EXPECT_EQ(answered, 1000);
}

TEST(ScpiServer, TheInstrumentGoingAwayIsAnErrorOfTheCommandThatWaitedForIt) {
    Served s(pacedInstrument(), {});
    auto client = s.client();
    send(*client, ":DIG;*OPC?\n");
    ASSERT_TRUE(waitUntil([&] { return s.server.busy() && s.instrument->reportsRead() > 100; }));
    s.instrument->unplug();
    EXPECT_EQ(answer(*client), "1");
    EXPECT_EQ(ask(*client, "SYST:ERR?;*TST?"), "-240,\"Hardware error;the instrument went away\";1");
    EXPECT_EQ(ask(*client, ":RUN;*OPC?"), "1");
    EXPECT_EQ(ask(*client, "SYST:ERR?"), "-240,\"Hardware error;the instrument went away\"");
}

TEST(ScpiServer, ClosingEndsEveryConnection) {
    Served s;
    auto a = s.client();
    auto b = s.client();
    send(*a, ":DIG\n");
    s.server.close();
    EXPECT_TRUE(waitUntil([&] {
        return a->state() == QAbstractSocket::UnconnectedState &&
               b->state() == QAbstractSocket::UnconnectedState;
    }));
    EXPECT_EQ(s.server.clientCount(), 0u);
    QTcpSocket late;
    late.connectToHost(QHostAddress::LocalHost, s.server.port());
    EXPECT_FALSE(late.waitForConnected(2000));
}

} // namespace
} // namespace kavlon::cli
