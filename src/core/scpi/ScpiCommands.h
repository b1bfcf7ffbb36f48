#pragma once

#include "core/measure/MeasureResults.h"
#include "core/scpi/ScpiHeaders.h"
#include "core/scpi/ScpiInstrument.h"
#include "core/scpi/ScpiStatus.h"
#include "core/scpi/WaveformQuery.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon::scpi {

// What one client has set up for itself: its status and where its waveform queries look.
struct ClientContext {
    ScpiStatus status;
    int waveformSource = 1;
    WaveformFormat waveformFormat = WaveformFormat::Byte;
};

// The last shot's measurements, made once per shot however many clients ask.
class MeasurementCache {
public:
    const MeasureResults& of(const ShotRecord& shot, std::uint64_t shotCount);

private:
    std::optional<MeasureResults> m_values;
    std::uint64_t m_shotCount = 0;
};

// One command being run: the unit as parsed, the numbers of its header's '#' nodes,
// and what it may read and change.
struct Call {
    const ProgramUnit& unit;
    const std::vector<int>& numbers;
    ClientContext& client;
    ScpiInstrument& instrument;
    MeasurementCache& measurements;
    // This message has produced a response already (the status byte's MAV).
    bool responded = false;
};

// What a command made of its call: a response, an error, or an action for the
// instrument, after which the command may be run again (a query that needed a shot).
struct Reply {
    Error error = Error::None;
    std::string detail;
    std::optional<std::string> response;
    std::optional<InstrumentAction> action;
    bool againAfterAction = false;

    static Reply none() { return {}; }
    static Reply answer(std::string text) { return {Error::None, {}, std::move(text), {}, false}; }
    static Reply fail(Error error, std::string detail = {}) {
        return {error, std::move(detail), {}, {}, false};
    }
    static Reply act(InstrumentAction action, bool again = false) {
        return {Error::None, {}, {}, action, again};
    }
};

struct Command {
    HeaderPattern header;
    bool common = false;
    bool query = false;
    std::function<Reply(Call&)> run;
};

// Every header the server knows, common commands first.
const std::vector<Command>& commandTree();

// Parts of the tree, each in its own file.
void addCommonCommands(std::vector<Command>& tree);
void addInstrumentCommands(std::vector<Command>& tree);
void addShotCommands(std::vector<Command>& tree);

// Puts a header in the tree; a leading '*' makes it a common command.
void addCommand(std::vector<Command>& tree, std::string_view header, bool query,
                std::function<Reply(Call&)> run);

// Checks shared by the parts: the parameter count, and a channel the instrument has.
std::optional<Reply> expectParameters(const Call& call, std::size_t least, std::size_t most);
std::optional<Reply> checkChannel(const Call& call, int channel);
// A command that takes no parameters, then does `done`.
std::function<Reply(Call&)> plain(std::function<Reply(Call&)> done);

} // namespace kavlon::scpi
