#include "core/acquisition/Commands.h"

#include <algorithm>

namespace kavlon {

namespace {

bool validChannel(int channel) {
    return channel >= 1 && channel <= kChannels;
}

void setSwitch(CommandBytes& buffer, std::uint8_t code, bool checked) {
    buffer[0] = command::kPanel;
    buffer[1] = code;
    buffer[2] = checked ? 1 : 0;
}

} // namespace

void CmdConnect(CommandBytes& buffer) {
    buffer[0] = command::kConnect;
}
void CmdRequestData(CommandBytes& buffer) {
    buffer[0] = command::kRequestData;
}
void CmdAcknowledge(CommandBytes& buffer) {
    buffer[0] = command::kAcknowledge;
}

void CmdRunStop(CommandBytes& buffer) {
    buffer[0] = command::kPanel;
    buffer[1] = 0x18;
}

void CmdSingle(CommandBytes& buffer) {
    buffer[0] = command::kPanel;
    buffer[1] = 0x19;
}

void CmdAutoScale(CommandBytes& buffer) {
    buffer[0] = command::kPanel;
    buffer[1] = 0x0C;
}

void CmdChannelOn(CommandBytes& buffer, int channel, bool checked) {
    // The instrument skips 0x08 here: channel 2 is 0x09, not 0x08.
    static constexpr std::uint8_t codes[kChannels] = {0x07, 0x09, 0x0A, 0x0B};
    if (validChannel(channel))
        setSwitch(buffer, codes[channel - 1], checked);
}

void CmdCoupling(CommandBytes& buffer, int channel, bool checked) {
    if (validChannel(channel))
        setSwitch(buffer, std::uint8_t(0x1B + channel), checked);
}

void CmdInvert(CommandBytes& buffer, int channel, bool checked) {
    if (validChannel(channel))
        setSwitch(buffer, std::uint8_t(0x1F + channel), checked);
}

void CmdTimebaseStep(CommandBytes& buffer, TimebaseStep step) {
    buffer[0] = command::kStep;
    buffer[1] = 0x0B;
    buffer[2] = std::uint8_t(step);
}

void CmdVoltsStep(CommandBytes& buffer, int channel, VoltsStep step) {
    if (!validChannel(channel))
        return;
    buffer[0] = command::kStep;
    buffer[1] = std::uint8_t(0x04 + channel);
    buffer[2] = std::uint8_t(step);
}

void CmdZeroLevel(CommandBytes& buffer, int channel, int trackBarPosition) {
    if (!validChannel(channel))
        return;
    const int position = std::clamp(trackBarPosition, 0, 0xFFFF);
    buffer[0] = command::kZeroLevel;
    buffer[1] = 0x17;
    buffer[2] = std::uint8_t(channel);
    buffer[3] = std::uint8_t(position & 0xFF);
    buffer[4] = std::uint8_t(position >> 8);
}

std::vector<std::uint8_t> buildOutputReport(const CommandBytes& data, int lastByte, int reportLength) {
    lastByte = std::clamp(lastByte, 0, int(data.size()) - 1);
    if (reportLength < lastByte + 3)
        return {};
    std::vector<std::uint8_t> report(std::size_t(reportLength), 0);
    report[0] = kOutputReportId;
    report[1] = kOutputReportMarker;
    std::copy_n(data.begin(), lastByte + 1, report.begin() + 2);
    return report;
}

} // namespace kavlon
