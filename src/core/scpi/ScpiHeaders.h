#pragma once

#include "core/scpi/ScpiParser.h"

#include <optional>
#include <string_view>
#include <vector>

namespace kavlon::scpi {

// A header of the command tree as SCPI writes it: "SYSTem:ERRor[:NEXT]",
// "CHANnel#:SCALe". The upper-case letters are the short form, the whole word the long
// form; '#' takes a number (1 when none is written); brackets mark a node that may be
// left out.
class HeaderPattern {
public:
    explicit HeaderPattern(std::string_view pattern);

    // The numbers the path gives the pattern's '#' nodes, in order; nothing when the
    // path is not this header.
    std::optional<std::vector<int>> match(const std::vector<Mnemonic>& path) const;

private:
    struct Node {
        std::string longForm;  // upper case
        std::string shortForm; // upper case
        bool optional = false;
        bool numbered = false;
    };
    bool matchFrom(std::size_t node, const std::vector<Mnemonic>& path, std::size_t at,
                   std::vector<int>& numbers) const;

    std::vector<Node> m_nodes;
};

// The short and long forms of one word ("CHANnel"), for parameters: true when word is
// either, in any case ("chan", "CHANNEL").
bool isForm(std::string_view word, std::string_view pattern);

} // namespace kavlon::scpi
