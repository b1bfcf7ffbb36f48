#pragma once

#include "core/scpi/ScpiParser.h"

#include <optional>
#include <string>
#include <string_view>

namespace kavlon::scpi {

// What a measurement or a setting answers when it has no value: SCPI's not-a-number.
constexpr double kNotANumber = 9.91e37;

// A number as NR3 in the shortest form that reads back to the same double: "2E-04",
// "-1.5E+00", "9.91E+37".
std::string nr3(double value);
// The same of a single-precision value, as short as that value needs: "4E-06".
std::string nr3(float value);

// A numeric parameter in a base unit: bare, or with the unit ("S", "V") alone or after
// a multiplier ("MS", "US", "NS", "MV", "KV"). Nothing, and the error, for anything else.
struct Quantity {
    std::optional<double> value;
    Error error = Error::None;
};
Quantity quantityIn(const Parameter& p, char unit);

// ON, OFF, 1 or 0.
std::optional<bool> booleanOf(const Parameter& p);

// "CHANnel<n>" (any case, short or long) with the number n; nothing for other words.
std::optional<int> channelWordOf(const Parameter& p);

// An IEEE 488.2 definite-length block: '#', the count of length digits, the length, the bytes.
std::string definiteBlock(std::string_view bytes);

} // namespace kavlon::scpi
