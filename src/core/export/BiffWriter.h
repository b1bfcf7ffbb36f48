#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kavlon {

// Takes one full block of the writer's bytes; false when it could not be kept.
using BlockSink = std::function<bool(std::string_view block)>;

// The spreadsheet's record stream: BOF, text cells (LABEL) and EOF, little-endian,
// nothing else. A full table is some 150,000 records, so they gather in a block
// that goes to the sink when full; a refused block ends the writing.
class BiffWriter {
public:
    static constexpr std::size_t kBlockSize = 256 * 1024;
    // Longer texts are cut: a LABEL of this record format holds no more.
    static constexpr std::size_t kMaxLabelLength = 255;

    explicit BiffWriter(BlockSink sink, std::size_t blockSize = kBlockSize);

    void writeBOF(std::uint16_t build = 0);
    // utf8 is written in the ANSI code page. A cell outside 0..65535 is not written.
    void writeLabel(int column, int row, std::string_view utf8);
    void writeEOF();
    // Hands over what is left; false when the sink refused any block.
    bool finish();

private:
    void append(const std::uint8_t* bytes, std::size_t size);
    void append(std::string_view bytes) {
        append(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    void flush();

    BlockSink m_sink;
    std::size_t m_blockSize;
    std::string m_block;
    std::string m_ansi;
    bool m_failed = false;
};

} // namespace kavlon
