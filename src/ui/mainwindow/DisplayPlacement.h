#pragma once

#include <QPoint>
#include <QSize>

#include <optional>
#include <vector>

namespace kavlon {

// How far each new or cascaded display steps down and right from the one before.
constexpr int kDisplayStep = 24;

// Where a window of this size goes in the display area after one at `previous`: a
// step down and right, wrapping back to the area's top or left edge so the whole
// window shows wherever it fits. The first window goes to the top left corner.
QPoint nextDisplayPosition(const QSize& area, const QSize& window, std::optional<QPoint> previous);

// One window's share of a tiling along one axis.
struct TileSpan {
    int offset = 0;
    int length = 0;
};
struct TileLimits {
    int minimum = 0;
    int maximum = 0;
};

// Shares `length` among windows in order. Each gets an equal part of what is left,
// held within its own limits, so a window that cannot shrink or grow takes its own
// length and the others share the rest; windows overlap only when their minimums
// together do not fit.
std::vector<TileSpan> tileSpans(int length, const std::vector<TileLimits>& windows);

} // namespace kavlon
