#include "core/shot/ShotRecord.h"

namespace kavlon {

ShotRecord::ShotRecord() {
    TriggerText = "Trigger :";
    TriggerLevelText = "Trigger Level :";
    TimebaseText = "Timebase : ";
    RealTimebaseText = "Real Timebase : ";
    for (int c = 0; c < kChannels; ++c)
        ZeroText[std::size_t(c)] = "Zero CH " + std::to_string(c + 1) + " : 0.0 V";
}

} // namespace kavlon
