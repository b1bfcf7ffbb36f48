#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>

namespace kavlon::test {

using Cell = std::pair<int, int>; // row, column
using Sheet = std::map<Cell, std::string>;

// Reads a record stream back: the labels by cell (in ANSI), failing on anything but
// one BOF first, LABELs, and one EOF last.
inline Sheet readLabels(const std::string& bytes) {
    auto u16 = [&](std::size_t at) {
        return int(std::uint8_t(bytes[at])) | int(std::uint8_t(bytes[at + 1])) << 8;
    };
    Sheet sheet;
    std::size_t at = 0;
    int index = 0;
    bool ended = false;
    while (at + 4 <= bytes.size() && !ended) {
        const int type = u16(at);
        const std::size_t length = std::size_t(u16(at + 2));
        const std::string data = bytes.substr(at + 4, length);
        EXPECT_EQ(data.size(), length) << "record " << index << " runs past the end";
        if (index == 0)
            EXPECT_EQ(type, 0x0809);
        else if (type == 0x000A)
            ended = true;
        else if (type == 0x0204 && length >= 8) {
            EXPECT_EQ(std::size_t(u16(at + 10)), length - 8);
            const Cell cell{u16(at + 4), u16(at + 6)};
            EXPECT_FALSE(sheet.count(cell))
                << "cell " << cell.first << "," << cell.second << " written twice";
            sheet[cell] = data.substr(8);
        } else
            ADD_FAILURE() << "record " << index << " of type " << type;
        at += 4 + length;
        ++index;
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(at, bytes.size()) << "bytes after EOF";
    return sheet;
}

// The labels of the spreadsheet file at path.
inline Sheet readSheetFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return readLabels({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

} // namespace kavlon::test
