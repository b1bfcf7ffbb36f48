#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace kavlon {

// Top-level windows are placed by their whole frame, title bar included, which the
// window manager adds around their content: these give the content's size and place.

// The content size whose frame fits within `bounds`: `content` where it fits, else as
// much of it as does.
QSize fittedContentSize(const QSize& content, const QMargins& frame, const QSize& bounds);

// Where the content goes so that its frame is centred on `target` and inside `bounds`;
// a frame larger than `bounds` starts at their top left corner.
QPoint centredContentPosition(const QSize& content, const QMargins& frame, const QRect& target,
                              const QRect& bounds);

// The frame the platform drew around a top-level window; none before it is shown.
QMargins frameMarginsOf(const QWidget& window);

// The window's frame on screen, as the platform knows it now.
QRect frameRectOf(const QWidget& window);

// Runs `place` now and, when the window is first exposed with a frame other than the one
// it had now, once more: only a window manager that has framed it knows that frame.
void placeNowAndOnceFramed(QWidget& window, const std::function<void()>& place);

// A dialog centred on its owner's frame, within the owner's screen, every time it shows.
// Until the dialog has a frame of its own, the owner's stands for it.
void centreOnOwner(QWidget& dialog);

} // namespace kavlon
