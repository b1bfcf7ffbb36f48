#pragma once

#include "ui/mainwindow/DisplayPlacement.h"

class QMdiArea;
class QMdiSubWindow;

namespace kavlon {

// How far a cascade of this area's windows steps down and right: no less than their
// title bars are high, so each title bar shows.
int cascadeStep(const QMdiArea& area);
// How far right of the window's left edge its caption reaches, wherever the style
// writes it on the title bar.
int captionEnd(const QMdiSubWindow& window);

} // namespace kavlon
