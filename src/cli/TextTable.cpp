#include "cli/TextTable.h"

#include <algorithm>

namespace kavlon::cli {

namespace {

// Characters on a terminal, not bytes: µ and ° take two bytes each in UTF-8.
std::size_t displayWidth(const std::string& text) {
    return std::size_t(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string padded(const std::string& text, std::size_t to) {
    return text + std::string(to > displayWidth(text) ? to - displayWidth(text) : 0, ' ');
}

} // namespace

std::string alignedTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], displayWidth(row[c]));
    }
    std::string table;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c)
            line += (c > 0 ? "  " : "") + padded(row[c], widths[c]);
        line.erase(line.find_last_not_of(' ') + 1);
        table += line + "\n";
    }
    return table;
}

} // namespace kavlon::cli
