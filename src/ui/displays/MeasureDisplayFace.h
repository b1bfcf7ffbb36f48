#pragma once

#include "core/measure/MeasureSignal.h"

#include <QString>

namespace kavlon {

// All that other displays may read of a Measure display: its caption, the text of its
// source box, its result cells and the numbers they were made from. Read it where it
// is handed out; the display may close once control returns.
struct MeasureDisplayFace {
    QString caption;
    QString source;
    const MeasureCellTable& cells;
    const MeasureResults& results;
};

} // namespace kavlon
