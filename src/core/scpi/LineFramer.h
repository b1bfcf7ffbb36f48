#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon::scpi {

// Cuts a client's bytes into program messages at each newline. A line longer than the
// limit is never held whole: it is dropped as it comes, and reported once at its newline.
class LineFramer {
public:
    static constexpr std::size_t kMaxLine = 64 * 1024;

    explicit LineFramer(std::size_t maxLine = kMaxLine) : m_maxLine(maxLine) {}

    struct Line {
        std::string text; // without the newline and a carriage return before it
        bool overlong = false;
    };
    // The lines these bytes complete, in order; empty lines are left out.
    std::vector<Line> feed(std::string_view bytes);

    // Bytes of the line not yet ended.
    std::size_t pending() const { return m_partial.size(); }

private:
    std::size_t m_maxLine;
    std::string m_partial;
    bool m_overlong = false;
};

} // namespace kavlon::scpi
