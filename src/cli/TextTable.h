#pragma once

#include <string>
#include <vector>

namespace kavlon::cli {

// Characters on a terminal, not bytes: µ and ° take two bytes each in UTF-8.
std::size_t displayWidth(const std::string& text);
// text with blanks after it up to `to` characters.
std::string padded(const std::string& text, std::size_t to);
// Rows of cells as aligned columns two blanks apart, each line without trailing blanks.
std::string alignedTable(const std::vector<std::vector<std::string>>& rows);

} // namespace kavlon::cli
