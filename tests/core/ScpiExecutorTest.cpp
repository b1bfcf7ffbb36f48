// The command tree run against a model instrument: what each command answers, which
// errors it queues, and that a rejected command never reaches the instrument.
#include "ShotTestSupport.h"

#include "core/scpi/ModelInstrument.h"
#include "core/scpi/ScpiExecutor.h"
#include "core/shot/ShotCsv.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>

namespace kavlon::scpi {
namespace {

using test::ShotBench;

struct Remote {
    ModelInstrument instrument;
    ScpiExecutor executor{instrument};
    ClientContext client;

    Remote() { client.status.clear(); }

    // The response to one message, the held actions answered as they come.
    std::string send(std::string_view message) {
        auto progress = executor.execute(client, message);
        while (progress == ScpiExecutor::Progress::Waiting) {
            const auto result = instrument.complete();
            if (!result) {
                ADD_FAILURE() << message << ": waits for an action that was never begun";
                return {};
            }
            progress = executor.resume(*result);
        }
        return executor.response();
    }
    // The error numbers queued, oldest first; the queue is empty afterwards.
    std::vector<int> errors() {
        std::vector<int> codes;
        for (std::string e = client.status.takeNext(); !e.starts_with("0,"); e = client.status.takeNext())
            codes.push_back(std::stoi(e));
        return codes;
    }
};

struct Case {
    std::string_view message;
    std::string_view response;
    std::vector<int> errors;
    std::size_t actions;
};

TEST(ScpiExecutor, CommandsAnswerQueueTheirErrorsAndActOnlyWhenAccepted) {
    const Case cases[] = {
        {"*IDN?", "Quorvel,Scope Interface,MODEL1,0.1\n", {}, 0},
        {"*idn?;*OPC?", "Quorvel,Scope Interface,MODEL1,0.1;1\n", {}, 0},
        {"SYST:VERS?", "1999.0\n", {}, 0},
        {":TIM:SCAL 1ms;:TIM:SCAL?", "1E-03\n", {}, 1},
        {":TIMEBASE:SCALE 2E-9;SCAL?", "2E-09\n", {}, 1},
        {":CHAN2:SCAL 200mV;SCAL?", "2E-01\n", {}, 1},
        {":CHAN1:DISP OFF;DISP?;:CHAN1:DISP 1;DISP?", "0;1\n", {}, 2},
        {":CHAN3:COUP AC;COUP?", "AC\n", {}, 1},
        {":CHAN4:INV ON;INV?", "1\n", {}, 1},
        {":CHAN1:PROB?", "1E+00\n", {}, 0},
        {":TRIG:SOUR?;LEV?", "CHAN1;5E-01\n", {}, 0},
        {"*RST;:RUN;:STOP;:SING;:AUT", "", {}, 5},
        {"*ESE 36;*ESE?;*SRE 255;*SRE?", "36;191\n", {}, 0},
        {"*OPC;*ESR?;*ESR?", "1;0\n", {}, 0},
        {"*TST?;*WAI", "0\n", {}, 0},
        // Values the instrument does not offer: queued, and nothing sent.
        {":TIM:SCAL 300us", "", {-222}, 0},
        {":TIM:SCAL 0", "", {-222}, 0},
        {":CHAN2:SCAL 3mV", "", {-222}, 0},
        {":CHAN2:SCAL 1E300", "", {-222}, 0},
        {":CHAN5:SCAL?", "", {-224}, 0},
        {":CHAN0:DISP ON", "", {-224}, 0},
        {":CHAN1:COUP XY", "", {-224}, 0},
        {":CHAN1:DISP 2", "", {-224}, 0},
        {":MEAS:VPP? CHAN9", "", {-224}, 0},
        {":MEAS:VPP? EXT", "", {-224}, 0},
        {":WAV:SOUR CHAN7", "", {-224}, 0},
        {":WAV:FORM WORD", "", {-224}, 0},
        {"*ESE 256", "", {-222}, 0},
        // An execution error lets the rest of the message run.
        {":TIM:SCAL 300us;:TIM:SCAL 2ms;SCAL?", "2E-03\n", {-222}, 1},
        // A command error ends the message where it stands.
        {":TIM:SCAL 1ms;:FOO;:TIM:SCAL 2ms", "", {-113}, 1},
        {":FOO?;*IDN?", "", {-113}, 0},
        {"*IDN", "", {-113}, 0},
        {":CHAN1:PROB 10", "", {-113}, 0},
        {"*IDN? 1", "", {-108}, 0},
        {":TIM:SCAL?  1", "", {-108}, 0},
        {":TIM:SCAL", "", {-109}, 0},
        {":TIM:SCAL ON", "", {-104}, 0},
        {":TIM:SCAL 1 V", "", {-131}, 0},
        {":CHAN1:SCAL \"1\"", "", {-104}, 0},
        {":RUN 1", "", {-108}, 0},
        {"*IDN?x", "", {-102}, 0},
        // No shot has been given to the model: the shot a query needs never comes whole.
        {":DIG", "", {-230}, 1},
        {":WAV:DATA?;*OPC?", "1\n", {-230}, 1},
    };
    for (const Case& c : cases) {
        Remote remote;
        EXPECT_EQ(remote.send(c.message), c.response) << c.message;
        EXPECT_EQ(remote.errors(), c.errors) << c.message;
        EXPECT_EQ(remote.instrument.actions().size(), c.actions) << c.message;
    }
}

TEST(ScpiExecutor, TheSettingsOfARejectedCommandStayAsTheyWere) {
    Remote remote;
    const InstrumentSettings before = remote.instrument.settings();
    for (std::string_view message :
         {":TIM:SCAL 3ms", ":CHAN1:SCAL 0.3", ":CHAN1:DISP MAYBE", ":CHAN1:COUP 1", ":CHAN9:INV 1",
          ":BAD;:CHAN1:SCAL 5", "*RST 1", ":DIG CHAN5", ":CHAN1:SCAL 500mV,1"})
        remote.send(message);
    EXPECT_EQ(remote.errors().size(), 9u);
    EXPECT_TRUE(remote.instrument.actions().empty());
    const InstrumentSettings after = remote.instrument.settings();
    EXPECT_EQ(after.timebaseIndex, before.timebaseIndex);
    EXPECT_EQ(after.voltsIndex, before.voltsIndex);
    EXPECT_EQ(after.on, before.on);
}

TEST(ScpiExecutor, ATwoChannelInstrumentRefusesChannelsThreeAndFour) {
    Remote remote;
    InstrumentSettings two = remote.instrument.settings();
    two.channelCount = 2;
    remote.instrument.setSettings(two);
    EXPECT_EQ(remote.send(":CHAN2:DISP?;:CHAN3:DISP?"), "1\n");
    EXPECT_EQ(remote.send(":CHAN3:SCAL 1;:WAV:SOUR CHAN4;:MEAS:PHAS? CHAN3"), "");
    EXPECT_EQ(remote.errors(), (std::vector<int>{-224, -224, -224, -224}));
    EXPECT_TRUE(remote.instrument.actions().empty());
}

TEST(ScpiExecutor, AHeldActionLetsTheMessageWaitAndGoOnWhenAnswered) {
    Remote remote;
    remote.instrument.hold(true);
    EXPECT_EQ(remote.executor.execute(remote.client, "*IDN?;:TIM:SCAL 5ms;:TIM:SCAL?"),
              ScpiExecutor::Progress::Waiting);
    EXPECT_TRUE(remote.executor.waiting());
    // Nothing changed until the instrument answers.
    EXPECT_EQ(remote.instrument.settings().timebaseIndex, 15);
    EXPECT_EQ(remote.executor.resume(*remote.instrument.complete()), ScpiExecutor::Progress::Done);
    EXPECT_EQ(remote.executor.response(), "Quorvel,Scope Interface,MODEL1,0.1;5E-03\n");

    // An answer that says the instrument went away is the unit's error; the rest runs.
    EXPECT_EQ(remote.executor.execute(remote.client, ":RUN;*OPC?"), ScpiExecutor::Progress::Waiting);
    EXPECT_EQ(remote.executor.resume({ActionResult::Kind::NoAnswer, "the instrument went away"}),
              ScpiExecutor::Progress::Done);
    EXPECT_EQ(remote.executor.response(), "1\n");
    EXPECT_EQ(remote.client.status.takeNext(), "-240,\"Hardware error;the instrument went away\"");
    // A stray answer after the message has ended changes nothing.
    EXPECT_EQ(remote.executor.resume(ActionResult::done()), ScpiExecutor::Progress::Done);
    EXPECT_EQ(remote.executor.response(), "1\n");
}

TEST(ScpiExecutor, TheStatusByteAndTheErrorQueueBelongToTheClient) {
    Remote remote;
    ClientContext other;
    remote.send(":NOPE");
    EXPECT_EQ(remote.send("*STB?;*IDN?;*STB?"), "4;Quorvel,Scope Interface,MODEL1,0.1;20\n");
    remote.executor.execute(other, "SYST:ERR?");
    EXPECT_EQ(remote.executor.response(), "0,\"No error\"\n");
    EXPECT_EQ(remote.send("SYST:ERR?;:SYSTEM:ERROR:NEXT?"),
              "-113,\"Undefined header;:NOPE\";0,\"No error\"\n");
    remote.send(":NOPE");
    EXPECT_EQ(remote.send("*CLS;*STB?;*ESR?"), "0;0\n");
}

// A shot of square waves: 1 V per division, zero level 100, a period of 20 samples at
// 0.01 µs per sample, channel 1 one division high, the others a little higher; channel 3
// is off.
std::shared_ptr<ShotRecord> squareShot() {
    ShotBench bench;
    bench.state.ChannelOn = {true, true, false, true};
    for (int c = 1; c <= 4; ++c)
        bench.fill(c, [c](int i) { return (i / 10) % 2 ? 112 : c == 1 ? 88 : 88 - c; });
    bench.transfer();
    return std::make_shared<ShotRecord>(bench.record);
}

double number(std::string_view text) {
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

TEST(ScpiExecutor, MeasurementsAreNumbersInBaseUnitsAndUndefinedOnesNotANumber) {
    Remote remote;
    remote.instrument.setShot(squareShot());
    // The first query takes the shot it needs.
    EXPECT_EQ(remote.send(":MEAS:VPP?"), "1E+00\n");
    EXPECT_EQ(remote.instrument.actions().size(), 1u);
    const std::tuple<std::string_view, double, double> cases[] = {
        {":MEAS:VPP? CHAN1", 1.0, 0},
        // Two raw steps more, shown to a tenth of a volt.
        {":MEASURE:VPP? CHANNEL2", 26.0 / 24, 0.05},
        {":MEAS:PER?", 2e-7, 1e-6},
        {":MEAS:FREQ?", 5e6, 1e-6},
        {":MEAS:DUTY?", 50.0, 0},
        {":MEAS:NDUT?", 50.0, 0},
        {":MEAS:PWID? CHAN4", 1e-7, 1e-6},
        {":MEAS:PHAS? CHAN2", 0.0, 0},
        {":MEAS:PDEL? CHAN4", 0.0, 0},
        // Channel I is what phase and delays are measured against; channel 3 was off.
        {":MEAS:PHAS? CHAN1", 9.91e37, 0},
        {":MEAS:VPP? CHAN3", 9.91e37, 0},
        {":MEAS:FRD? CHAN3", 9.91e37, 0},
    };
    for (const auto& [query, value, tolerance] : cases) {
        const std::string response = remote.send(query);
        ASSERT_TRUE(response.ends_with('\n')) << query;
        EXPECT_NEAR(number(response), value, std::abs(value) * tolerance) << query << ": " << response;
    }
    EXPECT_TRUE(remote.errors().empty());
    EXPECT_EQ(remote.instrument.actions().size(), 1u);
    EXPECT_EQ(remote.send(":MEAS:VPP? CHAN1,CHAN2"), "");
    EXPECT_EQ(remote.errors(), std::vector<int>{-108});
}

// The CSV's volts field of each row, by channel.
std::vector<std::vector<std::string>> csvVolts(const ShotRecord& record) {
    const std::string csv = shotCsvText(record);
    std::vector<std::vector<std::string>> rows;
    std::size_t at = csv.find("\r\nsample");
    at = csv.find("\r\n", at + 2) + 2;
    while (at < csv.size()) {
        const std::size_t end = csv.find("\r\n", at);
        std::vector<std::string> fields;
        std::string_view line(csv.data() + at, end - at);
        for (std::size_t f = 0; f != std::string_view::npos;) {
            const std::size_t comma = line.find(',', f);
            fields.emplace_back(line.substr(f, comma == std::string_view::npos ? comma : comma - f));
            f = comma == std::string_view::npos ? comma : comma + 1;
        }
        rows.push_back({fields[2], fields[4], fields[6]});
        at = end + 2;
    }
    return rows;
}

TEST(ScpiExecutor, WaveformBytesAndPreambleGiveTheCsvVolts) {
    Remote remote;
    const auto shot = squareShot();
    remote.instrument.setShot(shot);
    EXPECT_EQ(remote.send(":DIG;:WAV:POIN?"), "101\n");
    EXPECT_EQ(remote.send(":WAV:SOUR CHAN2;:WAV:PRE?"),
              "0,0,101,1,1E-08,0E+00,0,-4.1666666666666664E-02,0E+00,100\n");
    const auto rows = csvVolts(*shot);
    ASSERT_EQ(rows.size(), 101u);
    const int columnOf[] = {0, 0, 1, -1, 2};
    for (int channel : {1, 2, 4}) {
        const std::string source = ":WAV:SOUR CHAN" + std::to_string(channel);
        const std::string block = remote.send(source + ";:WAV:FORM BYTE;:WAV:DATA?");
        ASSERT_EQ(block.substr(0, 5), "#3101") << channel;
        ASSERT_EQ(block.size(), 5u + 101u + 1u);
        const std::string preamble = remote.send(":WAV:PRE?");
        const double yIncrement = number(preamble.substr(preamble.find("E+00,0,") + 7));
        const double yReference = number(preamble.substr(preamble.rfind(',') + 1));
        const std::string ascii = remote.send(":WAV:FORM ASC;:WAV:PRE?;:WAV:DATA?");
        EXPECT_EQ(ascii.substr(0, 2), "4,");
        std::string expectedAscii;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto byte = static_cast<unsigned char>(block[5 + i]);
            const std::string& csv = rows[i][std::size_t(columnOf[channel])];
            EXPECT_NEAR((byte - yReference) * yIncrement, number(csv), 1e-12) << channel << " row " << i;
            expectedAscii += (i > 0 ? "," : "") + csv;
        }
        EXPECT_EQ(ascii.substr(ascii.find(';') + 1), expectedAscii + "\n") << channel;
    }
    EXPECT_EQ(remote.send(":WAV:SOUR CHAN3;:WAV:DATA?;:WAV:FORM?;:WAV:SOUR?"), "ASC;CHAN3\n");
    EXPECT_EQ(remote.errors(), std::vector<int>{-221});
}

} // namespace
} // namespace kavlon::scpi
