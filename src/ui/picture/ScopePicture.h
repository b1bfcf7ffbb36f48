#pragma once

#include "core/picture/PictureLayout.h"

#include <QImage>

#include <vector>

namespace kavlon {

// Paints the picture of a Scope display: paper, the screen's rectangle as it is shown
// (rows 0 to 386 of all 614 columns, at row 30; the window's grey in the last column
// included) and the texts in black. Texts are not smoothed: the picture keeps the
// screen's exact colours.
QImage scopePicture(const QImage& screen, const std::vector<PictureText>& texts);

} // namespace kavlon
