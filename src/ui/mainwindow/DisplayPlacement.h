#pragma once

#include <QPoint>
#include <QSize>

#include <optional>
#include <vector>

namespace kavlon {

// How far each new or cascaded display steps down and right from the one before, at least.
constexpr int kDisplayStep = 24;

// A window to cascade: its size, and how far right of its left edge the caption on its
// title bar reaches.
struct CascadeWindow {
    QSize size;
    int captionEnd = 0;
};

// Where a window of this size goes in the display area after one at `previous`: a step
// down and right, wrapping round inside the area so the whole window shows wherever it
// fits, and never onto a place in `taken`, where another display sits. The first window
// goes to the top left corner.
QPoint nextDisplayPosition(const QSize& area, const QSize& window, std::optional<QPoint> previous,
                           const std::vector<QPoint>& taken = {}, int step = kDisplayStep);

// Where a cascade puts these windows, stacked in this order: down and right by `step`
// (no less than a title bar) from the top left corner, and where a window would reach
// past the bottom, a new column from the top, right of every caption in the column
// before. No window hides the caption of one beneath it; the area scrolls to what lies
// past its right edge.
std::vector<QPoint> cascadePositions(const QSize& area, const std::vector<CascadeWindow>& windows, int step);

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
// length and the others share the rest. Where the windows together are longer than
// `length`, they overlap, each showing a part in keeping with its length, and every
// window stays inside `length` unless it is longer on its own.
std::vector<TileSpan> tileSpans(int length, const std::vector<TileLimits>& windows);

} // namespace kavlon
