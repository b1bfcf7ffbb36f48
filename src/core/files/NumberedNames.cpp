#include "core/files/NumberedNames.h"

#include <cstdio>
#include <system_error>

namespace kavlon {

std::string numberedName(int number, std::string_view extension) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "QV_%05d", number);
    return digits + std::string(extension);
}

std::optional<std::filesystem::path> firstFreeNumberedName(const std::filesystem::path& folder,
                                                           std::string_view extension, int count) {
    for (int number = 0; number < count; ++number) {
        std::filesystem::path candidate = folder / numberedName(number, extension);
        std::error_code error;
        // A dangling link takes the name as well as a file does.
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error)))
            return candidate;
    }
    return std::nullopt;
}

NumberedSave saveUnderFreeName(const std::filesystem::path& folder, std::string_view extension,
                               const std::function<SaveResult(const std::filesystem::path&)>& save,
                               int count) {
    // Each new try follows a name that was taken meanwhile, so there are at most count.
    for (int tries = 0; tries < count; ++tries) {
        const auto path = firstFreeNumberedName(folder, extension, count);
        if (!path)
            break;
        SaveResult result = save(*path);
        if (!result.nameTaken)
            return {*path, std::move(result)};
    }
    return {{},
            {false,
             "every name from " + numberedName(0, extension) + " to " + numberedName(count - 1, extension) +
                 " is taken",
             true}};
}

} // namespace kavlon
