// The waveform and measurement queries: they read the last shot, and take one first
// when there is none yet.
#include "core/scpi/ScpiCommands.h"

#include "core/scpi/ScpiValues.h"

#include <array>

namespace kavlon::scpi {

namespace {

// The :MEASure mnemonic of each row of the Measure display, in row order.
constexpr std::array<std::string_view, kMeasureRows> kMeasureHeaders = {
    "VPP",       "VMAX",     "VMIN",      "VAVerage", "VAMPlitude", "VTOP",    "VBASe",  "VRMS",
    "OVERshoot", "PREShoot", "FREQuency", "RISetime", "FALLtime",   "PERiod",  "PWIDth", "NWIDth",
    "DUTYcycle", "NDUTy",    "PHASe",     "PDELay",   "NDELay",     "FRDelay",
};

// The last shot, or the action that takes one before the command runs again.
struct ShotOrAction {
    const ShotRecord* shot = nullptr;
    std::optional<Reply> reply;
};
ShotOrAction lastShot(const Call& call) {
    if (const ShotRecord* shot = call.instrument.lastShot())
        return {shot, {}};
    return {nullptr, Reply::act({InstrumentAction::Kind::Digitize}, true)};
}

Reply setSource(Call& call) {
    if (auto bad = expectParameters(call, 1, 1))
        return *bad;
    const Parameter& p = call.unit.parameters[0];
    const auto channel = channelWordOf(p);
    if (!channel)
        return Reply::fail(Error::IllegalParameterValue, p.text + p.suffix + " is no channel");
    if (auto bad = checkChannel(call, *channel))
        return *bad;
    call.client.waveformSource = *channel;
    return Reply::none();
}

Reply setFormat(Call& call) {
    if (auto bad = expectParameters(call, 1, 1))
        return *bad;
    const Parameter& p = call.unit.parameters[0];
    if (p.kind == Parameter::Kind::Character && isForm(p.text, "BYTE"))
        call.client.waveformFormat = WaveformFormat::Byte;
    else if (p.kind == Parameter::Kind::Character && isForm(p.text, "ASCii"))
        call.client.waveformFormat = WaveformFormat::Ascii;
    else
        return Reply::fail(Error::IllegalParameterValue, p.text + p.suffix + ": expected BYTE or ASCii");
    return Reply::none();
}

// The waveform queries share their checks: no parameter, a shot, the source in it.
template <class Answer> std::function<Reply(Call&)> waveformQuery(Answer answer) {
    return plain([answer](Call& call) {
        const ShotOrAction last = lastShot(call);
        if (!last.shot)
            return *last.reply;
        if (auto problem = waveformProblem(*last.shot, call.client.waveformSource))
            return Reply::fail(Error::SettingsConflict, *problem);
        return Reply::answer(answer(*last.shot, call.client));
    });
}

std::function<Reply(Call&)> measure(int row) {
    return [row](Call& call) {
        if (auto bad = expectParameters(call, 0, 1))
            return *bad;
        int channel = 1;
        if (!call.unit.parameters.empty()) {
            const Parameter& p = call.unit.parameters[0];
            const auto word = channelWordOf(p);
            if (!word)
                return Reply::fail(Error::IllegalParameterValue, p.text + p.suffix + " is no channel");
            channel = *word;
        }
        if (auto bad = checkChannel(call, channel))
            return *bad;
        const ShotOrAction last = lastShot(call);
        if (!last.shot)
            return *last.reply;
        // Row and channel are checked above; a row the shot defines no value for (no
        // complete cycle, a channel that was off, channel I's phase) answers NaN.
        const MeasureResult& result =
            call.measurements.of(*last.shot, call.instrument.shotCount())[std::size_t(channel - 1)]
                .rows[std::size_t(row)];
        return Reply::answer(nr3(result.defined() ? result.value : kNotANumber));
    };
}

} // namespace

void addShotCommands(std::vector<Command>& tree) {
    const auto add = std::bind_front(addCommand, std::ref(tree));
    add("WAVeform:SOURce", false, setSource);
    add("WAVeform:SOURce", true,
        plain([](Call& call) { return Reply::answer("CHAN" + std::to_string(call.client.waveformSource)); }));
    add("WAVeform:FORMat", false, setFormat);
    add("WAVeform:FORMat", true, plain([](Call& call) {
            return Reply::answer(call.client.waveformFormat == WaveformFormat::Byte ? "BYTE" : "ASC");
        }));
    add("WAVeform:POINts", true, waveformQuery([](const ShotRecord& shot, const ClientContext&) {
            return std::to_string(waveformPoints(shot));
        }));
    add("WAVeform:PREamble", true, waveformQuery([](const ShotRecord& shot, const ClientContext& client) {
            return waveformPreamble(shot, client.waveformSource, client.waveformFormat);
        }));
    add("WAVeform:DATA", true, waveformQuery([](const ShotRecord& shot, const ClientContext& client) {
            return waveformData(shot, client.waveformSource, client.waveformFormat);
        }));
    for (int row = 0; row < kMeasureRows; ++row)
        add("MEASure:" + std::string(kMeasureHeaders[std::size_t(row)]), true, measure(row));
}

} // namespace kavlon::scpi
