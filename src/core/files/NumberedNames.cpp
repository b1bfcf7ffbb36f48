#include "core/files/NumberedNames.h"

#include <cstdio>
#include <system_error>

namespace kavlon {

std::string numberedName(int number, std::string_view extension) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "QV_%05d", number);
    return digits + std::string(extension);
}

namespace {

// The first number from first on, below count, whose name nothing in folder takes.
std::optional<int> firstFreeNumber(const std::filesystem::path& folder, std::string_view extension, int first,
                                   int count) {
    for (int number = first; number < count; ++number) {
        std::error_code error;
        // A dangling link takes the name as well as a file does.
        if (!std::filesystem::exists(
                std::filesystem::symlink_status(folder / numberedName(number, extension), error)))
            return number;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::filesystem::path> firstFreeNumberedName(const std::filesystem::path& folder,
                                                           std::string_view extension, int count) {
    const auto number = firstFreeNumber(folder, extension, 0, count);
    return number ? std::optional(folder / numberedName(*number, extension)) : std::nullopt;
}

NumberedSave saveUnderFreeName(const std::filesystem::path& folder, std::string_view extension,
                               const std::function<SaveResult(const std::filesystem::path&)>& save,
                               int count) {
    // A name taken meanwhile sends the file on to the next free one after it: the
    // names before were taken when they were looked at.
    for (auto number = firstFreeNumber(folder, extension, 0, count); number;
         number = firstFreeNumber(folder, extension, *number + 1, count)) {
        std::filesystem::path path = folder / numberedName(*number, extension);
        SaveResult result = save(path);
        if (!result.nameTaken)
            return {std::move(path), std::move(result)};
    }
    return {{},
            {false,
             "every name from " + numberedName(0, extension) + " to " + numberedName(count - 1, extension) +
                 " is taken",
             true}};
}

} // namespace kavlon
