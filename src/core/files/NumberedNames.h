#pragma once

#include "core/files/AtomicFile.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kavlon {

// The names the program makes up for its files: "QV_", five digits and an extension
// (with its dot), QV_00000.xls to QV_99999.xls.
constexpr int kNumberedNameCount = 100000;
std::string numberedName(int number, std::string_view extension);

// The first of the first count numbered names that nothing in folder takes, a link to
// nowhere included; nothing when all are taken.
std::optional<std::filesystem::path> firstFreeNumberedName(const std::filesystem::path& folder,
                                                           std::string_view extension,
                                                           int count = kNumberedNameCount);

struct NumberedSave {
    std::filesystem::path path; // empty when every name was taken
    SaveResult result;
};

// Saves under the first free numbered name through save, which must never replace
// (Existing::Keep). When another program takes the name while the file is written, the
// file goes under the next free one: an earlier file is never replaced, and no save
// fails only because two wrote into one folder at once.
NumberedSave saveUnderFreeName(const std::filesystem::path& folder, std::string_view extension,
                               const std::function<SaveResult(const std::filesystem::path&)>& save,
                               int count = kNumberedNameCount);

} // namespace kavlon
