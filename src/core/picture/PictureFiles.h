#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace kavlon {

// What the Print button does with the picture: the value of the quick-print
// option "Print as ..." or of the instrument's quick-print request.
enum class PrintKind { Printer = 0, Bmp = 1, Jpeg = 2 };

// How the save dialog offers a picture file: the extension a name without one
// gets (the proposed numbered name's too), and the filters, each "description (*.ext)".
struct PictureFileType {
    std::string_view defaultExtension;
    std::span<const std::string_view> filters;
};

// The file type of a kind that saves, nothing for the printer or an unknown kind.
std::optional<PictureFileType> pictureFileType(int printKind);

} // namespace kavlon
