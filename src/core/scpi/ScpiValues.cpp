#include "core/scpi/ScpiValues.h"

#include "core/scpi/ScpiHeaders.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kavlon::scpi {

namespace {

template <class T> std::string scientific(T value) {
    std::array<char, 48> chars{};
    const auto [end, ec] =
        std::to_chars(chars.data(), chars.data() + chars.size(), value, std::chars_format::scientific);
    std::string text(chars.data(), ec == std::errc() ? end : chars.data());
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

struct Multiplier {
    std::string_view prefix;
    double factor;
};
constexpr std::array<Multiplier, 7> kMultipliers = {{
    {"", 1.0},
    {"K", 1e3},
    {"MA", 1e6},
    {"M", 1e-3},
    {"U", 1e-6},
    {"N", 1e-9},
    {"P", 1e-12},
}};

} // namespace

std::string nr3(double value) {
    return scientific(value);
}

std::string nr3(float value) {
    return scientific(value);
}

Quantity quantityIn(const Parameter& p, char unit) {
    if (p.kind != Parameter::Kind::Numeric)
        return {std::nullopt, Error::DataType};
    if (p.suffix.empty())
        return {p.number, Error::None};
    if (p.suffix.back() != unit)
        return {std::nullopt, Error::InvalidSuffix};
    const std::string_view prefix = std::string_view(p.suffix).substr(0, p.suffix.size() - 1);
    for (const Multiplier& m : kMultipliers) {
        if (prefix == m.prefix) {
            const double value = p.number * m.factor;
            if (!std::isfinite(value))
                return {std::nullopt, Error::NumericData};
            return {value, Error::None};
        }
    }
    return {std::nullopt, Error::InvalidSuffix};
}

std::optional<bool> booleanOf(const Parameter& p) {
    if (p.kind == Parameter::Kind::Numeric && p.suffix.empty() && (p.number == 0 || p.number == 1))
        return p.number == 1;
    if (p.kind == Parameter::Kind::Character && (p.text == "ON" || p.text == "OFF"))
        return p.text == "ON";
    return std::nullopt;
}

std::optional<int> channelWordOf(const Parameter& p) {
    if (p.kind != Parameter::Kind::Character)
        return std::nullopt;
    std::size_t digits = p.text.size();
    while (digits > 0 && p.text[digits - 1] >= '0' && p.text[digits - 1] <= '9')
        --digits;
    if (!isForm(std::string_view(p.text).substr(0, digits), "CHANnel"))
        return std::nullopt;
    int n = 1;
    if (digits < p.text.size()) {
        const auto [end, ec] = std::from_chars(p.text.data() + digits, p.text.data() + p.text.size(), n);
        if (ec != std::errc())
            return std::nullopt;
    }
    return n;
}

std::string definiteBlock(std::string_view bytes) {
    const std::string length = std::to_string(bytes.size());
    std::string block = "#" + std::to_string(length.size()) + length;
    block.append(bytes);
    return block;
}

} // namespace kavlon::scpi
