#include "device/simulator/InstrumentModel.h"

#include "core/acquisition/Commands.h"

#include <algorithm>

namespace kavlon {

void InstrumentModel::receive(std::span<const std::uint8_t> report) {
    if (report.size() < 9 || report[1] != kOutputReportMarker)
        return;
    CommandBytes command;
    std::copy_n(report.begin() + 2, command.size(), command.begin());
    if (command[0] == command::kAcknowledge)
        ++m_acknowledgements;
    else
        apply(command);
}

std::array<std::uint8_t, InstrumentModel::kReportLength> InstrumentModel::reportOf(const Frame& frame) {
    std::array<std::uint8_t, kReportLength> report{};
    std::copy_n(frame.begin(), kReportLength - 2, report.begin() + 2);
    return report;
}

Frame InstrumentModel::takeFrame() {
    Frame f = m_pending.front();
    m_pending.pop_front();
    return f;
}

void InstrumentModel::queue(const Frame& frame) {
    if (!roomFor(1))
        return;
    m_pending.push_back(frame);
}

bool InstrumentModel::roomFor(std::size_t frames) {
    if (m_pending.size() + frames <= kMaxPendingFrames)
        return true;
    ++m_answersDropped;
    return false;
}

void InstrumentModel::sendPoll() {
    Frame f{};
    f[0] = frame::Poll;
    queue(f);
    ++m_pollsSent;
}

void InstrumentModel::sendQuickPrint(int mode) {
    Frame f{};
    f[0] = frame::QuickPrint;
    f[1] = std::uint8_t(mode);
    queue(f);
}

} // namespace kavlon
