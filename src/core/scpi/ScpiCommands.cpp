#include "core/scpi/ScpiCommands.h"

namespace kavlon::scpi {

const ShotMeasurements& MeasurementCache::of(const ShotRecord& shot, std::uint64_t shotCount) {
    if (!m_values || m_shotCount != shotCount) {
        m_values.emplace(shot);
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

std::optional<Reply> expectParameters(const Call& call, std::size_t least, std::size_t most) {
    const std::size_t n = call.unit.parameters.size();
    if (n < least)
        return Reply::fail(Error::MissingParameter, call.unit.written);
    if (n > most)
        return Reply::fail(Error::ParameterNotAllowed, call.unit.written);
    return std::nullopt;
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
