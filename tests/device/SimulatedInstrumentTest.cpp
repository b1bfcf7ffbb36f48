#include "device/simulator/SimulatedInstrument.h"

#include "core/acquisition/Commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace kavlon {
namespace {

std::vector<std::uint8_t> reportOf(CommandBytes command) {
    return buildOutputReport(command, 6, 65);
}

void send(SimulatedInstrument& sim, std::initializer_list<std::uint8_t> bytes) {
    CommandBytes c{};
    std::copy(bytes.begin(), bytes.end(), c.begin());
    sim.receive(reportOf(c));
}

std::vector<Frame> drain(SimulatedInstrument& sim) {
    std::vector<Frame> frames;
    while (sim.hasFrame())
        frames.push_back(sim.takeFrame());
    return frames;
}

int sumOfPayload(const Frame& f) {
    int sum = 0;
    for (int i = 3; i <= 34; ++i)
        sum += f[std::size_t(i)];
    return sum;
}

TEST(SimulatedInstrument, AnswersConnectWithGainThenSettings) {
    SimulatedInstrument sim;
    send(sim, {0x10});
    const auto frames = drain(sim);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0][0], frame::Gain);
    EXPECT_EQ(frames[0][6], 1) << "window mode 1: the shot window starts at sample 0";
    const Frame& s = frames[1];
    EXPECT_EQ(s[0], frame::Settings);
    EXPECT_EQ(s[6], 15);
    EXPECT_EQ(s[12], 4);
    EXPECT_EQ(s[15], 1);
    EXPECT_EQ(s[18], 0x01);
    EXPECT_EQ(s[23], 104) << "probe range 3, sent as value + 101";
    EXPECT_EQ(frame::checkWord(s), sumOfPayload(s));
}

struct CommandCase {
    const char* name;
    std::vector<CommandBytes> commands;
    std::function<bool(const SimulatedSettings&)> expected;
};

const std::vector<CommandCase>& commandCases() {
    static const std::vector<CommandCase> cases = {
        {"run/stop toggles", {{0x06, 0x18}}, [](auto& s) { return !s.running; }},
        {"run/stop twice runs again", {{0x06, 0x18}, {0x06, 0x18}}, [](auto& s) { return s.running; }},
        {"single stops after its shot", {{0x06, 0x19}}, [](auto& s) { return !s.running; }},
        {"channel codes skip 08",
         {{0x06, 0x09, 0}, {0x06, 0x0B, 0}},
         [](auto& s) {
             return s.on == std::array<bool, 4>{true, false, true, false};
         }},
        {"coupling channel 3", {{0x06, 0x1E, 1}}, [](auto& s) { return s.acCoupled[2] && !s.acCoupled[0]; }},
        {"invert channel 4", {{0x06, 0x23, 1}}, [](auto& s) { return s.inverted[3] && !s.inverted[2]; }},
        {"timebase faster", {{0x08, 0x0B, 1}}, [](auto& s) { return s.timebaseIndex == 14; }},
        {"timebase slower", {{0x08, 0x0B, 2}}, [](auto& s) { return s.timebaseIndex == 16; }},
        {"volts bigger on channel 2", {{0x08, 0x06, 2}}, [](auto& s) { return s.voltsIndex[1] == 9; }},
        {"volts smaller on channel 4", {{0x08, 0x08, 1}}, [](auto& s) { return s.voltsIndex[3] == 7; }},
        {"zero level at the top of the track bar",
         {{0x03, 0x17, 1, 0, 0}},
         [](auto& s) { return s.zeroLevel[0] == 222; }},
        {"zero level at the bottom",
         {{0x03, 0x17, 2, 0x80, 0x01}},
         [](auto& s) { return s.zeroLevel[1] == 30; }},
        {"zero level beyond the track bar is held to it",
         {{0x03, 0x17, 3, 0xE8, 0x03}},
         [](auto& s) { return s.zeroLevel[2] == 30; }},
        {"auto-scale fits 2 V peak-to-peak and two periods of 1 kHz",
         {{0x06, 0x18}, {0x08, 0x05, 1}, {0x08, 0x0B, 1}, {0x03, 0x17, 1, 0, 0}, {0x06, 0x0C}},
         [](auto& s) {
             return s.running && s.voltsIndex[0] == 8 && s.timebaseIndex == 15 && s.zeroLevel[0] == 124;
         }},
    };
    return cases;
}

class SimulatedCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(SimulatedCommandTest, ChangesItsSettingsAndReportsThem) {
    SimulatedInstrument sim;
    for (const auto& c : GetParam().commands)
        sim.receive(reportOf(c));
    EXPECT_TRUE(GetParam().expected(sim.settings())) << GetParam().name;
    const auto frames = drain(sim);
    ASSERT_EQ(frames.size(), GetParam().commands.size()) << "one settings frame per command";
    EXPECT_EQ(frames.back()[0], frame::Settings);
    EXPECT_EQ(frames.back()[6], sim.settings().timebaseIndex);
}

INSTANTIATE_TEST_SUITE_P(Commands, SimulatedCommandTest, ::testing::ValuesIn(commandCases()));

TEST(SimulatedInstrument, StepsStayWithinTheirTables) {
    SimulatedInstrument sim;
    for (int i = 0; i < 40; ++i) {
        send(sim, {0x08, 0x0B, 1});
        send(sim, {0x08, 0x05, 2});
    }
    EXPECT_EQ(sim.settings().timebaseIndex, 0);
    EXPECT_EQ(sim.settings().voltsIndex[0], 11);
    for (int i = 0; i < 40; ++i) {
        send(sim, {0x08, 0x0B, 2});
        send(sim, {0x08, 0x05, 1});
    }
    EXPECT_EQ(sim.settings().timebaseIndex, 31);
    EXPECT_EQ(sim.settings().voltsIndex[0], 3);
}

TEST(SimulatedInstrument, IgnoresWhatIsNotACommand) {
    SimulatedInstrument sim;
    send(sim, {0x06, 0x08, 1}); // 08 is no channel code
    send(sim, {0x08, 0x0B, 3});
    send(sim, {0x03, 0x17, 5, 10, 0});
    send(sim, {0x42});
    std::vector<std::uint8_t> wrongMarker = reportOf({0x10});
    wrongMarker[1] = 0x24;
    sim.receive(wrongMarker);
    sim.receive(std::vector<std::uint8_t>{0x00, 0x25, 0x10}); // too short to hold a command
    EXPECT_FALSE(sim.hasFrame());
}

TEST(SimulatedInstrument, SendsEveryEnabledChannelInAnyOrderAndATrailer) {
    SimulatedInstrument sim;
    sim.setScrambledOrder(true);
    send(sim, {0x06, 0x09, 0});
    send(sim, {0x06, 0x0B, 0});
    drain(sim);
    send(sim, {0x0E});
    const auto frames = drain(sim);
    ASSERT_EQ(frames.size(), 2u * 512 + 1);
    EXPECT_EQ(frames.back()[0], frame::Trailer);
    // Reference levels are rising percentages of the swing, so edges can be timed.
    EXPECT_EQ((std::array<int, 3>{frames.back()[24], frames.back()[25], frames.back()[26]}),
              (std::array<int, 3>{10, 50, 90}));
    std::array<std::set<int>, 4> offsets;
    std::array<std::array<std::uint8_t, kBlockSize>, 4> memory{};
    bool inOrder = true;
    for (std::size_t n = 0; n + 1 < frames.size(); ++n) {
        const Frame& f = frames[n];
        const int channel = f[0] - frame::SampleCh1;
        const int offset = frame::be16(f, 1);
        ASSERT_TRUE(channel == 0 || channel == 2);
        ASSERT_EQ(frame::checkWord(f), sumOfPayload(f));
        inOrder = inOrder && offset == int(n % 512) * 32;
        offsets[std::size_t(channel)].insert(offset);
        std::copy_n(f.begin() + 3, 32, memory[std::size_t(channel)].begin() + offset);
    }
    EXPECT_FALSE(inOrder);
    EXPECT_EQ(offsets[0].size(), 512u);
    EXPECT_EQ(offsets[2].size(), 512u);
    for (int c : {1, 3})
        EXPECT_TRUE(std::equal(memory[std::size_t(c - 1)].begin(), memory[std::size_t(c - 1)].end(),
                               sim.lastShot(c).begin()));
}

TEST(SimulatedInstrument, AStoppedInstrumentSendsTheSameShotAgain) {
    SimulatedInstrument sim;
    sim.setSignal(1, {WaveShape::Noise, 0, 2.0});
    send(sim, {0x0E});
    const std::vector<std::uint8_t> first(sim.lastShot(1).begin(), sim.lastShot(1).end());
    send(sim, {0x0E});
    const std::vector<std::uint8_t> second(sim.lastShot(1).begin(), sim.lastShot(1).end());
    EXPECT_NE(first, second) << "running: a new acquisition each time";
    send(sim, {0x06, 0x18});
    send(sim, {0x0E});
    EXPECT_TRUE(std::equal(second.begin(), second.end(), sim.lastShot(1).begin()));
}

TEST(SimulatedInstrument, KeepsWhatWaitsBoundedAndCountsPolls) {
    SimulatedInstrument sim;
    for (int i = 0; i < 10; ++i)
        send(sim, {0x0E});
    EXPECT_LE(sim.pendingFrames(), SimulatedInstrument::kMaxPendingFrames);
    EXPECT_EQ(sim.answersDropped(), 7);
    drain(sim);
    sim.sendPoll();
    sim.sendQuickPrint(2);
    const auto frames = drain(sim);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0][0], frame::Poll);
    EXPECT_EQ(frames[1][0], frame::QuickPrint);
    EXPECT_EQ(frames[1][1], 2);
    send(sim, {0x12});
    EXPECT_EQ(sim.pollsSent(), 1);
    EXPECT_EQ(sim.acknowledgements(), 1);
}

struct SignalCase {
    const char* name;
    SignalSettings signal;
    ChannelView view;
    std::vector<std::pair<int, int>> samples; // index, raw value
};

// 0.5 V / Div is 24 raw steps per 0.5 V; 4 µs per sample is 200 µs / Div.
constexpr ChannelView kView{4e-6, 0.5 / 24, 124, false, false};

const SignalCase kSignalCases[] = {
    {"square: +1 V for half a period, then -1 V",
     {WaveShape::Square, 1000, 2.0, 0, 0.5},
     kView,
     {{0, 76}, {124, 76}, {125, 172}, {249, 172}, {250, 76}}},
    {"inverted square",
     {WaveShape::Square, 1000, 2.0, 0, 0.5},
     {4e-6, 0.5 / 24, 124, false, true},
     {{0, 172}, {125, 76}}},
    {"pulse with 25% duty", {WaveShape::Pulse, 1000, 2.0, 0, 0.25}, kView, {{0, 76}, {62, 76}, {63, 172}}},
    {"sine peaks a quarter period in",
     {WaveShape::Sine, 1000, 2.0, 0, 0.5},
     kView,
     {{0, 124}, {62, 76}, {125, 124}, {187, 172}}},
    {"triangle rises from the bottom",
     {WaveShape::Triangle, 1000, 2.0, 0, 0.5},
     kView,
     {{0, 172}, {62, 124}, {125, 76}, {187, 124}}},
    {"DC offset kept", {WaveShape::Square, 1000, 1.0, 0.5, 0.5}, kView, {{0, 76}, {125, 124}}},
    {"AC coupling removes the offset",
     {WaveShape::Square, 1000, 1.0, 0.5, 0.5},
     {4e-6, 0.5 / 24, 124, true, false},
     {{0, 100}, {125, 148}}},
    {"clipped at the edges of the input",
     {WaveShape::Square, 1000, 20.0, 0, 0.5},
     kView,
     {{0, 0}, {125, 255}}},
    {"a slower timebase shows more periods",
     {WaveShape::Square, 1000, 2.0, 0, 0.5},
     {40e-6, 0.5 / 24, 124, false, false},
     {{0, 76}, {12, 76}, {13, 172}, {25, 76}}},
};

class SignalTest : public ::testing::TestWithParam<SignalCase> {};

TEST_P(SignalTest, RawSamplesFollowVoltsAndTime) {
    const auto& c = GetParam();
    std::array<std::uint8_t, 400> raw{};
    renderSignal(c.signal, c.view, 1, raw);
    for (auto [index, value] : c.samples)
        EXPECT_EQ(raw[std::size_t(index)], value) << c.name << ", sample " << index;
}

INSTANTIATE_TEST_SUITE_P(Shapes, SignalTest, ::testing::ValuesIn(kSignalCases));

TEST(SignalGenerator, NoiseStaysWithinItsAmplitude) {
    std::array<std::uint8_t, 4000> raw{};
    renderSignal({WaveShape::Noise, 0, 1.0, 0, 0.5}, kView, 7, raw);
    const auto [low, high] = std::minmax_element(raw.begin(), raw.end());
    EXPECT_GE(*low, 124 - 24);
    EXPECT_LE(*high, 124 + 24);
    EXPECT_GT(*high - *low, 30) << "and uses it";
}

} // namespace
} // namespace kavlon
