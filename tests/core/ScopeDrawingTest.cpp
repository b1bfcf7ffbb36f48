#include "core/scope/ScopeDrawing.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace kavlon {
namespace {

using Pixels = std::set<std::pair<int, int>>;

// Every pixel of the given ink inside the rectangle [left, right) x [top, bottom).
Pixels inked(const ScopeCanvas& canvas, Ink ink, int left = 0, int top = 0, int right = ScopeCanvas::kWidth,
             int bottom = ScopeCanvas::kHeight) {
    Pixels found;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (canvas.at(x, y) == ink)
                found.insert({x, y});
    return found;
}

// A state with only channel `channel` switched on, every sample at `value`.
std::unique_ptr<ScopeState> flatTrace(int channel, int value) {
    auto state = std::make_unique<ScopeState>();
    state->ChannelMode = 4;
    state->ChannelOn[std::size_t(channel - 1)] = true;
    std::fill(state->Samples[std::size_t(channel - 1)].begin(),
              state->Samples[std::size_t(channel - 1)].end(), value);
    return state;
}

TEST(ScopeDrawing, GraticuleDotsWhereTheRulesPutThem) {
    ScopeCanvas canvas;
    ClearScreen(canvas);
    DrawGrid(canvas);
    struct Case {
        int x, y;
        bool set;
        const char* what;
    };
    const Case cases[] = {
        {10, 0, true, "corner"},
        {612, 0, true, "corner"},
        {10, 386, true, "corner"},
        {612, 386, true, "corner"},
        {11, 0, true, "top frame"},
        {12, 0, false, "top frame gap"},
        {611, 386, true, "bottom frame"},
        {311, 193, true, "centre cross"},
        {310, 193, false, "centre line gap"},
        {10, 1, true, "left frame"},
        {10, 2, false, "left frame gap"},
        {612, 385, true, "right frame"},
        {311, 1, true, "vertical centre line"},
        {11, 1, false, "no tick at the left edge"},
        {21, 1, true, "minor tick on the top frame"},
        {21, 3, true, "minor tick"},
        {21, 2, false, "minor tick stops at row 3"},
        {21, 196, true, "minor tick below the centre line"},
        {21, 385, true, "minor tick on the bottom frame"},
        {601, 1, true, "last minor tick"},
        {611, 1, false, "no tick at the right edge"},
        {611, 9, true, "minor side tick on the right frame"},
        {61, 2, true, "major tick"},
        {61, 6, true, "major tick"},
        {61, 1, false, "major tick leaves row 1"},
        {61, 199, true, "major tick below the centre"},
        {61, 380, true, "major tick on the bottom frame"},
        {311, 6, false, "no major tick on the vertical centre line"},
        {311, 9, true, "vertical centre line, not a division dot"},
        {311, 10, false, "vertical centre line gap"},
        {11, 9, true, "minor side tick"},
        {13, 9, true, "minor side tick"},
        {15, 9, false, "minor side tick is two pixels"},
        {314, 9, true, "minor tick on the vertical centre line"},
        {16, 49, true, "major side tick"},
        {17, 49, false, "major side tick ends"},
        {317, 49, true, "major tick on the vertical centre line"},
        {12, 193, false, "no side tick at the centre row"},
        {61, 13, false, "between division dots"},
        {36, 49, false, "between division dots"},
        {21, 9, false, "no division dot off the division rows"},
        {31, 17, false, "no division line at a minor tick"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(canvas.at(c.x, c.y) == Ink::Graticule, c.set) << c.what << " at " << c.x << "," << c.y;

    // The dotted division lines, every dot of them.
    for (int x : {61, 111, 161, 211, 261, 361, 411, 461, 511, 561})
        for (int y = 9; y <= 377; y += 8)
            EXPECT_EQ(canvas.at(x, y), Ink::Graticule) << x << "," << y;
    for (int y : {49, 97, 145, 241, 289, 337})
        for (int x = 21; x <= 601; x += 10)
            EXPECT_EQ(canvas.at(x, y), Ink::Graticule) << x << "," << y;
    // Dots only, one every 8 rows or 10 columns, up to the ticks of the centre lines.
    Pixels column, row;
    for (int y = 9; y <= 185; y += 8)
        column.insert({261, y});
    for (int x = 21; x <= 291; x += 10)
        row.insert({x, 145});
    EXPECT_EQ(inked(canvas, Ink::Graticule, 261, 8, 262, 187), column);
    EXPECT_EQ(inked(canvas, Ink::Graticule, 20, 145, 301, 146), row);
}

TEST(ScopeDrawing, ClearingLeavesTheStripBelowAndBesideTheScreen) {
    ScopeCanvas canvas;
    drawScreen(canvas, ScopeState{}, {.grid = false});
    EXPECT_EQ(canvas.at(0, 0), Ink::Background);
    EXPECT_EQ(canvas.at(612, 386), Ink::Background);
    EXPECT_EQ(canvas.at(613, 0), Ink::Window);
    EXPECT_EQ(canvas.at(0, 387), Ink::Window);
    EXPECT_EQ(canvas.at(613, 409), Ink::Window);
}

TEST(ScopeDrawing, TraceValuesAreClampedToRows0To385) {
    struct Case {
        int value, row;
    };
    const Case cases[] = {{-100, 0},  {0, 0},     {1, 1},     {200, 200},
                          {384, 384}, {385, 385}, {386, 385}, {9999, 385}};
    for (const Case& c : cases) {
        ScopeCanvas canvas;
        DrawSignals(canvas, *flatTrace(1, c.value), 0);
        const Pixels trace = inked(canvas, Ink::Channel1);
        // Points 0..599 at x 12..611, joined by lines that leave out their end.
        ASSERT_EQ(trace.size(), 599u) << c.value;
        EXPECT_EQ(*trace.begin(), std::pair(12, c.row)) << c.value;
        EXPECT_EQ(*trace.rbegin(), std::pair(610, c.row)) << c.value;
    }
}

TEST(ScopeDrawing, SampleIndexOfEachPoint) {
    struct Case {
        int samplesPerPixel, scroll, point;
        long long index;
    };
    const Case cases[] = {
        {3, 0, 1, 2},  {3, 0, 2, 5},     {3, 0, 3, 7},   {3, 1, 1, 4}, // 2.5 each, truncated separately
        {3, 3, 3, 14}, {1, 0, 599, 599}, {2, 10, 5, 30}, {5, 0, 4, 20}, {0, 40, 9, 0}, {255, 0, 599, 152745},
    };
    for (const Case& c : cases)
        EXPECT_EQ(traceSampleIndex(c.samplesPerPixel, c.scroll, c.point), c.index)
            << c.samplesPerPixel << " " << c.scroll << " " << c.point;
}

TEST(ScopeDrawing, FactorThreeDrawsTwoAndAHalfSamplesPerPixel) {
    auto state = flatTrace(2, 100);
    state->SamplesPerPixel = 3;
    auto& samples = state->Samples[1];
    samples[2] = 101;
    samples[5] = 102;
    samples[7] = 103;
    ScopeCanvas canvas;
    DrawSignals(canvas, *state, 0);
    EXPECT_EQ(canvas.at(13, 101), Ink::Channel2);
    EXPECT_EQ(canvas.at(14, 102), Ink::Channel2);
    EXPECT_EQ(canvas.at(15, 103), Ink::Channel2);
    EXPECT_EQ(canvas.at(16, 100), Ink::Channel2) << "point 4 is sample 10";
}

TEST(ScopeDrawing, PenLinesLeaveOutTheirEnd) {
    struct Case {
        int x0, y0, x1, y1;
        std::vector<std::pair<int, int>> pixels;
    };
    const Case cases[] = {
        {0, 0, 5, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {4, 7, 4, 7, {}},
        {3, 3, 3, 0, {{3, 3}, {3, 2}, {3, 1}}},
        {12, 10, 13, 14, {{12, 10}, {12, 11}, {12, 12}, {13, 13}}}, // the half goes to the start
        {13, 14, 12, 10, {{13, 14}, {13, 13}, {13, 12}, {12, 11}}},
        {20, 20, 21, 21, {{20, 20}}},
        {0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {-2, 5, 2, 5, {{0, 5}, {1, 5}}}, // clipped at the screen's edge
    };
    for (const Case& c : cases) {
        ScopeCanvas canvas;
        canvas.line(c.x0, c.y0, c.x1, c.y1, Ink::Cursor);
        const Pixels expected(c.pixels.begin(), c.pixels.end());
        EXPECT_EQ(inked(canvas, Ink::Cursor), expected)
            << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1;
    }
}

// Whatever part of a rectangle lies off the screen is dropped, not wrapped into
// the neighbouring row or written past the canvas.
TEST(ScopeDrawing, FillsAreCutAtTheScreensEdges) {
    constexpr int w = ScopeCanvas::kWidth, h = ScopeCanvas::kHeight;
    struct Case {
        const char* name;
        int left, top, right, bottom;
        int insideLeft, insideTop, insideRight, insideBottom; // what is filled
    };
    const Case cases[] = {
        {"past the left edge", -3, 2, 4, 5, 0, 2, 4, 5},
        {"past the right edge", w - 2, 2, w + 3, 5, w - 2, 2, w, 5},
        {"past the top and bottom", 5, -4, 8, h + 4, 5, 0, 8, h},
        {"all around", -10, -10, w + 10, h + 10, 0, 0, w, h},
        {"wholly to the right", w + 1, 0, w + 9, 5, 0, 0, 0, 0},
        {"wholly to the left", -9, 0, -1, 5, 0, 0, 0, 0},
        {"wholly below", 0, h, 5, h + 5, 0, 0, 0, 0},
        {"right before left", 9, 0, 5, 5, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ScopeCanvas canvas;
        canvas.fillRect(c.left, c.top, c.right, c.bottom, Ink::Cursor);
        Pixels expected;
        for (int y = c.insideTop; y < c.insideBottom; ++y)
            for (int x = c.insideLeft; x < c.insideRight; ++x)
                expected.insert({x, y});
        EXPECT_EQ(inked(canvas, Ink::Cursor), expected) << c.name;
    }
}

TEST(ScopeDrawing, ZeroMarkerIsAGroundSymbolWithAnArrow) {
    ScopeState state;
    state.ChannelOn = {false, false, true, false};
    state.ZeroRow[2] = 100;
    ScopeCanvas canvas;
    DrawZeros(canvas, state);
    const int y = 100;
    Pixels expected;
    for (int x = 0; x <= 4; ++x)
        expected.insert({x, y + 4});
    for (int x = 1; x <= 3; ++x)
        expected.insert({x, y + 6});
    expected.insert({2, y + 8});
    for (int row = y + 1; row <= y + 3; ++row)
        expected.insert({2, row});
    for (int x = 3; x <= 5; ++x)
        expected.insert({x, y + 1});
    for (int i = 0; i < 3; ++i)
        for (int row = y - 2 + i; row < y + 5 - i; ++row)
            expected.insert({6 + i, row});
    expected.insert({9, y + 1});
    EXPECT_EQ(inked(canvas, Ink::Channel3), expected);

    // Markers near the edges are cut off, not drawn elsewhere.
    state.ChannelOn = {true, true, false, false};
    state.ZeroRow = {-60, 450, 0, 0};
    ScopeCanvas edge;
    DrawZeros(edge, state);
    EXPECT_TRUE(inked(edge, Ink::Channel1).empty());
    EXPECT_TRUE(inked(edge, Ink::Channel2).empty());
}

TEST(ScopeDrawing, OnlyFourChannelShotsTraceChannelsThreeAndFourButAllMarkTheirZeros) {
    for (int mode : {2, 3, 4, 5}) {
        ScopeState state;
        state.ChannelMode = mode;
        state.ChannelOn = {true, true, true, true};
        ScopeCanvas canvas;
        drawScreen(canvas, state, {});
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(inked(canvas, channelInk(k), 12, 0, 612, 387).empty(), k > 2 && mode != 4)
                << "mode " << mode << ", trace " << k;
            EXPECT_FALSE(inked(canvas, channelInk(k), 0, 0, 10, 410).empty())
                << "mode " << mode << ", zero " << k;
        }
    }
}

TEST(ScopeDrawing, WhatEachSwitchLeavesOnTheScreen) {
    ScopeState state;
    state.ChannelMode = 4;
    state.ChannelOn = {true, false, false, false};
    struct Case {
        ScopeView view;
        bool graticule, trace, marker, cursors;
    };
    const Case cases[] = {
        {{}, true, true, true, false},
        {{.grid = false}, false, true, true, false},
        {{.zeros = false}, true, true, false, false},
        {{.cursorH = true}, true, true, true, true},
        {{.cursorV = true}, true, true, true, true},
    };
    for (const Case& c : cases) {
        ScopeCanvas canvas;
        drawScreen(canvas, state, c.view);
        EXPECT_EQ(!inked(canvas, Ink::Graticule).empty(), c.graticule);
        EXPECT_EQ(!inked(canvas, Ink::Channel1, 12, 0, 612, 387).empty(), c.trace);
        EXPECT_EQ(!inked(canvas, Ink::Channel1, 0, 0, 10, 410).empty(), c.marker);
        EXPECT_EQ(!inked(canvas, Ink::Cursor).empty(), c.cursors);
    }
}

TEST(ScopeDrawing, CursorsAreDashedLines) {
    ScopeState state;
    ScopeCanvas canvas;
    DrawCursors(canvas, state, true, true);
    struct Case {
        int x, y;
        bool set;
    };
    const Case cases[] = {
        {13, 70, true},   {14, 70, true},    {15, 70, false},  {12, 210, false},
        {610, 210, true}, {611, 70, false},  {11, 70, false},  {70, 2, true},
        {70, 3, false},   {550, 384, false}, {550, 383, true}, {550, 385, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(canvas.at(c.x, c.y) == Ink::Cursor, c.set) << c.x << "," << c.y;
}

TEST(ScopeDrawing, LaterLayersCoverEarlierOnes) {
    ScopeState state;
    state.ChannelMode = 4;
    state.ChannelOn = {true, true, false, false};
    std::fill(state.Samples[0].begin(), state.Samples[0].end(), 70);
    std::fill(state.Samples[1].begin(), state.Samples[1].end(), 193);
    state.ZeroRow = {60, 180, 0, 0};
    ScopeCanvas canvas;
    drawScreen(canvas, state, {.cursorH = true});
    EXPECT_EQ(canvas.at(311, 193), Ink::Channel2) << "trace over the graticule";
    EXPECT_EQ(canvas.at(13, 70), Ink::Cursor) << "cursor over the trace";
    EXPECT_EQ(canvas.at(12, 70), Ink::Channel1) << "trace where the cursor has a gap";

    // Channel 2 runs over channel 1 where both lie on one row.
    std::fill(state.Samples[1].begin(), state.Samples[1].end(), 70);
    drawScreen(canvas, state, {});
    EXPECT_EQ(canvas.at(100, 70), Ink::Channel2);
}

TEST(ScopeDrawing, AFactorPastTheSamplesEndsTheTrace) {
    auto state = flatTrace(1, 100);
    state->SamplesPerPixel = 255; // point 64 is the last one inside the copy
    ScopeCanvas canvas;
    DrawSignals(canvas, *state, 0);
    EXPECT_EQ(canvas.at(12 + 63, 100), Ink::Channel1);
    EXPECT_NE(canvas.at(12 + 64, 100), Ink::Channel1);

    state->SamplesPerPixel = -1;
    ScopeCanvas backwards;
    DrawSignals(backwards, *state, 0);
    EXPECT_TRUE(inked(backwards, Ink::Channel1).empty());
}

TEST(ScopeDrawing, ColourTable) {
    constexpr std::uint32_t black = 0x000000, white = 0xFFFFFF, yellow = 0xFFFF00, green = 0x00FF00,
                            blue = 0x0000FF, red = 0xFF0000, orange = 0xFF8000;
    struct Case {
        bool colour, invert;
        std::vector<std::uint32_t> inks; // background, graticule, channels 1-4, cursors
    };
    const Case cases[] = {
        {true, false, {black, white, yellow, green, blue, red, orange}},
        {true, true, {white, black, yellow, green, blue, red, orange}},
        {false, false, {white, black, black, black, black, black, black}},
        {false, true, {white, black, black, black, black, black, black}},
    };
    for (const Case& c : cases) {
        const auto palette = scopePalette(scopeColours(c.colour, c.invert));
        const std::vector<std::uint32_t> inks(palette.begin() + 1, palette.end());
        EXPECT_EQ(inks, c.inks) << c.colour << c.invert;
    }
}

} // namespace
} // namespace kavlon
