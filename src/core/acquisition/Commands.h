#pragma once

#include "core/acquisition/AcquisitionState.h"

#include <cstdint>
#include <vector>

namespace kavlon {

// Every command writes only the bytes it defines into the command buffer; the
// others keep what the previous command left there, and go out on the wire as
// they are. Channels are numbered 1-4; a channel outside that range writes nothing.

// The first command byte, on which the instrument dispatches: single commands, and
// the front panel's groups (buttons and boxes, steps, zero level) that carry a code.
namespace command {
constexpr std::uint8_t kConnect = 0x10;
constexpr std::uint8_t kRequestData = 0x0E;
constexpr std::uint8_t kAcknowledge = 0x12;
constexpr std::uint8_t kPanel = 0x06;
constexpr std::uint8_t kStep = 0x08;
constexpr std::uint8_t kZeroLevel = 0x03;
} // namespace command

enum class TimebaseStep : std::uint8_t { Faster = 1, Slower = 2 };
enum class VoltsStep : std::uint8_t { Smaller = 1, Bigger = 2 };

void CmdConnect(CommandBytes& buffer);
void CmdRequestData(CommandBytes& buffer);
void CmdRunStop(CommandBytes& buffer);
void CmdSingle(CommandBytes& buffer);
void CmdAutoScale(CommandBytes& buffer);
void CmdChannelOn(CommandBytes& buffer, int channel, bool checked);
void CmdCoupling(CommandBytes& buffer, int channel, bool checked);
void CmdInvert(CommandBytes& buffer, int channel, bool checked);
void CmdTimebaseStep(CommandBytes& buffer, TimebaseStep step);
void CmdVoltsStep(CommandBytes& buffer, int channel, VoltsStep step);
void CmdZeroLevel(CommandBytes& buffer, int channel, int trackBarPosition);
void CmdAcknowledge(CommandBytes& buffer);

constexpr std::uint8_t kOutputReportId = 0x00;
constexpr std::uint8_t kOutputReportMarker = 0x25;
// The output report carrying command bytes 0..lastByte, zero-padded to the
// device's output report length (report ID included). Empty when the report
// length cannot hold the command.
std::vector<std::uint8_t> buildOutputReport(const CommandBytes& data, int lastByte, int reportLength);

} // namespace kavlon
