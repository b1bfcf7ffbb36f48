// Acquisition, the timebase, the channels and the trigger: the instrument's own settings.
// A setting is checked against what the instrument offers before anything is sent, so a
// rejected command leaves the instrument as it was.
#include "core/scpi/ScpiCommands.h"

#include "core/scales/ScaleTables.h"
#include "core/scpi/ScpiValues.h"

namespace kavlon::scpi {

namespace {

using Kind = InstrumentAction::Kind;

std::function<Reply(Call&)> action(Kind kind) {
    return plain([kind](Call&) { return Reply::act({kind}); });
}

// :DIGitize takes every channel that is on; a channel list is accepted when each is one
// the instrument has.
Reply digitize(Call& call) {
    for (const Parameter& p : call.unit.parameters) {
        const auto channel = channelWordOf(p);
        if (!channel)
            return Reply::fail(Error::IllegalParameterValue, p.text + " is no channel");
        if (auto bad = checkChannel(call, *channel))
            return *bad;
    }
    return Reply::act({Kind::Digitize});
}

std::optional<Reply> quantityProblem(const Call& call, const Quantity& q) {
    if (q.value)
        return std::nullopt;
    return Reply::fail(q.error, call.unit.parameters[0].text + call.unit.parameters[0].suffix);
}

Reply setTimebase(Call& call) {
    if (auto bad = expectParameters(call, 1, 1))
        return *bad;
    const Quantity seconds = quantityIn(call.unit.parameters[0], 'S');
    if (auto bad = quantityProblem(call, seconds))
        return *bad;
    if (!timebaseIndexFor(*seconds.value))
        return Reply::fail(Error::DataOutOfRange,
                           nr3(*seconds.value) + " s is none of the 32 timebase steps (2 ns to 50 s, 1-2-5)");
    return Reply::act({Kind::Timebase, 0, *seconds.value});
}

Reply timebase(Call& call) {
    const int k = call.instrument.settings().timebaseIndex;
    return Reply::answer(k >= 0 && k < kTimebaseSteps ? nr3(TimebaseTable[std::size_t(k)].secondsPerDiv)
                                                      : nr3(kNotANumber));
}

// The channel of a CHANnel<n> header, checked, for a command with `parameters` parameters.
std::optional<Reply> channelCall(const Call& call, std::size_t parameters) {
    if (auto bad = expectParameters(call, parameters, parameters))
        return bad;
    return checkChannel(call, call.numbers[0]);
}

Reply setVolts(Call& call) {
    if (auto bad = channelCall(call, 1))
        return *bad;
    const int c = call.numbers[0];
    const Quantity volts = quantityIn(call.unit.parameters[0], 'V');
    if (auto bad = quantityProblem(call, volts))
        return *bad;
    const int probe = call.instrument.settings().probeRange[std::size_t(c - 1)];
    if (!voltsIndexFor(*volts.value, probe))
        return Reply::fail(Error::DataOutOfRange, "channel " + std::to_string(c) + ": " + nr3(*volts.value) +
                                                      " V per division is not offered at its probe setting");
    return Reply::act({Kind::Volts, c, *volts.value});
}

Reply volts(Call& call) {
    if (auto bad = channelCall(call, 0))
        return *bad;
    const auto c = std::size_t(call.numbers[0] - 1);
    const InstrumentSettings s = call.instrument.settings();
    return Reply::answer(nr3(voltsPerDivOf(s.probeRange[c], s.voltsIndex[c]).value_or(kNotANumber)));
}

// A front-panel box of a channel: DISPlay, COUPling or INVert.
struct Box {
    Kind kind;
    std::array<bool, kChannels> InstrumentSettings::*field;
    std::string_view yes; // the response when set
    std::string_view no;
};
constexpr Box kDisplay{Kind::Display, &InstrumentSettings::on, "1", "0"};
constexpr Box kCoupling{Kind::Coupling, &InstrumentSettings::acCoupled, "AC", "DC"};
constexpr Box kInvert{Kind::Invert, &InstrumentSettings::inverted, "1", "0"};

std::optional<bool> boxValue(const Box& box, const Parameter& p) {
    if (box.kind != Kind::Coupling)
        return booleanOf(p);
    if (p.kind == Parameter::Kind::Character && (p.text == "AC" || p.text == "DC"))
        return p.text == "AC";
    return std::nullopt;
}

std::function<Reply(Call&)> setBox(Box box) {
    return [box](Call& call) {
        if (auto bad = channelCall(call, 1))
            return *bad;
        const Parameter& p = call.unit.parameters[0];
        const auto value = boxValue(box, p);
        if (!value)
            return Reply::fail(Error::IllegalParameterValue,
                               p.text + p.suffix + ": expected " +
                                   (box.kind == Kind::Coupling ? "AC or DC" : "ON, OFF, 1 or 0"));
        return Reply::act({box.kind, call.numbers[0], *value ? 1.0 : 0.0});
    };
}

std::function<Reply(Call&)> boxQuery(Box box) {
    return [box](Call& call) {
        if (auto bad = channelCall(call, 0))
            return *bad;
        const bool set = (call.instrument.settings().*box.field)[std::size_t(call.numbers[0] - 1)];
        return Reply::answer(std::string(set ? box.yes : box.no));
    };
}

Reply probe(Call& call) {
    if (auto bad = channelCall(call, 0))
        return *bad;
    const int p = call.instrument.settings().probeRange[std::size_t(call.numbers[0] - 1)];
    return Reply::answer(
        nr3(p >= 0 && p < kProbeRangeCount ? ScaleFactorTable[std::size_t(p)] : kNotANumber));
}

Reply triggerSource(Call& call) {
    const int source = call.instrument.settings().triggerSource;
    if (source >= 1 && source <= kChannels)
        return Reply::answer("CHAN" + std::to_string(source));
    return Reply::answer(source == 0 ? "FREE" : source == 5 ? "EXT" : "UNKN");
}

// The level in volts on the trigger channel's scale; none for free run or external.
Reply triggerLevel(Call& call) {
    const InstrumentSettings s = call.instrument.settings();
    if (s.triggerSource < 1 || s.triggerSource > kChannels)
        return Reply::answer(nr3(kNotANumber));
    const auto c = std::size_t(s.triggerSource - 1);
    const auto volts = voltageOf(s.probeRange[c], s.voltsIndex[c], s.zeroLevel[c] - s.triggerLevel);
    return Reply::answer(nr3(volts.value_or(kNotANumber)));
}

} // namespace

void addInstrumentCommands(std::vector<Command>& tree) {
    const auto add = std::bind_front(addCommand, std::ref(tree));
    add("RUN", false, action(Kind::Run));
    add("STOP", false, action(Kind::Stop));
    add("SINGle", false, action(Kind::Single));
    add("AUToscale", false, action(Kind::AutoScale));
    add("DIGitize", false, digitize);
    add("TIMebase:SCALe", false, setTimebase);
    add("TIMebase:SCALe", true, plain(timebase));
    add("CHANnel#:SCALe", false, setVolts);
    add("CHANnel#:SCALe", true, volts);
    add("CHANnel#:DISPlay", false, setBox(kDisplay));
    add("CHANnel#:DISPlay", true, boxQuery(kDisplay));
    add("CHANnel#:COUPling", false, setBox(kCoupling));
    add("CHANnel#:COUPling", true, boxQuery(kCoupling));
    add("CHANnel#:INVert", false, setBox(kInvert));
    add("CHANnel#:INVert", true, boxQuery(kInvert));
    add("CHANnel#:PROBe", true, probe);
    add("TRIGger:SOURce", true, plain(triggerSource));
    add("TRIGger:LEVel", true, plain(triggerLevel));
}

} // namespace kavlon::scpi
