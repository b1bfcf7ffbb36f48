#include "core/scpi/LineFramer.h"

namespace kavlon::scpi {

std::vector<LineFramer::Line> LineFramer::feed(std::string_view bytes) {
    std::vector<Line> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (!m_overlong && m_partial.size() + piece.size() <= m_maxLine + 1)
            m_partial.append(piece);
        else {
            m_overlong = true;
            m_partial.clear();
        }
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
        if (!m_overlong && !m_partial.empty() && m_partial.back() == '\r')
            m_partial.pop_back();
        if (!m_overlong && m_partial.size() > m_maxLine)
            m_overlong = true;
        if (m_overlong)
            lines.push_back({{}, true});
        else if (!m_partial.empty())
            lines.push_back({std::move(m_partial), false});
        m_partial.clear();
        m_overlong = false;
    }
    return lines;
}

} // namespace kavlon::scpi
