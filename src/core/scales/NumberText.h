#pragma once

#include <string>

namespace kavlon {

// value in fixed notation with `decimals` places, padded with blanks on the left to at
// least `width` characters (printf's "%3.1f" is width 3, one decimal), with the
// caller's decimal mark. Empty for a value that is not finite.
std::string formatFixed(double value, int decimals, char decimalSeparator = '.', int width = 3);

} // namespace kavlon
