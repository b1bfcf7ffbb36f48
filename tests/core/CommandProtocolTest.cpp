#include "core/acquisition/AcquisitionControl.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace kavlon {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::map<std::string, Bytes> loadGoldenReports() {
    std::map<std::string, Bytes> golden;
    std::ifstream in(KAVLON_TEST_DATA "/output_reports.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto colon = line.find(':');
        std::istringstream hex(line.substr(colon + 1));
        Bytes bytes;
        unsigned value;
        while (hex >> std::hex >> value)
            bytes.push_back(std::uint8_t(value));
        golden[line.substr(0, colon)] = bytes;
    }
    return golden;
}

struct Link {
    test::RecordingListener screen;
    test::RecordingWriter wire;
    AcquisitionControl control{screen, wire};
};

// One command on a buffer whose stale bytes are all 0xAA shows exactly which bytes
// the command owns.
struct CommandCase {
    const char* name;
    void (*fill)(CommandBytes&);
    Bytes expected;
};

TEST(CommandTable, EachCommandWritesOnlyItsOwnBytes) {
    const CommandCase cases[] = {
        {"connect", [](CommandBytes& b) { CmdConnect(b); }, {0x10, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"request", [](CommandBytes& b) { CmdRequestData(b); }, {0x0E, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"ack", [](CommandBytes& b) { CmdAcknowledge(b); }, {0x12, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"run/stop", [](CommandBytes& b) { CmdRunStop(b); }, {0x06, 0x18, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"single", [](CommandBytes& b) { CmdSingle(b); }, {0x06, 0x19, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"auto", [](CommandBytes& b) { CmdAutoScale(b); }, {0x06, 0x0C, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"ch1 on",
         [](CommandBytes& b) { CmdChannelOn(b, 1, true); },
         {0x06, 0x07, 0x01, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"ch2 off",
         [](CommandBytes& b) { CmdChannelOn(b, 2, false); },
         {0x06, 0x09, 0x00, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"ch3 on",
         [](CommandBytes& b) { CmdChannelOn(b, 3, true); },
         {0x06, 0x0A, 0x01, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"ch4 on",
         [](CommandBytes& b) { CmdChannelOn(b, 4, true); },
         {0x06, 0x0B, 0x01, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"ac/dc 1",
         [](CommandBytes& b) { CmdCoupling(b, 1, true); },
         {0x06, 0x1C, 0x01, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"ac/dc 4",
         [](CommandBytes& b) { CmdCoupling(b, 4, false); },
         {0x06, 0x1F, 0x00, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"invert 1",
         [](CommandBytes& b) { CmdInvert(b, 1, true); },
         {0x06, 0x20, 0x01, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"invert 4",
         [](CommandBytes& b) { CmdInvert(b, 4, true); },
         {0x06, 0x23, 0x01, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"faster",
         [](CommandBytes& b) { CmdTimebaseStep(b, TimebaseStep::Faster); },
         {0x08, 0x0B, 0x01, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"slower",
         [](CommandBytes& b) { CmdTimebaseStep(b, TimebaseStep::Slower); },
         {0x08, 0x0B, 0x02, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"bigger 1",
         [](CommandBytes& b) { CmdVoltsStep(b, 1, VoltsStep::Bigger); },
         {0x08, 0x05, 0x02, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"smaller 4",
         [](CommandBytes& b) { CmdVoltsStep(b, 4, VoltsStep::Smaller); },
         {0x08, 0x08, 0x01, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"zero 384",
         [](CommandBytes& b) { CmdZeroLevel(b, 1, 384); },
         {0x03, 0x17, 0x01, 0x80, 0x01, 0xAA, 0xAA}},
        {"zero 196",
         [](CommandBytes& b) { CmdZeroLevel(b, 2, 196); },
         {0x03, 0x17, 0x02, 0xC4, 0x00, 0xAA, 0xAA}},
        {"bad channel",
         [](CommandBytes& b) { CmdChannelOn(b, 5, true); },
         {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
        {"bad channel 0",
         [](CommandBytes& b) { CmdZeroLevel(b, 0, 10); },
         {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}},
    };
    for (const auto& c : cases) {
        CommandBytes buffer;
        buffer.fill(0xAA);
        c.fill(buffer);
        EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), c.expected) << c.name;
    }
}

TEST(CommandProtocol, StaleBytesGoOutOnTheWireAsGoldenReports) {
    const auto golden = loadGoldenReports();
    ASSERT_EQ(golden.size(), 6u);

    Link a;
    a.control.State.Connected = true;
    a.control.sendCommand([](CommandBytes& b) { CmdConnect(b); });
    a.control.sendCommand([](CommandBytes& b) { CmdZeroLevel(b, 3, 300); });
    a.control.sendCommand([](CommandBytes& b) { CmdRunStop(b); });
    a.control.sendCommand([](CommandBytes& b) { CmdZeroLevel(b, 1, 384); });
    ASSERT_EQ(a.wire.reports.size(), 4u);
    EXPECT_EQ(a.wire.reports[0], golden.at("connect_fresh"));
    EXPECT_EQ(a.wire.reports[1], golden.at("zero_level_ch3_at_300"));
    EXPECT_EQ(a.wire.reports[2], golden.at("run_stop_after_zero_level"));
    EXPECT_EQ(a.wire.reports[3], golden.at("zero_level_ch1_at_384"));

    // "Faster" while offline sends nothing but leaves its bytes for the connect.
    Link b;
    b.control.sendCommand([](CommandBytes& buf) { CmdTimebaseStep(buf, TimebaseStep::Faster); });
    EXPECT_TRUE(b.wire.reports.empty());
    b.control.State.Connected = true;
    b.control.sendCommand([](CommandBytes& buf) { CmdConnect(buf); });
    ASSERT_EQ(b.wire.reports.size(), 1u);
    EXPECT_EQ(b.wire.reports[0], golden.at("faster_while_offline_then_connect"));

    // A poll is acknowledged through the same buffer.
    Link c;
    c.control.State.Connected = true;
    c.control.sendCommand([](CommandBytes& buf) { CmdVoltsStep(buf, 4, VoltsStep::Bigger); });
    Frame poll{};
    poll[0] = 0x97;
    c.control.InterpretRecvData(poll);
    ASSERT_EQ(c.wire.reports.size(), 2u);
    EXPECT_EQ(c.wire.reports[1], golden.at("acknowledge_after_volts_bigger_ch4"));
}

TEST(CommandProtocol, OutputReportFollowsTheDeviceReportLength) {
    CommandBytes cmd = {1, 2, 3, 4, 5, 6, 7};
    const auto r65 = buildOutputReport(cmd, 6, 65);
    ASSERT_EQ(r65.size(), 65u);
    EXPECT_EQ(Bytes(r65.begin(), r65.begin() + 9), (Bytes{0x00, 0x25, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(std::count(r65.begin() + 9, r65.end(), 0), 56);

    EXPECT_EQ(buildOutputReport(cmd, 6, 9).size(), 9u);
    EXPECT_TRUE(buildOutputReport(cmd, 6, 8).empty()) << "a report too short for the command is not built";
    EXPECT_TRUE(buildOutputReport(cmd, 6, 0).empty());
    EXPECT_EQ(buildOutputReport(cmd, 2, 8)[4], 3) << "count names the last byte sent";
    EXPECT_EQ(buildOutputReport(cmd, 2, 8)[5], 0);
}

TEST(CommandProtocol, TransmitIsGatedByDemoConnectionAndDevice) {
    struct Gate {
        const char* name;
        bool connected;
        bool demo;
        std::optional<int> reportLength;
        bool sent;
    };
    const Gate gates[] = {
        {"connected", true, false, 65, true},
        {"not connected", false, false, 65, false},
        {"demonstration", true, true, 65, false},
        {"instrument unplugged", true, false, std::nullopt, false},
        {"report too short", true, false, 4, false},
    };
    for (const auto& g : gates) {
        Link link;
        link.control.State.Connected = g.connected;
        link.control.DemoMode = g.demo;
        link.wire.reportLength = g.reportLength;
        link.control.sendCommand([](CommandBytes& b) { CmdSingle(b); });
        EXPECT_EQ(link.wire.reports.size(), g.sent ? 1u : 0u) << g.name;
        // Skipping leaves the buffer filled all the same.
        EXPECT_EQ(link.control.State.CommandBuffer[1], 0x19) << g.name;
    }

    // The device's report length is read afresh for every report.
    Link link;
    link.control.State.Connected = true;
    link.control.sendCommand([](CommandBytes& b) { CmdSingle(b); });
    link.wire.reportLength = 33;
    link.control.sendCommand([](CommandBytes& b) { CmdSingle(b); });
    ASSERT_EQ(link.wire.reports.size(), 2u);
    EXPECT_EQ(link.wire.reports[1].size(), 33u);
}

TEST(RequestData, StoresTheNameAndSendsTheRequestWhenConnected) {
    Link link;
    link.control.RequestData("Data00");
    EXPECT_EQ(link.control.State.RequestName, "Data00");
    EXPECT_TRUE(link.wire.reports.empty());
    EXPECT_EQ(link.control.State.CommandBuffer[0], 0x0E);

    link.control.State.Connected = true;
    link.control.RequestData("Data01");
    EXPECT_EQ(link.control.State.RequestName, "Data01") << "a second request replaces the name";
    ASSERT_EQ(link.wire.commands().size(), 1u);
    EXPECT_EQ(link.wire.commands()[0][0], 0x0E);
    EXPECT_TRUE(link.screen.completedShots.empty()) << "nothing is delivered before a trailer";
}

TEST(RequestData, DemonstrationMakesASquareWaveShotLocally) {
    Link link;
    link.control.DemoMode = true;
    link.control.State.Connected = true;
    std::vector<std::chrono::milliseconds> pauses;
    bool busyWhilePausing = true;
    link.control.setDemoPause([&](std::chrono::milliseconds ms) {
        pauses.push_back(ms);
        busyWhilePausing = busyWhilePausing && link.control.busy();
    });

    link.control.RequestData("Data00");

    EXPECT_TRUE(link.wire.reports.empty()) << "the demonstration never touches the link";
    ASSERT_EQ(pauses.size(), 128u);
    EXPECT_EQ(pauses.front(), std::chrono::milliseconds(100));
    EXPECT_TRUE(busyWhilePausing) << "frames must not be let in while the demonstration shot runs";
    EXPECT_FALSE(link.control.busy());
    ASSERT_GE(link.screen.progressHistory.size(), 128u);
    EXPECT_EQ(link.screen.progressHistory[0], 1);
    EXPECT_EQ(link.screen.progressHistory[127], 128);

    // Delivered to the requesting display, the window starting at sample 0.
    EXPECT_EQ(link.screen.completedShots, std::vector<std::string>{"Data00"});
    const auto& s = link.control.State;
    EXPECT_EQ(s.WindowStart, 0);
    EXPECT_EQ(s.ReferenceLevels, (std::array<int, 3>{20, 50, 80}));
    struct Probe {
        int channel, index, value;
    };
    const Probe probes[] = {{0, 0, 100},     {0, 99, 100},    {0, 100, 70},    {0, 199, 70},
                            {0, 200, 100},   {1, 50, 200},    {1, 150, 170},   {2, 0, 150},
                            {2, 16299, 150}, {3, 16200, 250}, {3, 16300, 220}, {3, 16383, 220}};
    for (const auto& p : probes)
        EXPECT_EQ(s.RawSamples(p.channel)[std::size_t(p.index)], p.value) << p.channel << "/" << p.index;
    // Timebase index 4 of the demonstration settings: a long shot of 16 301 samples.
    EXPECT_EQ(s.DisplaySamples(0)[16300], 70);
    EXPECT_EQ(s.DisplaySamples(0)[16301], 0);
    EXPECT_EQ(s.DisplaySamples(1)[150], 170);
}

} // namespace
} // namespace kavlon
