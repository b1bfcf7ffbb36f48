#pragma once

#include <string>
#include <string_view>

namespace kavlon {

// The program's texts are UTF-8. Files the instrument's users open elsewhere
// (spreadsheets, the settings file) are written in the 8-bit ANSI code page, where
// the micro sign is the single byte 0xB5. Characters up to U+00FF map to their own
// byte; anything else, or a broken UTF-8 sequence, becomes '?'.
std::string toAnsi(std::string_view utf8);

// The reverse: each byte of Latin-1 text becomes its UTF-8 character.
std::string fromAnsi(std::string_view ansi);

} // namespace kavlon
