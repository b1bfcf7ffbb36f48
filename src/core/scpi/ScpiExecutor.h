#pragma once

#include "core/scpi/LineFramer.h"
#include "core/scpi/ScpiCommands.h"
#include "core/scpi/ScpiParser.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon::scpi {

// Runs program messages against the command tree, one at a time, unit after unit. A unit
// that asks the instrument for something waits for its answer without holding the
// thread: execute() or resume() then says Waiting, and the rest of the message runs
// when resume() brings the answer. The responses of a message's queries make one
// response message, joined by ';' and ended by a newline.
class ScpiExecutor {
public:
    explicit ScpiExecutor(ScpiInstrument& instrument) : m_instrument(instrument) {}

    enum class Progress { Done, Waiting };

    // Starts a message (one line, without its newline) for a client, who must stay
    // until the message is done. Not while another message waits.
    Progress execute(ClientContext& client, std::string_view message);
    // The same for a line as framed: one dropped for being longer than maxLine runs
    // nothing, leaves Too much data in the client's queue and no response.
    Progress execute(ClientContext& client, const LineFramer::Line& line, std::size_t maxLine);
    // The instrument's answer to the action the message waits for.
    Progress resume(const ActionResult& result);
    bool waiting() const { return m_waiting; }

    // The response of the message that finished last: empty when it asked nothing.
    const std::string& response() const { return m_response; }

private:
    Progress run();
    // Runs the unit; false when the rest of the message is not to be read.
    bool dispatch(const ProgramUnit& unit);
    bool apply(Reply reply);
    bool actionDone(const ActionResult& result);
    Reply runCommand(const Command& command, const ProgramUnit& unit, const std::vector<int>& numbers);
    void report(Error error, const std::string& detail);
    Progress finish();

    ScpiInstrument& m_instrument;
    MeasurementCache m_measurements;
    ClientContext* m_client = nullptr;
    std::string m_message;
    std::optional<MessageParser> m_parser;
    // The unit under way and its command while the instrument acts for it.
    std::optional<ProgramUnit> m_unit;
    const Command* m_command = nullptr;
    std::vector<int> m_numbers;
    bool m_runAgain = false;
    bool m_waiting = false;
    std::vector<std::string> m_responses;
    std::string m_response;
};

} // namespace kavlon::scpi
