#include "core/measure/MeasureFormat.h"

#include "core/scales/NumberText.h"

#include <array>
#include <cmath>

namespace kavlon {

namespace {

struct Prefix {
    double threshold;
    std::string_view text;
};

// Tested from the top; below the last the value is shown as it is.
constexpr std::array<Prefix, 8> kPrefixes = {{
    {1e9, "G"},
    {1e6, "M"},
    {1e3, "K"},
    {1, ""},
    {1e-3, "m"},
    {1e-6, "\u00b5"},
    {1e-9, "n"},
    {1e-12, "p"},
}};

constexpr std::size_t kUnprefixed = 3;

// A value that rounds to zero reads "0.0", whichever side of zero it came from.
std::string withoutNegativeZero(std::string number) {
    if (number.starts_with('-') && number.find_first_of("123456789") == std::string::npos)
        number.erase(0, 1);
    return number;
}

std::string withSuffix(std::string number, std::string_view suffix) {
    if (number.empty())
        return std::string(kNoValue);
    number = withoutNegativeZero(std::move(number));
    number += suffix;
    return number;
}

} // namespace

std::string PreCalcValue(std::string_view unit, std::optional<float> x, char decimalSeparator) {
    if (!x || !std::isfinite(*x))
        return std::string(kNoValue);
    const double magnitude = std::fabs(double(*x));
    std::size_t chosen = kPrefixes.size();
    for (std::size_t i = 0; i < kPrefixes.size() && chosen == kPrefixes.size(); ++i)
        if (magnitude >= kPrefixes[i].threshold)
            chosen = i;

    float shown = *x;
    std::string_view prefix;
    if (chosen < kPrefixes.size()) {
        shown = float(double(*x) / kPrefixes[chosen].threshold);
        // Rounding to single precision can lift a value just under a threshold to
        // 1000 of the smaller prefix; it then reads as 1.0 of the next one.
        if (chosen > kUnprefixed && std::fabs(shown) >= 1000) {
            shown = float(double(shown) / 1000);
            --chosen;
        }
        prefix = kPrefixes[chosen].text;
    }
    std::string suffix = " ";
    suffix += prefix;
    suffix += unit;
    return withSuffix(formatFixed(shown, 1, decimalSeparator), suffix);
}

std::string percentText(std::optional<double> percent, char decimalSeparator) {
    if (!percent)
        return std::string(kNoValue);
    return withSuffix(formatFixed(float(*percent), 2, decimalSeparator), " %");
}

std::string phaseText(std::optional<double> degrees, char decimalSeparator) {
    if (!degrees)
        return std::string(kNoValue);
    return withSuffix(formatFixed(float(*degrees), 1, decimalSeparator), " \u00b0");
}

std::string measureText(MeasureUnit unit, std::optional<double> value, char decimalSeparator) {
    switch (unit) {
    case MeasureUnit::Percent:
        return percentText(value, decimalSeparator);
    case MeasureUnit::Degree:
        return phaseText(value, decimalSeparator);
    default:
        return PreCalcValue(unitText(unit), value ? std::optional<float>(float(*value)) : std::nullopt,
                            decimalSeparator);
    }
}

std::optional<std::string> resultText(const MeasureResult& result, char decimalSeparator) {
    switch (result.state) {
    case MeasureState::Defined:
        return measureText(result.unit, result.value, decimalSeparator);
    case MeasureState::Reference:
        return std::string(kReferenceMark);
    case MeasureState::Kept:
        return std::nullopt;
    default:
        return std::string(kNoValue);
    }
}

} // namespace kavlon
