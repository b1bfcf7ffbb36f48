#pragma once

#include <QPixmap>

namespace kavlon {

// The column of pictograms beside the measurement table: on black, one yellow
// pictogram per table row, each 21 pixels high, separated by thin lines.
constexpr int kPictogramWidth = 59;
QPixmap measurePictograms();

} // namespace kavlon
