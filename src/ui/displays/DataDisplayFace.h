#pragma once

#include "core/shot/ShotRecord.h"

#include <cstdint>

namespace kavlon {

// All that other displays may read of a Data display: its shot with the settings and
// label texts the transfer produced, whether its "include Measures" box is ticked, and
// which shot it is. Read it where it is handed out; the display may close once control
// returns.
struct DataDisplayFace {
    const ShotRecord& record;
    bool includeMeasures = true;
    // Unique in the program for every shot a Data display took (0: none yet), so that
    // the same shot loaded twice is known as one.
    std::uint64_t shotSerial = 0;
};

} // namespace kavlon
