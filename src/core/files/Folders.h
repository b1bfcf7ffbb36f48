#pragma once

#include <filesystem>
#include <string>

namespace kavlon {

// Makes folder and the folders above it where they are missing. Empty when folder is
// a folder now, otherwise the real cause in the platform's words: "Permission denied"
// for a parent that may not be written, "Not a directory" where a file holds the name
// of one of them (never "File exists", which sounds like success).
std::string makeFolders(const std::filesystem::path& folder);

} // namespace kavlon
