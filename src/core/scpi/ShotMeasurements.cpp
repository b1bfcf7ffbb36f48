#include "core/scpi/ShotMeasurements.h"

#include <charconv>
#include <string_view>

namespace kavlon::scpi {

namespace {

struct Prefix {
    std::string_view text;
    double factor;
};
constexpr std::array<Prefix, 8> kPrefixes = {{
    {"", 1.0},
    {"G", 1e9},
    {"M", 1e6},
    {"K", 1e3},
    {"m", 1e-3},
    {"\xC2\xB5", 1e-6},
    {"n", 1e-9},
    {"p", 1e-12},
}};
constexpr std::array<std::string_view, 5> kUnits = {"Hz", "V", "s", "%", "\xC2\xB0"};

// A cell's text read back into its number: "12.3 mV", "1.5 KHz", "50.00 %", "12.5 °".
// Nothing for "---", the reference mark and an empty cell.
std::optional<double> numberOf(std::string_view text) {
    double number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end == text.data() + text.size() || *end != ' ')
        return std::nullopt;
    std::string_view rest(end + 1, std::size_t(text.data() + text.size() - end - 1));
    for (std::string_view unit : kUnits) {
        if (!rest.ends_with(unit))
            continue;
        rest.remove_suffix(unit.size());
        for (const Prefix& p : kPrefixes)
            if (rest == p.text)
                return number * p.factor;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

// Until the measurements come as numbers of their own, they are read back from the texts
// the Measure display shows, to one decimal of the shown unit.
ShotMeasurements::ShotMeasurements(const ShotRecord& record) {
    MeasureCellTable cells;
    MeasureSignal(takeMeasureCopy(record), cells);
    for (std::size_t c = 0; c < kChannels; ++c)
        for (std::size_t r = 0; r < kMeasureRows; ++r)
            m_values[c][r] = numberOf(cells[c][r]);
}

std::optional<double> ShotMeasurements::value(int row, int channel) const {
    if (row < 0 || row >= kMeasureRows || channel < 1 || channel > kChannels)
        return std::nullopt;
    return m_values[std::size_t(channel - 1)][std::size_t(row)];
}

} // namespace kavlon::scpi
