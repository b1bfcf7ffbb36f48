#include "core/measure/MeasureLayout.h"

#include <algorithm>

namespace kavlon {

const std::array<std::string_view, kChannels> kMeasureChannelNames = {"Channel I", "Channel II",
                                                                      "Channel III", "Channel IV"};

namespace {

constexpr int rowY(int row) {
    return 1 + kMeasureRowHeight * row;
}

} // namespace

std::vector<int> shownChannels(const MeasureCopy& copy) {
    std::vector<int> shown;
    for (int k = 0; k < kChannels; ++k)
        if (copy.ChannelOn[std::size_t(k)] && (k < 2 || copy.ChannelMode > 2))
            shown.push_back(k);
    return shown;
}

bool showsPhaseRows(const std::vector<int>& shown) {
    return shown.size() > 1 && std::find(shown.begin(), shown.end(), 0) != shown.end();
}

std::optional<MeasureSizes> measureSizes(int shown) {
    if (shown < 1 || shown > kChannels)
        return std::nullopt;
    // One channel leaves out the phase and delay rows; every further channel adds a column.
    const int extra = kMeasureColumnWidth * (shown - 1);
    MeasureSizes s;
    const bool one = shown == 1;
    s.windowWidth = 330 + extra;
    s.windowHeight = one ? 440 : 524;
    s.gridPanelWidth = 305 + extra;
    s.gridPanelHeight = one ? 380 : 464;
    s.gridWidth = 242 + extra;
    s.gridHeight = one ? 378 : 462;
    s.headingPanelWidth = 192 + extra;
    s.headingWidth = 190 + extra;
    s.symbolHeight = one ? 378 : 462;
    return s;
}

std::vector<PlacedText> headingTexts(const std::vector<int>& shown) {
    std::vector<PlacedText> texts = {{"Measure", 3, 1}};
    int x = kMeasureFirstHeadingX;
    for (int k : shown) {
        texts.push_back({kMeasureChannelNames[std::size_t(k)], x, 1});
        x += kMeasureColumnWidth;
    }
    return texts;
}

std::vector<int> headingSeparators(int shown) {
    std::vector<int> xs;
    for (int j = 1; j <= shown; ++j)
        xs.push_back(kMeasureColumnWidth * j - 53);
    return xs;
}

std::vector<int> tableColumns(int shown) {
    std::vector<int> xs;
    for (int j = 0; j <= shown; ++j)
        xs.push_back(kMeasureColumnWidth * j);
    return xs;
}

std::vector<int> tableRows(int shown) {
    std::vector<int> ys;
    const int last = shown == 1 ? 17 : kMeasureRows - 1;
    for (int i = 0; i <= last; ++i)
        ys.push_back(kMeasureRowHeight * i);
    return ys;
}

std::vector<PlacedText> tableTexts(const std::vector<int>& shown, const MeasureCellTable& cells) {
    std::vector<PlacedText> texts;
    for (int r = 0; r < kMeasureRows; ++r)
        texts.push_back({kMeasureCaptions[std::size_t(r)], kMeasureCaptionX, rowY(r)});
    const int rows = showsPhaseRows(shown) ? kMeasureRows : kFirstPhaseRow;
    int x = kMeasureFirstValueX;
    for (int k : shown) {
        for (int r = 0; r < rows; ++r)
            texts.push_back({cells[std::size_t(k)][std::size_t(r)], x, rowY(r)});
        x += kMeasureColumnWidth;
    }
    return texts;
}

} // namespace kavlon
