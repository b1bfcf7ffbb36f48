#pragma once

#include <string>
#include <vector>

namespace kavlon::cli {

// Rows of cells as aligned columns two blanks apart, each line without trailing blanks;
// widths count characters, not UTF-8 bytes.
std::string alignedTable(const std::vector<std::vector<std::string>>& rows);

} // namespace kavlon::cli
