#include "core/displays/DisplayNames.h"

namespace kavlon {

std::string displayName(std::string_view kindWord, int number) {
    std::string name(kindWord);
    name += char('0' + (number / 10) % 10);
    name += char('0' + number % 10);
    return name;
}

int chooseDisplayNumber(const std::array<int, 100>& numbers, int childCount) {
    for (int n = 0; n <= childCount && n < int(numbers.size()); ++n)
        if (numbers[std::size_t(n)] == -1)
            return n;
    return 0;
}

std::optional<int> displayNumberFromCaption(std::string_view caption) {
    // Longest words first: "QP_Scope" before "Scope", "QP_Data" before "Data".
    static constexpr std::string_view words[] = {kind::QuickPrintScope, kind::QuickPrintData, kind::Measure,
                                                 kind::Scope,           kind::Data,           kind::FFT};
    for (std::string_view word : words) {
        if (caption.substr(0, word.size()) != word || caption.size() < word.size() + 2)
            continue;
        const char tens = caption[word.size()];
        const char ones = caption[word.size() + 1];
        if (tens < '0' || tens > '9' || ones < '0' || ones > '9')
            return std::nullopt;
        return (tens - '0') * 10 + (ones - '0');
    }
    return std::nullopt;
}

bool isSourceCandidate(std::string_view entry) {
    const auto head = entry.substr(0, 4);
    return head == "Data" || head == "QP_D";
}

} // namespace kavlon
