#include "core/scpi/ScpiCommands.h"

#include "core/measure/MeasureCopy.h"

namespace kavlon::scpi {

const MeasureResults& MeasurementCache::of(const ShotRecord& shot, std::uint64_t shotCount) {
    if (!m_values || m_shotCount != shotCount) {
        m_values = measureResults(takeMeasureCopy(shot));
        m_shotCount = shotCount;
    }
    return *m_values;
}

const std::vector<Command>& commandTree() {
    static const std::vector<Command> tree = [] {
        std::vector<Command> t;
        addCommonCommands(t);
        addInstrumentCommands(t);
        addShotCommands(t);
        return t;
    }();
    return tree;
}

void addCommand(std::vector<Command>& tree, std::string_view header, bool query,
                std::function<Reply(Call&)> run) {
    const bool common = header.front() == '*';
    tree.push_back({HeaderPattern(common ? header.substr(1) : header), common, query, std::move(run)});
}

std::optional<Reply> expectParameters(const Call& call, std::size_t least, std::size_t most) {
    const std::size_t n = call.unit.parameters.size();
    if (n < least)
        return Reply::fail(Error::MissingParameter, call.unit.written);
    if (n > most)
        return Reply::fail(Error::ParameterNotAllowed, call.unit.written);
    return std::nullopt;
}

std::function<Reply(Call&)> plain(std::function<Reply(Call&)> done) {
    return [done = std::move(done)](Call& call) {
        if (auto bad = expectParameters(call, 0, 0))
            return *bad;
        return done(call);
    };
}

std::optional<Reply> checkChannel(const Call& call, int channel) {
    const int channels = call.instrument.settings().channelCount;
    if (channel >= 1 && channel <= channels)
        return std::nullopt;
    return Reply::fail(Error::IllegalParameterValue, "channel " + std::to_string(channel) +
                                                         ": the instrument has " + std::to_string(channels) +
                                                         " channels");
}

} // namespace kavlon::scpi
