#include "core/picture/PictureFiles.h"

#include <array>

namespace kavlon {

namespace {

constexpr std::array<std::string_view, 1> kBmpFilters = {"Bitmap-Grafikdatei (*.bmp)"};
constexpr std::array<std::string_view, 2> kJpegFilters = {"JPEG-Grafikdatei (*.jpg)",
                                                          "JPEG-Grafikdatei (*.jpeg)"};

} // namespace

std::optional<PictureFileType> pictureFileType(int printKind) {
    switch (PrintKind(printKind)) {
    case PrintKind::Bmp:
        return PictureFileType{"bmp", kBmpFilters};
    case PrintKind::Jpeg:
        return PictureFileType{"jpg", kJpegFilters};
    default:
        return std::nullopt;
    }
}

} // namespace kavlon
