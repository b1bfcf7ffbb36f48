#include "core/scpi/ScpiExecutor.h"

namespace kavlon::scpi {

namespace {

Error errorOf(ActionResult::Kind kind) {
    switch (kind) {
    case ActionResult::Kind::Done:
        return Error::None;
    case ActionResult::Kind::NotOffered:
        return Error::DataOutOfRange;
    case ActionResult::Kind::IncompleteShot:
        return Error::DataCorruptOrStale;
    case ActionResult::Kind::Refused:
        return Error::SettingsConflict;
    case ActionResult::Kind::NoAnswer:
        break;
    }
    return Error::Hardware;
}

} // namespace

ScpiExecutor::Progress ScpiExecutor::execute(ClientContext& client, std::string_view message) {
    m_client = &client;
    m_message.assign(message);
    m_parser.emplace(m_message);
    m_responses.clear();
    m_response.clear();
    m_waiting = false;
    return run();
}

ScpiExecutor::Progress ScpiExecutor::execute(ClientContext& client, const LineFramer::Line& line,
                                             std::size_t maxLine) {
    if (!line.overlong)
        return execute(client, line.text);
    client.status.push(Error::TooMuchData,
                       "a line longer than " + std::to_string(maxLine) + " bytes was dropped");
    m_response.clear();
    return Progress::Done;
}

ScpiExecutor::Progress ScpiExecutor::resume(const ActionResult& result) {
    if (!m_waiting)
        return Progress::Done;
    m_waiting = false;
    if (!actionDone(result))
        return finish();
    return m_waiting ? Progress::Waiting : run();
}

ScpiExecutor::Progress ScpiExecutor::run() {
    for (;;) {
        MessageParser::Next next = m_parser->next();
        if (!next.unit) {
            if (next.error != Error::None)
                report(next.error, next.detail);
            return finish();
        }
        if (!dispatch(*next.unit))
            return finish();
        if (m_waiting)
            return Progress::Waiting;
    }
}

bool ScpiExecutor::dispatch(const ProgramUnit& unit) {
    bool otherForm = false;
    for (const Command& command : commandTree()) {
        if (command.common != unit.common)
            continue;
        auto numbers = command.header.match(unit.path);
        if (!numbers)
            continue;
        if (command.query != unit.query) {
            otherForm = true;
            continue;
        }
        m_unit = unit;
        m_command = &command;
        m_numbers = std::move(*numbers);
        m_runAgain = false;
        return apply(runCommand(command, *m_unit, m_numbers));
    }
    report(Error::UndefinedHeader,
           unit.written + (otherForm ? (unit.query ? " has no query form" : " is a query only") : ""));
    return false;
}

Reply ScpiExecutor::runCommand(const Command& command, const ProgramUnit& unit,
                               const std::vector<int>& numbers) {
    Call call{unit, numbers, *m_client, m_instrument, m_measurements, !m_responses.empty()};
    return command.run(call);
}

bool ScpiExecutor::apply(Reply reply) {
    if (reply.error != Error::None) {
        report(reply.error, reply.detail);
        return !isCommandError(reply.error);
    }
    if (reply.response)
        m_responses.push_back(std::move(*reply.response));
    if (!reply.action)
        return true;
    // A command that needed the action runs once more, and only once.
    if (m_runAgain && reply.againAfterAction) {
        report(Error::DataCorruptOrStale, m_unit->written + ": the instrument gave no shot");
        return true;
    }
    m_runAgain = reply.againAfterAction;
    const std::optional<ActionResult> result = m_instrument.begin(*reply.action);
    if (!result) {
        m_waiting = true;
        return true;
    }
    return actionDone(*result);
}

bool ScpiExecutor::actionDone(const ActionResult& result) {
    if (result.kind != ActionResult::Kind::Done) {
        report(errorOf(result.kind), result.detail);
        return true;
    }
    if (!m_runAgain)
        return true;
    return apply(runCommand(*m_command, *m_unit, m_numbers));
}

void ScpiExecutor::report(Error error, const std::string& detail) {
    m_client->status.push(error, detail);
}

ScpiExecutor::Progress ScpiExecutor::finish() {
    m_response.clear();
    for (std::size_t i = 0; i < m_responses.size(); ++i) {
        if (i > 0)
            m_response += ';';
        m_response += m_responses[i];
    }
    if (!m_responses.empty())
        m_response += '\n';
    m_responses.clear();
    m_unit.reset();
    m_command = nullptr;
    return Progress::Done;
}

} // namespace kavlon::scpi
