#include "core/files/Folders.h"

#include <system_error>

namespace kavlon {

std::string makeFolders(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // Something of that name that is no folder: create_directories calls it EEXIST.
    if (error == std::errc::file_exists ||
        (!error && !std::filesystem::is_directory(folder, error) && !error))
        error = std::make_error_code(std::errc::not_a_directory);
    return error ? error.message() : std::string();
}

} // namespace kavlon
