#include "core/export/BiffWriter.h"

#include "core/scales/TextEncoding.h"

#include <algorithm>
#include <array>

namespace kavlon {

namespace {

// The three records as fixed patterns; only the marked fields change.
constexpr std::array<std::uint8_t, 12> kBOF = {
    0x09, 0x08, 0x08, 0x00, // type, length 8
    0x00, 0x00,             // version
    0x10, 0x00,             // a worksheet
    0x00, 0x00,             // build (patched)
    0x00, 0x00,             // year
};
constexpr std::array<std::uint8_t, 12> kLabelHead = {
    0x04, 0x02, 0x00, 0x00, // type, length 8 + L (patched)
    0x00, 0x00,             // row (patched)
    0x00, 0x00,             // column (patched)
    0x00, 0x00,             // cell format
    0x00, 0x00,             // L (patched)
};
constexpr std::array<std::uint8_t, 4> kEOF = {0x0A, 0x00, 0x00, 0x00};

void patch(std::uint8_t* at, std::size_t value) {
    at[0] = std::uint8_t(value & 0xFF);
    at[1] = std::uint8_t((value >> 8) & 0xFF);
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

} // namespace

BiffWriter::BiffWriter(BlockSink sink, std::size_t blockSize)
    : m_sink(std::move(sink)), m_blockSize(std::max<std::size_t>(blockSize, 64)) {
    m_block.reserve(m_blockSize);
}

void BiffWriter::append(const std::uint8_t* bytes, std::size_t size) {
    if (m_block.size() + size > m_blockSize)
        flush();
    m_block.append(reinterpret_cast<const char*>(bytes), size);
}

void BiffWriter::flush() {
    if (!m_failed && !m_block.empty() && !m_sink(m_block))
        m_failed = true;
    m_block.clear();
}

void BiffWriter::writeBOF(std::uint16_t build) {
    auto record = kBOF;
    patch(&record[8], build);
    append(record.data(), record.size());
}

void BiffWriter::writeLabel(int column, int row, std::string_view utf8) {
    if (column < 0 || column > 0xFFFF || row < 0 || row > 0xFFFF)
        return;
    // Table cells are plain ASCII almost always; only the others pay for a conversion.
    std::string_view text = utf8;
    if (!isAscii(utf8)) {
        m_ansi = toAnsi(utf8);
        text = m_ansi;
    }
    text = text.substr(0, kMaxLabelLength);
    auto head = kLabelHead;
    patch(&head[2], 8 + text.size());
    patch(&head[4], std::size_t(row));
    patch(&head[6], std::size_t(column));
    patch(&head[10], text.size());
    append(head.data(), head.size());
    append(text);
}

void BiffWriter::writeEOF() {
    append(kEOF.data(), kEOF.size());
}

bool BiffWriter::finish() {
    flush();
    return !m_failed;
}

} // namespace kavlon
