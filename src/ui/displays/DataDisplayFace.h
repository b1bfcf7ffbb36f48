#pragma once

#include "core/shot/ShotRecord.h"

namespace kavlon {

// All that other displays may read of a Data display: its shot with the settings and
// label texts the transfer produced, and whether its "include Measures" box is ticked.
// Read it where it is handed out; the display may close once control returns.
struct DataDisplayFace {
    const ShotRecord& record;
    bool includeMeasures = true;
};

} // namespace kavlon
