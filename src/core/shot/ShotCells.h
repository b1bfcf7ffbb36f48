#pragma once

#include "core/acquisition/AcquisitionState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kavlon {

// One cell's text, made when it is shown or exported; no allocation.
struct CellText {
    std::array<char, 32> chars{};
    std::size_t size = 0;
    std::string_view view() const { return {chars.data(), size}; }
};

// What a channel's voltage cells need to be written again exactly as at their transfer.
struct ChannelScale {
    int zeroLevel = 0;
    int probeIndex = 0;
    int voltsIndex = 0;
    bool operator==(const ChannelScale&) const = default;
};

// The sample table of a Data display: two heading rows, then one row per sample with
// its number and, per channel, the raw value and its voltage. It keeps the raw byte of
// every cell and, for each stretch of rows a transfer wrote, that transfer's channel
// scale; texts are made on demand. Other displays read cells back as text, including
// rows past the visible row count, so nothing here is tied to the row count.
class ShotCells {
public:
    static constexpr int kColumns = 9;
    static constexpr int kHeadingRows = 2;
    static constexpr int kNumberedRows = 16385; // sample numbers 0-16384
    static constexpr int kRows = kHeadingRows + kNumberedRows;
    static constexpr int kInitialRowCount = 16300;

    ShotCells();

    // The text of any cell; empty outside the table, for cells never written and for
    // a disabled channel. The caller supplies the locale's decimal separator.
    CellText cellText(int column, int row, char decimalSeparator = '.') const;

    // Sample `sample` of channel 1-4 as last written, without going through text;
    // nullopt where the cell is empty.
    std::optional<std::uint8_t> rawValue(int channel, int sample) const;

    // Rows the grid shows, the two headings included.
    int rowCount() const { return m_rowCount; }
    void setRowCount(int rows);

    // Writes samples 0..samples.size()-1 of channel 1-4 (rows 2 onwards) with their
    // scale; samples past the table are ignored.
    void writeChannel(int channel, std::span<const std::uint8_t> samples, const ChannelScale& scale);
    // Empties the cells of samples 0..count-1 of channel 1-4.
    void blankChannel(int channel, int count);

    // Bytes held by the store, heap included.
    std::size_t footprint() const;

private:
    // Samples [previous run's end, end) were written by one transfer, with this scale,
    // or emptied when scale is missing. Runs are ordered by end.
    struct Run {
        int end = 0;
        bool written = false;
        ChannelScale scale;
    };
    struct Column {
        std::vector<std::uint8_t> raw;
        std::vector<Run> runs;
    };

    void coverPrefix(Column& column, int count, bool written, const ChannelScale& scale);
    const Run* runOf(const Column& column, int sample) const;

    std::array<Column, kChannels> m_channels;
    int m_rowCount = kInitialRowCount;
};

} // namespace kavlon
