#include "ui/mainwindow/DisplayPlacement.h"

#include <algorithm>

namespace kavlon {

namespace {

// One coordinate of the next position: a step on, wrapped round to stay within the
// places where the whole window fits. Wrapping by the remainder rather than back to 0
// keeps later rounds off the places of earlier ones.
int stepWithin(int previous, int window, int area, int step) {
    const int places = area - window + 1;
    if (places <= 0)
        return 0; // larger than the area: its top or left edge stays in view
    return std::max(0, previous + step) % places;
}

bool isTaken(const std::vector<QPoint>& taken, const QPoint& at) {
    return std::find(taken.begin(), taken.end(), at) != taken.end();
}

// Each window's length: an equal part of what the others leave, held within its limits.
std::vector<int> tileLengths(int length, const std::vector<TileLimits>& windows) {
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
    int left = std::max(0, free);
    const int share = open > 0 ? left / open : 0;
    for (int& l : lengths) {
        if (l >= 0)
            continue;
        // The last flexible window takes what rounding left over.
        l = --open == 0 ? left : share;
        left -= l;
    }
    return lengths;
}

} // namespace

QPoint nextDisplayPosition(const QSize& area, const QSize& window, std::optional<QPoint> previous,
                           const std::vector<QPoint>& taken, int step) {
    const auto next = [&](const QPoint& from) {
        return QPoint(stepWithin(from.x(), window.width(), area.width(), step),
                      stepWithin(from.y(), window.height(), area.height(), step));
    };
    QPoint at = previous ? next(*previous) : QPoint(0, 0);
    for (std::size_t tries = 0; tries < taken.size() && isTaken(taken, at); ++tries)
        at = next(at);
    // Where every place the window fits whole is taken, it goes on past them.
    for (std::size_t tries = 0; tries < taken.size() && isTaken(taken, at); ++tries)
        at += QPoint(step, step);
    return at;
}

std::vector<QPoint> cascadePositions(const QSize& area, const std::vector<CascadeWindow>& windows, int step) {
    std::vector<QPoint> positions;
    int columnLeft = 0;
    int captionsEnd = 0; // right of every caption in this column
    int row = 0;
    for (const CascadeWindow& window : windows) {
        if (row > 0 && row * step + window.size.height() > area.height()) {
            // The new column covers the lower part of this one, all but its captions.
            columnLeft = captionsEnd + step / 2;
            row = 0;
        }
        const QPoint at(columnLeft + row * step, row * step);
        positions.push_back(at);
        captionsEnd = std::max(captionsEnd, at.x() + window.captionEnd);
        ++row;
    }
    return positions;
}

std::vector<TileSpan> tileSpans(int length, const std::vector<TileLimits>& windows) {
    const std::vector<int> lengths = tileLengths(length, windows);
    std::vector<TileSpan> spans;
    int offset = 0;
    for (int l : lengths) {
        spans.push_back({offset, l});
        offset += l;
    }
    // One window, or none before the last with a length (a shaded one has no limits):
    // all start at the edge already, and there is nothing to shrink.
    if (offset <= length || spans.size() < 2 || spans.back().offset == 0)
        return spans;
    // Too long together: the offsets shrink in proportion until the last window ends
    // at the edge, so each shows a part in keeping with its length.
    const long long last = spans.back().offset;
    const long long room = std::max(0, length - spans.back().length);
    for (TileSpan& span : spans)
        span.offset = std::clamp(int(span.offset * room / last), 0, std::max(0, length - span.length));
    return spans;
}

} // namespace kavlon
