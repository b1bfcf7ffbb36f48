#pragma once

#include "core/shot/ShotSettings.h"

#include <string>
#include <string_view>
#include <vector>

namespace kavlon {

// The picture a Scope display prints or saves: its screen between a header of two
// text lines and a footer of two, on paper.
constexpr int kPictureWidth = 614;
constexpr int kPictureHeight = 447;
// The screen's rows 0 to 386, full width, land on the picture's rows 30 to 416.
constexpr int kPictureScreenTop = 30;
constexpr int kPictureScreenRows = 387;

// One text of the picture, its top left corner at (x, y). A text is clipped to
// its band (y up to the next band or the picture's bottom), so a tall font never
// writes into the screen.
struct PictureText {
    int x = 0;
    int y = 0;
    int bandHeight = 0;
    std::string text;

    bool operator==(const PictureText&) const = default;
};

// The first header line: the series, the moment the picture was taken and the
// display's caption (all UTF-8).
std::string pictureHeader(std::string_view dateTime, std::string_view caption);

// Every text of the picture, in drawing order: the header line, the timebase and
// trigger texts, then the volts and zero footers of all four channels whatever the
// shot's channel mode, since the footer layout never depends on it.
std::vector<PictureText> pictureTexts(const ShotSettings& shot, std::string_view caption,
                                      std::string_view dateTime);

// Where a printed page takes the picture: the page less a twentieth of its width
// and of its height at each edge, in the page's pixels, from (left, top) up to
// (right, bottom). The aspect ratio is not kept.
struct PageRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const PageRect&) const = default;
};
PageRect printTarget(int pageWidth, int pageHeight);

// numerator / denominator to the nearest integer, halves to the even one
// (numerator >= 0, denominator > 0).
long long roundHalfEven(long long numerator, long long denominator);

} // namespace kavlon
