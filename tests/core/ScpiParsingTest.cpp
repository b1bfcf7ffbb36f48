// The SCPI parser, header matching, parameter values, line framing and the status
// registers: the pieces a remote client's bytes go through before any command runs.
#include "core/scpi/LineFramer.h"
#include "core/scpi/ScpiHeaders.h"
#include "core/scpi/ScpiParser.h"
#include "core/scpi/ScpiStatus.h"
#include "core/scpi/ScpiValues.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kavlon::scpi {
namespace {

std::string render(const Parameter& p) {
    switch (p.kind) {
    case Parameter::Kind::Numeric:
        return "N" + p.text + (p.suffix.empty() ? "" : "/" + p.suffix);
    case Parameter::Kind::String:
        return "S" + p.text;
    case Parameter::Kind::Character:
        break;
    }
    return "C" + p.text;
}

// Each unit as "PATH? params", or "ERR-nnn" where the message is malformed.
std::string parsed(std::string_view message) {
    MessageParser parser(message);
    std::string out;
    for (;;) {
        const MessageParser::Next next = parser.next();
        if (!next.unit && next.error == Error::None)
            return out;
        if (!out.empty())
            out += " ; ";
        if (!next.unit)
            return out + "ERR" + std::to_string(int(next.error));
        const ProgramUnit& u = *next.unit;
        std::string header = u.common ? "*" : "";
        for (std::size_t i = 0; i < u.path.size(); ++i) {
            header += (i > 0 ? ":" : "") + u.path[i].name;
            if (u.path[i].suffix)
                header += std::to_string(*u.path[i].suffix);
        }
        out += header + (u.query ? "?" : "");
        for (const Parameter& p : u.parameters)
            out += " " + render(p);
    }
}

TEST(ScpiParser, SplitsMessagesIntoUnitsWithTheirPathsAndParameters) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"*IDN?", "*IDN?"},
        {"*ese 36", "*ESE N36"},
        {":CHAN1:SCAL 0.5", "CHAN1:SCAL N0.5"},
        {"meas:vpp? chan2", "MEAS:VPP? CCHAN2"},
        {":TIM:SCAL 200us", "TIM:SCAL N200/US"},
        {":TIM:SCAL 2.5E-4 S", "TIM:SCAL N2.5E-4/S"},
        {":CHAN1:SCAL +.5e+0", "CHAN1:SCAL N+.5e+0"},
        // After ';' a header without ':' goes below the path of the one before.
        {":CHAN2:SCAL?;SCAL 1;:TIM:SCAL?", "CHAN2:SCAL? ; CHAN2:SCAL N1 ; TIM:SCAL?"},
        // A common command leaves that path as it was.
        {"CHAN1:DISP 1;*CLS;COUP AC", "CHAN1:DISP N1 ; *CLS ; CHAN1:COUP CAC"},
        {"SCAL 1", "SCAL N1"},
        {"SYST:X \"a;b\"\"c\", 'd'", "SYST:X Sa;b\"c Sd"},
        {";;*CLS;", "*CLS"},
        {std::string_view("*IDN?\0\r", 7), "*IDN?"},
        {"  *OPC?\t;\t*WAI  ", "*OPC? ; *WAI"},
        // The units before a malformed one are given first; nothing after it.
        {"*CLS;*IDN?x;*RST", "*CLS ; ERR-102"},
        {":CHAN1::SCAL 1", "ERR-102"},
        {":TIM:", "ERR-102"},
        {"*", "ERR-102"},
        {"VERYLONGMNEMONIC", "ERR-112"},
        {":A:B:C:D:E:F:G:H:I", "ERR-113"},
        {":A 1,,2", "ERR-102"},
        {":A 1,", "ERR-102"},
        {":A 1 2", "ERR-102"},
        {":A #210abcdefghij", "ERR-168"},
        {":A #HFF", "ERR-104"},
        {":A (1+2)", "ERR-104"},
        {":A 1E", "ERR-120"},
        {":A 1E999", "ERR-120"},
        {":A -", "ERR-120"},
        {":A \"open", "ERR-150"},
        {"\xff\xfe", "ERR-101"},
        {":A \x80", "ERR-101"},
        {":A ABCDEFGHIJKLMN", "ERR-141"},
        {":A 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17", "ERR-108"},
    };
    for (const auto& [message, expected] : cases)
        EXPECT_EQ(parsed(message), expected) << message;
}

std::optional<std::vector<int>> matchOf(std::string_view pattern, std::string_view header) {
    const auto next = MessageParser(header).next();
    EXPECT_TRUE(next.unit) << header;
    return HeaderPattern(pattern).match(next.unit ? next.unit->path : std::vector<Mnemonic>{});
}

TEST(ScpiHeaders, MatchLongAndShortFormsNumbersAndOptionalNodes) {
    using Numbers = std::optional<std::vector<int>>;
    const std::tuple<std::string_view, std::string_view, Numbers> cases[] = {
        {"CHANnel#:SCALe", "CHAN2:SCAL", std::vector<int>{2}},
        {"CHANnel#:SCALe", "channel:scale", std::vector<int>{1}},
        {"CHANnel#:SCALe", "Chan4:Scale", std::vector<int>{4}},
        {"CHANnel#:SCALe", "CHANN1:SCAL", std::nullopt},
        {"CHANnel#:SCALe", "CHA1:SCAL", std::nullopt},
        {"CHANnel#:SCALe", "CHAN1:SCAL:X", std::nullopt},
        {"CHANnel#:SCALe", "SCAL", std::nullopt},
        {"SYSTem:ERRor[:NEXT]", "SYST:ERR", std::vector<int>{}},
        {"SYSTem:ERRor[:NEXT]", "system:error:next", std::vector<int>{}},
        {"SYSTem:ERRor[:NEXT]", "SYST:NEXT", std::nullopt},
        {"MEASure:VPP", "MEAS:VPP", std::vector<int>{}},
        {"MEASure:VPP", "MEAS:VPP2", std::nullopt},
        {"MEASure:VAVerage", "MEAS:VAV", std::vector<int>{}},
        {"MEASure:VAVerage", "MEAS:VAVE", std::nullopt},
    };
    for (const auto& [pattern, header, numbers] : cases)
        EXPECT_EQ(matchOf(pattern, header), numbers) << pattern << " / " << header;
}

Parameter parameterOf(std::string_view text) {
    const auto next = MessageParser(std::string(":A ") + std::string(text)).next();
    EXPECT_TRUE(next.unit && next.unit->parameters.size() == 1) << text;
    return next.unit && !next.unit->parameters.empty() ? next.unit->parameters[0] : Parameter{};
}

TEST(ScpiValues, QuantitiesTakeTheirUnitWithAMultiplierOrNone) {
    const std::tuple<std::string_view, char, std::optional<double>, Error> cases[] = {
        {"200us", 'S', 2e-4, Error::None},
        {"200 US", 'S', 2e-4, Error::None},
        {"2E-4S", 'S', 2e-4, Error::None},
        {"50ns", 'S', 5e-8, Error::None},
        {"20", 'S', 20.0, Error::None},
        {"0.5", 'V', 0.5, Error::None},
        {"500mV", 'V', 0.5, Error::None},
        {"2.5 KV", 'V', 2500.0, Error::None},
        {"1MAV", 'V', 1e6, Error::None},
        {"1ps", 'S', 1e-12, Error::None},
        {"1 X", 'S', std::nullopt, Error::InvalidSuffix},
        {"1V", 'S', std::nullopt, Error::InvalidSuffix},
        {"1QS", 'S', std::nullopt, Error::InvalidSuffix},
        {"ON", 'V', std::nullopt, Error::DataType},
        {"\"1\"", 'V', std::nullopt, Error::DataType},
    };
    for (const auto& [text, unit, value, error] : cases) {
        const Quantity q = quantityIn(parameterOf(text), unit);
        EXPECT_EQ(q.error, error) << text;
        ASSERT_EQ(q.value.has_value(), value.has_value()) << text;
        if (value) {
            EXPECT_NEAR(*q.value, *value, std::abs(*value) * 1e-12) << text;
        }
    }
}

TEST(ScpiValues, BooleansChannelsNumbersAndBlocks) {
    EXPECT_EQ(booleanOf(parameterOf("ON")), true);
    EXPECT_EQ(booleanOf(parameterOf("off")), false);
    EXPECT_EQ(booleanOf(parameterOf("1")), true);
    EXPECT_EQ(booleanOf(parameterOf("0")), false);
    EXPECT_EQ(booleanOf(parameterOf("2")), std::nullopt);
    EXPECT_EQ(booleanOf(parameterOf("1V")), std::nullopt);
    EXPECT_EQ(booleanOf(parameterOf("YES")), std::nullopt);

    EXPECT_EQ(channelWordOf(parameterOf("CHAN3")), 3);
    EXPECT_EQ(channelWordOf(parameterOf("channel2")), 2);
    EXPECT_EQ(channelWordOf(parameterOf("CHANNEL")), 1);
    EXPECT_EQ(channelWordOf(parameterOf("CHAN0")), 0);
    EXPECT_EQ(channelWordOf(parameterOf("CHANN2")), std::nullopt);
    EXPECT_EQ(channelWordOf(parameterOf("EXT")), std::nullopt);
    EXPECT_EQ(channelWordOf(parameterOf("2")), std::nullopt);

    EXPECT_EQ(nr3(2e-4), "2E-04");
    EXPECT_EQ(nr3(-1.5), "-1.5E+00");
    EXPECT_EQ(nr3(0.0), "0E+00");
    EXPECT_EQ(nr3(kNotANumber), "9.91E+37");
    EXPECT_EQ(nr3(4e-6f), "4E-06");
    EXPECT_EQ(nr3(0.1 + 0.2), "3.0000000000000004E-01");

    EXPECT_EQ(definiteBlock("abc"), "#13abc");
    EXPECT_EQ(definiteBlock(""), "#10");
    EXPECT_EQ(definiteBlock(std::string(16300, 'x')).substr(0, 7), "#516300");
}

std::vector<std::string> fed(LineFramer& framer, std::initializer_list<std::string_view> pieces) {
    std::vector<std::string> lines;
    for (std::string_view piece : pieces)
        for (const LineFramer::Line& line : framer.feed(piece))
            lines.push_back(line.overlong ? "<overlong>" : line.text);
    return lines;
}

TEST(LineFramer, CutsLinesAcrossPiecesAndDropsOverlongOnesWhole) {
    using Lines = std::vector<std::string>;
    LineFramer framer(8);
    EXPECT_EQ(fed(framer, {"*IDN?\n*O", "PC?\r\n"}), (Lines{"*IDN?", "*OPC?"}));
    EXPECT_EQ(fed(framer, {"\n\r\n\n"}), Lines{});
    EXPECT_EQ(fed(framer, {"12345678\r\n"}), Lines{"12345678"});
    EXPECT_EQ(fed(framer, {"123456789\nOK\n"}), (Lines{"<overlong>", "OK"}));
    EXPECT_EQ(fed(framer, {"12345", "6789", "0123", "\nX\n"}), (Lines{"<overlong>", "X"}));
    // A flood without a newline is never held.
    EXPECT_EQ(fed(framer, {std::string(1 << 20, 'A')}), Lines{});
    EXPECT_LE(framer.pending(), 9u);
    EXPECT_EQ(fed(framer, {"\n*CLS\n"}), (Lines{"<overlong>", "*CLS"}));
}

TEST(ScpiStatus, ErrorsQueueInOrderAndTheLastBecomesAnOverflow) {
    ScpiStatus status;
    EXPECT_EQ(status.takeEvents(), esr::PowerOn);
    status.push(Error::UndefinedHeader, "FOO:BAR");
    status.push(Error::DataOutOfRange, "say \"hi\"\n");
    EXPECT_EQ(status.takeEvents(), esr::CommandError | esr::ExecutionError);
    EXPECT_EQ(status.takeNext(), "-113,\"Undefined header;FOO:BAR\"");
    EXPECT_EQ(status.takeNext(), "-222,\"Data out of range;say 'hi'?\"");
    EXPECT_EQ(status.takeNext(), "0,\"No error\"");

    for (int i = 0; i < 40; ++i)
        status.push(Error::IllegalParameterValue);
    EXPECT_EQ(status.errorCount(), ScpiStatus::kQueueCapacity);
    for (std::size_t i = 0; i + 1 < ScpiStatus::kQueueCapacity; ++i)
        EXPECT_EQ(status.takeNext(), "-224,\"Illegal parameter value\"");
    EXPECT_EQ(status.takeNext(), "-350,\"Queue overflow\"");
    EXPECT_EQ(status.errorCount(), 0u);

    status.push(Error::QueryInterrupted, std::string(500, 'x'));
    EXPECT_EQ(status.takeNext().size(),
              std::string("-410,\"Query INTERRUPTED;\"").size() + ScpiStatus::kDetailLength);
}

TEST(ScpiStatus, TheStatusByteSummarisesQueueMessagesAndEnabledEvents) {
    ScpiStatus status;
    status.clear();
    EXPECT_EQ(status.statusByte(false), 0);
    EXPECT_EQ(status.statusByte(true), 0x10);
    status.push(Error::Hardware);
    EXPECT_EQ(status.statusByte(false), 0x04);
    status.setEventEnable(esr::ExecutionError);
    EXPECT_EQ(status.statusByte(false), 0x24);
    status.setServiceEnable(0xFF);
    EXPECT_EQ(status.serviceEnable(), 0xBF);
    EXPECT_EQ(status.statusByte(false), 0x64);
    status.clear();
    EXPECT_EQ(status.statusByte(false), 0);
    EXPECT_EQ(status.takeEvents(), 0);
}

} // namespace
} // namespace kavlon::scpi
