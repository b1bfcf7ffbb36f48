#include "core/measure/MeasureSignal.h"

namespace kavlon {

namespace {

std::string cut(std::string text) {
    // Counted in characters, not in the bytes of their UTF-8 form.
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > kMeasureCellLength) {
            text.resize(i);
            break;
        }
    return text;
}

} // namespace

void MeasureSignal(const MeasureResults& results, MeasureCellTable& cells, char decimalSeparator) {
    for (std::size_t k = 0; k < results.size(); ++k) {
        if (!results[k].measured)
            continue;
        for (std::size_t r = 0; r < results[k].rows.size(); ++r)
            if (auto text = resultText(results[k].rows[r], decimalSeparator))
                cells[k][r] = cut(std::move(*text));
    }
}

void MeasureSignal(const MeasureCopy& copy, MeasureCellTable& cells, char decimalSeparator) {
    MeasureSignal(measureResults(copy), cells, decimalSeparator);
}

} // namespace kavlon
