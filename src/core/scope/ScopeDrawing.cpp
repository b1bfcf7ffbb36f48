#include "core/scope/ScopeDrawing.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace kavlon {

namespace {

constexpr int kTracePoints = 600;
constexpr int kTraceLeft = 12;

void setColumn(ScopeCanvas& canvas, int x, std::initializer_list<int> rows) {
    for (int y : rows)
        canvas.setPixel(x, y, Ink::Graticule);
}

void setRow(ScopeCanvas& canvas, int y, std::initializer_list<int> columns) {
    for (int x : columns)
        canvas.setPixel(x, y, Ink::Graticule);
}

// The frame's top and bottom, the horizontal centre line, and the ticks and dotted
// division lines that hang off them.
void drawHorizontalRules(ScopeCanvas& canvas) {
    for (int x = 11; x <= 611; x += 2) {
        setColumn(canvas, x, {0, 193, 386});
        const int b = x - 11;
        if (b % 10 != 0 || b <= 5 || b >= 595 || b == 300)
            continue;
        if (b % 50 != 0) {
            setColumn(canvas, x, {1, 3, 190, 192, 194, 196, 383, 385});
            continue;
        }
        setColumn(canvas, x, {2, 4, 6, 187, 189, 191, 195, 197, 199, 380, 382, 384});
        for (int y = 9; y <= 377; y += 8)
            canvas.setPixel(x, y, Ink::Graticule);
    }
}

// The frame's sides and the vertical centre line, with their ticks and dotted lines.
void drawVerticalRules(ScopeCanvas& canvas) {
    for (int y = 1; y <= 385; y += 2) {
        setRow(canvas, y, {10, 311, 612});
        const int b = y - 1;
        if (b % 8 != 0 || b <= 4 || b >= 380 || b == 192)
            continue;
        if (b % 48 != 0) {
            setRow(canvas, y, {11, 13, 308, 310, 312, 314, 609, 611});
            continue;
        }
        setRow(canvas, y, {12, 14, 16, 305, 307, 309, 313, 315, 317, 606, 608, 610});
        for (int x = 21; x <= 601; x += 10)
            canvas.setPixel(x, y, Ink::Graticule);
    }
}

void drawZeroMarker(ScopeCanvas& canvas, int y, Ink ink) {
    // Ground symbol: three bars narrowing downwards.
    canvas.line(0, y + 4, 5, y + 4, ink);
    canvas.line(1, y + 6, 4, y + 6, ink);
    canvas.setPixel(2, y + 8, ink);
    // Its stem, bent to the right into the arrow's shaft.
    canvas.line(2, y + 1, 2, y + 4, ink);
    canvas.line(3, y + 1, 6, y + 1, ink);
    // Arrow head pointing right at row y + 1.
    for (int i = 0; i < 3; ++i)
        canvas.line(6 + i, y - 2 + i, 6 + i, y + 5 - i, ink);
    canvas.setPixel(9, y + 1, ink);
}

} // namespace

long long traceSampleIndex(int samplesPerPixel, int scrollPosition, int point) {
    const double step = samplesPerPixel == 3 ? 2.5 : double(samplesPerPixel);
    return (long long)std::trunc(step * point) + (long long)std::trunc(step * scrollPosition);
}

void ClearScreen(ScopeCanvas& canvas) {
    canvas.fillRect(0, 0, 613, 387, Ink::Background);
}

void DrawGrid(ScopeCanvas& canvas) {
    drawHorizontalRules(canvas);
    drawVerticalRules(canvas);
    for (auto [x, y] : {std::pair{10, 0}, {612, 0}, {10, 386}, {612, 386}})
        canvas.setPixel(x, y, Ink::Graticule);
}

void DrawSignals(ScopeCanvas& canvas, const ScopeState& state, int scrollPosition) {
    for (int k = 1; k <= kChannels; ++k) {
        const auto c = std::size_t(k - 1);
        if (!state.ChannelOn[c] || (k > 2 && state.ChannelMode != 4))
            continue;
        const std::vector<std::int32_t>& samples = state.Samples[c];
        int previousRow = 0;
        for (int i = 0; i < kTracePoints; ++i) {
            // A zoom factor the instrument made up may step past the copy: the trace
            // ends where the samples do.
            const long long index = traceSampleIndex(state.SamplesPerPixel, scrollPosition, i);
            if (index < 0 || index >= (long long)samples.size())
                break;
            const int row = traceRow(samples[std::size_t(index)]);
            if (i > 0)
                canvas.line(kTraceLeft + i - 1, previousRow, kTraceLeft + i, row, channelInk(k));
            previousRow = row;
        }
    }
}

void DrawCursors(ScopeCanvas& canvas, const ScopeState& state, bool horizontal, bool vertical) {
    if (horizontal)
        for (int x = 12; x <= 610; ++x)
            if (x % 3 != 0) {
                canvas.setPixel(x, state.CursorY1, Ink::Cursor);
                canvas.setPixel(x, state.CursorY2, Ink::Cursor);
            }
    if (vertical)
        for (int y = 2; y <= 384; ++y)
            if (y % 3 != 0) {
                canvas.setPixel(state.CursorX1 + 10, y, Ink::Cursor);
                canvas.setPixel(state.CursorX2 + 10, y, Ink::Cursor);
            }
}

void DrawZeros(ScopeCanvas& canvas, const ScopeState& state) {
    for (int k = 1; k <= kChannels; ++k)
        if (state.ChannelOn[std::size_t(k - 1)])
            drawZeroMarker(canvas, state.ZeroRow[std::size_t(k - 1)], channelInk(k));
}

void drawScreen(ScopeCanvas& canvas, const ScopeState& state, const ScopeView& view) {
    canvas.fill(Ink::Window);
    ClearScreen(canvas);
    if (view.grid)
        DrawGrid(canvas);
    DrawSignals(canvas, state, view.scrollPosition);
    DrawCursors(canvas, state, view.cursorH, view.cursorV);
    if (view.zeros)
        DrawZeros(canvas, state);
}

std::array<std::uint32_t, kInkCount> scopePalette(ScopeColours colours) {
    constexpr std::uint32_t black = 0x000000;
    constexpr std::uint32_t white = 0xFFFFFF;
    constexpr std::uint32_t window = kScopeWindowColour;
    if (colours == ScopeColours::Mono)
        return {window, white, black, black, black, black, black, black};
    const bool inverted = colours == ScopeColours::Inverted;
    return {
        window,  inverted ? white : black, inverted ? black : white, 0xFFFF00, 0x00FF00, 0x0000FF, 0xFF0000,
        0xFF8000};
}

} // namespace kavlon
