#include "ui/mainwindow/DisplayPlacement.h"

#include <algorithm>

namespace kavlon {

namespace {

// One coordinate of the next position: a step on, back to 0 when the window
// would reach past the area's edge from there.
int stepWithin(int previous, int window, int area) {
    const int next = std::max(0, previous + kDisplayStep);
    return next + window > area ? 0 : next;
}

} // namespace

QPoint nextDisplayPosition(const QSize& area, const QSize& window, std::optional<QPoint> previous) {
    if (!previous)
        return {0, 0};
    return {stepWithin(previous->x(), window.width(), area.width()),
            stepWithin(previous->y(), window.height(), area.height())};
}

std::vector<TileSpan> tileSpans(int length, const std::vector<TileLimits>& windows) {
    // Windows that cannot take an equal share are settled first, so the share the
    // others get accounts for them.
    const int count = int(windows.size());
    std::vector<int> lengths(windows.size(), -1);
    int free = length;
    int open = count;
    for (bool settled = true; settled && open > 0;) {
        settled = false;
        const int share = std::max(0, free) / open;
        for (int i = 0; i < count; ++i) {
            const TileLimits& w = windows[std::size_t(i)];
            if (lengths[std::size_t(i)] >= 0 || (share >= w.minimum && share <= w.maximum))
                continue;
            lengths[std::size_t(i)] = std::clamp(share, w.minimum, std::max(w.minimum, w.maximum));
            free -= lengths[std::size_t(i)];
            --open;
            settled = true;
            break;
        }
    }
    std::vector<TileSpan> spans;
    int offset = 0;
    int remaining = open;
    int left = std::max(0, free);
    const int share = open > 0 ? left / open : 0;
    for (int i = 0; i < count; ++i) {
        int l = lengths[std::size_t(i)];
        if (l < 0) {
            // The last flexible window takes what rounding left over.
            l = remaining == 1 ? left : share;
            left -= l;
            --remaining;
        }
        spans.push_back({offset, l});
        offset += l;
    }
    return spans;
}

} // namespace kavlon
