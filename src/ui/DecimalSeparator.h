#pragma once

namespace kavlon {

// The user's decimal mark for the numbers the windows show and write; a point where
// the locale's is not one ASCII character.
char localeDecimalSeparator();

} // namespace kavlon
