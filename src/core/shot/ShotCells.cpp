#include "core/shot/ShotCells.h"

#include "core/scales/ScaleTables.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kavlon {

namespace {

constexpr std::array<std::string_view, ShotCells::kColumns> kChannelHeadings = {
    "", "CH I", "CH I", "CH II", "CH II", "CH III", "CH III", "CH IV", "CH IV",
};

CellText textOf(std::string_view text) {
    CellText cell;
    cell.size = std::min(text.size(), cell.chars.size());
    std::memcpy(cell.chars.data(), text.data(), cell.size);
    return cell;
}

CellText numberText(int value) {
    CellText cell;
    auto [end, ec] = std::to_chars(cell.chars.data(), cell.chars.data() + cell.chars.size(), value);
    cell.size = ec == std::errc() ? std::size_t(end - cell.chars.data()) : 0;
    return cell;
}

CellText headingText(int column, int row) {
    if (row == 0)
        return textOf(kChannelHeadings[std::size_t(column)]);
    if (column == 0)
        return textOf("Number");
    return textOf(column % 2 == 1 ? "Value" : "Voltage");
}

bool validChannel(int channel) {
    return channel >= 1 && channel <= kChannels;
}

} // namespace

ShotCells::ShotCells() {
    for (Column& column : m_channels)
        column.raw.assign(kNumberedRows, 0);
}

void ShotCells::setRowCount(int rows) {
    m_rowCount = std::clamp(rows, kHeadingRows, kRows);
}

const ShotCells::Run* ShotCells::runOf(const Column& column, int sample) const {
    auto it = std::upper_bound(column.runs.begin(), column.runs.end(), sample,
                               [](int s, const Run& run) { return s < run.end; });
    return it == column.runs.end() ? nullptr : &*it;
}

void ShotCells::coverPrefix(Column& column, int count, bool written, const ChannelScale& scale) {
    if (count <= 0)
        return;
    // Stretches wholly inside the new prefix are gone; longer ones keep their tail.
    auto firstLonger = std::upper_bound(column.runs.begin(), column.runs.end(), count,
                                        [](int c, const Run& run) { return c < run.end; });
    column.runs.erase(column.runs.begin(), firstLonger);
    column.runs.insert(column.runs.begin(), Run{count, written, scale});
}

void ShotCells::writeChannel(int channel, std::span<const std::uint8_t> samples, const ChannelScale& scale) {
    if (!validChannel(channel))
        return;
    Column& column = m_channels[std::size_t(channel - 1)];
    const std::size_t count = std::min(samples.size(), column.raw.size());
    std::memcpy(column.raw.data(), samples.data(), count);
    coverPrefix(column, int(count), true, scale);
}

void ShotCells::blankChannel(int channel, int count) {
    if (!validChannel(channel))
        return;
    Column& column = m_channels[std::size_t(channel - 1)];
    coverPrefix(column, std::min(count, int(column.raw.size())), false, {});
}

std::optional<std::uint8_t> ShotCells::rawValue(int channel, int sample) const {
    if (!validChannel(channel) || sample < 0 || sample >= kNumberedRows)
        return std::nullopt;
    const Column& column = m_channels[std::size_t(channel - 1)];
    const Run* run = runOf(column, sample);
    if (run == nullptr || !run->written)
        return std::nullopt;
    return column.raw[std::size_t(sample)];
}

CellText ShotCells::cellText(int column, int row, char decimalSeparator) const {
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows)
        return {};
    if (row < kHeadingRows)
        return headingText(column, row);
    const int sample = row - kHeadingRows;
    if (column == 0)
        return numberText(sample);

    const int channel = (column + 1) / 2;
    const Column& store = m_channels[std::size_t(channel - 1)];
    const Run* run = runOf(store, sample);
    if (run == nullptr || !run->written)
        return {};
    const int raw = store.raw[std::size_t(sample)];
    if (column % 2 == 1)
        return numberText(raw);

    const ChannelScale& s = run->scale;
    const auto volts = voltageOf(s.probeIndex, s.voltsIndex, s.zeroLevel - raw);
    if (!volts)
        return {};
    return textOf(FormatVoltage(*volts, decimalSeparator).view());
}

std::size_t ShotCells::footprint() const {
    std::size_t bytes = sizeof(*this);
    for (const Column& column : m_channels)
        bytes += column.raw.capacity() + column.runs.capacity() * sizeof(Run);
    return bytes;
}

} // namespace kavlon
