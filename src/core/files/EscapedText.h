#pragma once

#include <string>
#include <string_view>

namespace kavlon {

// Text from a file (or a file's name) as a message may show it: every control
// character, and every byte that is no part of a UTF-8 character, written as \xHH
// (ESC as \x1b), the rest as it is. Taken raw, a NUL would cut the message short, a
// line end split it, and an escape sequence work on the terminal that shows it.
std::string escapeControlCharacters(std::string_view text);

} // namespace kavlon
