#include "core/scales/NumberText.h"

#include <charconv>
#include <cmath>

namespace kavlon {

std::string formatFixed(double value, int decimals, char decimalSeparator, int width) {
    if (!std::isfinite(value))
        return {};
    char number[352]; // the longest double in fixed notation, with room for decimals
    const auto [end, ec] =
        std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return {};
    std::string text;
    const auto length = int(end - number);
    if (length < width)
        text.assign(std::size_t(width - length), ' ');
    for (const char* c = number; c != end; ++c)
        text += *c == '.' ? decimalSeparator : *c;
    return text;
}

} // namespace kavlon
