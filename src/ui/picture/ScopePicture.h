#pragma once

#include "core/picture/PictureLayout.h"

#include <QImage>

#include <vector>

class QDateTime;

namespace kavlon {

// Paints the picture of a Scope display: paper, the screen as it is shown (its
// rows 0 to 386 at row 30) and the texts in black. The window's grey around the
// screen becomes paper, so a picture without colour is black on white only.
// Texts are not smoothed: the picture keeps the screen's exact colours.
QImage scopePicture(const QImage& screen, const std::vector<PictureText>& texts);

// The moment in the system's short date and long time format.
QString pictureDateTime(const QDateTime& moment);

} // namespace kavlon
