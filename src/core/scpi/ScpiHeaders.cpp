#include "core/scpi/ScpiHeaders.h"

namespace kavlon::scpi {

namespace {

std::string shortFormOf(std::string_view word) {
    std::string s;
    for (char c : word) {
        if (c < 'A' || c > 'Z')
            break;
        s += c;
    }
    return s;
}

std::string upperOf(std::string_view word) {
    std::string s;
    for (char c : word)
        s += asciiUpper(c);
    return s;
}

} // namespace

HeaderPattern::HeaderPattern(std::string_view pattern) {
    bool optional = false;
    while (!pattern.empty()) {
        const char c = pattern.front();
        if (c == '[' || c == ']' || c == ':') {
            optional = c == '[' || (optional && c != ']');
            pattern.remove_prefix(1);
            continue;
        }
        std::size_t n = 0;
        while (n < pattern.size() && pattern[n] != ':' && pattern[n] != '[' && pattern[n] != ']')
            ++n;
        std::string_view word = pattern.substr(0, n);
        pattern.remove_prefix(n);
        Node node;
        node.numbered = word.ends_with('#');
        if (node.numbered)
            word.remove_suffix(1);
        node.longForm = upperOf(word);
        node.shortForm = shortFormOf(word);
        node.optional = optional;
        m_nodes.push_back(std::move(node));
    }
}

std::optional<std::vector<int>> HeaderPattern::match(const std::vector<Mnemonic>& path) const {
    std::vector<int> numbers;
    if (!matchFrom(0, path, 0, numbers))
        return std::nullopt;
    return numbers;
}

bool HeaderPattern::matchFrom(std::size_t node, const std::vector<Mnemonic>& path, std::size_t at,
                              std::vector<int>& numbers) const {
    if (node == m_nodes.size())
        return at == path.size();
    const Node& n = m_nodes[node];
    if (at < path.size()) {
        const Mnemonic& m = path[at];
        const bool named = m.name == n.longForm || m.name == n.shortForm;
        if (named && (n.numbered || !m.suffix)) {
            const std::size_t before = numbers.size();
            if (n.numbered)
                numbers.push_back(m.suffix.value_or(1));
            if (matchFrom(node + 1, path, at + 1, numbers))
                return true;
            numbers.resize(before);
        }
    }
    // A left-out node gives its number its default all the same.
    if (!n.optional)
        return false;
    const std::size_t before = numbers.size();
    if (n.numbered)
        numbers.push_back(1);
    if (matchFrom(node + 1, path, at, numbers))
        return true;
    numbers.resize(before);
    return false;
}

bool isForm(std::string_view word, std::string_view pattern) {
    const std::string w = upperOf(word);
    return w == upperOf(pattern) || w == shortFormOf(pattern);
}

} // namespace kavlon::scpi
