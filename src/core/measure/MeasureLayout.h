#pragma once

#include "core/measure/MeasureSignal.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace kavlon {

// Where the Measure window puts things, in pixels of its client area, paint boxes and
// panels, by the channels it shows.

constexpr int kMeasureRowHeight = 21;
constexpr int kMeasureColumnWidth = 121;
constexpr int kMeasureCaptionX = 5;
constexpr int kMeasureFirstValueX = 125;
constexpr int kMeasureFirstHeadingX = 91;

// Channels shown: I and II when on, III and IV when on in a shot of more than two channels.
std::vector<int> shownChannels(const MeasureCopy& copy);
// The phase and delay rows are shown when more than one channel is and channel I is among them.
bool showsPhaseRows(const std::vector<int>& shown);
// "Channel I" .. "Channel IV", the column headings.
extern const std::array<std::string_view, kChannels> kMeasureChannelNames;

struct MeasureSizes {
    int windowWidth = 0, windowHeight = 0;       // the outer size the window was designed at
    int gridPanelWidth = 0, gridPanelHeight = 0; // Grid_Panel
    int gridWidth = 0, gridHeight = 0;           // Grid_PB
    int headingPanelWidth = 0;                   // Ch_Panel
    int headingWidth = 0;                        // Channel_PB
    int symbolHeight = 0;                        // Symbol_Image
};
// Nothing for no shown channel (sizes stay as they are) or more than four.
std::optional<MeasureSizes> measureSizes(int shown);

struct PlacedText {
    std::string_view text;
    int x = 0;
    int y = 0;
};
// "Measure" and the names of the shown channels, on the heading.
std::vector<PlacedText> headingTexts(const std::vector<int>& shown);
// The heading's separators and the table's vertical and horizontal lines.
std::vector<int> headingSeparators(int shown);
std::vector<int> tableColumns(int shown);
std::vector<int> tableRows(int shown);
// The row captions, then each shown channel's cells, the phase and delay rows only
// where they are shown.
std::vector<PlacedText> tableTexts(const std::vector<int>& shown, const MeasureCellTable& cells);

} // namespace kavlon
