#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kavlon {

// What the Print button does with the picture: the value of the quick-print
// option "Print as ..." or of the instrument's quick-print request.
enum class PrintKind { Printer = 0, Bmp = 1, Jpeg = 2 };

// How the save dialog offers a picture file: the extension a name without one
// gets, and the filters, each "description (*.ext)".
struct PictureFileType {
    std::string_view defaultExtension;
    std::span<const std::string_view> filters;
};

// The file type of a kind that saves, nothing for the printer or an unknown kind.
std::optional<PictureFileType> pictureFileType(int printKind);

// "QV_" and the first number from 00000 to 99999 that makes a name nobody has
// taken yet, with the extension; nothing when all are taken.
std::optional<std::string> firstFreePictureName(std::string_view extension,
                                                const std::function<bool(const std::string&)>& taken);

} // namespace kavlon
