#include "core/picture/PictureFiles.h"

#include <array>
#include <cstdio>

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

std::optional<std::string> firstFreePictureName(std::string_view extension,
                                                const std::function<bool(const std::string&)>& taken) {
    for (int number = 0; number <= 99999; ++number) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%05d", number);
        std::string name = "QV_" + std::string(digits) + "." + std::string(extension);
        if (!taken(name))
            return name;
    }
    return std::nullopt;
}

} // namespace kavlon
