#pragma once

#include "core/scope/ScopeCanvas.h"
#include "core/scope/ScopeState.h"

#include <array>
#include <cstdint>

namespace kavlon {

// The screen's check boxes and scroll position as the drawing needs them.
struct ScopeView {
    bool grid = true;
    bool zeros = true;
    bool cursorH = false;
    bool cursorV = false;
    int scrollPosition = 0;
};

// The drawing rules of the scope screen, each onto the canvas in ink.
void ClearScreen(ScopeCanvas& canvas);
void DrawGrid(ScopeCanvas& canvas);
void DrawSignals(ScopeCanvas& canvas, const ScopeState& state, int scrollPosition);
void DrawCursors(ScopeCanvas& canvas, const ScopeState& state, bool horizontal, bool vertical);
void DrawZeros(ScopeCanvas& canvas, const ScopeState& state);

// The whole picture in its order: background, graticule (when shown), traces,
// cursors, zero markers. The strip outside the screen gets the window's ink, so
// nothing from an earlier picture lingers there.
void drawScreen(ScopeCanvas& canvas, const ScopeState& state, const ScopeView& view);

// Sample index of trace point i: the step is 2.5 samples for a factor of 3, else the
// factor itself, and both products are truncated separately.
long long traceSampleIndex(int samplesPerPixel, int scrollPosition, int point);

// Screen row of a trace value: the rows 0 to 385.
constexpr int traceRow(std::int32_t value) {
    return value < 1 ? 0 : value > 384 ? 385 : int(value);
}

enum class ScopeColours { Colour, Inverted, Mono };
constexpr ScopeColours scopeColours(bool colour, bool invert) {
    return !colour ? ScopeColours::Mono : invert ? ScopeColours::Inverted : ScopeColours::Colour;
}

// The window around the screen keeps its dark grey whatever the screen shows.
constexpr std::uint32_t kScopeWindowColour = 0x404040;

// 0xRRGGBB of each ink under the given colours.
std::array<std::uint32_t, kInkCount> scopePalette(ScopeColours colours);

} // namespace kavlon
