#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/shot/ShotRecord.h"

#include <array>
#include <optional>
#include <string>

namespace kavlon {

// New captions for the Data window's labels after a transfer; an empty optional leaves
// that label's caption as it was.
struct DataWindowLabels {
    std::optional<std::string> Timebase_lb;
    std::optional<std::string> RealTimebase_lb;
    std::optional<std::string> Trigger_lb;
    std::optional<std::string> Triggerlevel_lb;
    // ZeroLevelCH1_lb .. ZeroLevelCH4_lb
    std::array<std::optional<std::string>, kChannels> ZeroLevelCH_lb;
};

// The label texts that describe the record's shot, voltages with the caller's decimal mark.
DataWindowLabels dataWindowLabels(const ShotRecord& record, char decimalSeparator = '.');

// Takes the new captions into the texts the shot keeps; the others stay as they were.
void applyLabels(const DataWindowLabels& labels, ShotSettings& texts);

} // namespace kavlon
