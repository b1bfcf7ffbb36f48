#include "core/files/CsvRecords.h"

namespace kavlon {

namespace {

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

void appendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

bool CsvRecords::fail(std::string_view what) {
    m_error = "line " + std::to_string(m_line) + ": " + std::string(what);
    m_at = m_text.size();
    return false;
}

bool CsvRecords::lineEnd() {
    const std::size_t width = m_text.compare(m_at, 2, "\r\n") == 0 ? 2 : 1;
    const std::string_view end = m_text.substr(m_at, width);
    if (m_lineEnd.empty())
        m_lineEnd = end;
    else if (end != m_lineEnd)
        return fail("line ends of more than one kind");
    m_at += width;
    ++m_line;
    return true;
}

bool CsvRecords::quotedField(std::string& out) {
    ++m_at;
    for (;;) {
        const std::size_t quote = m_text.find('"', m_at);
        if (quote == std::string_view::npos)
            return fail("a quoted field is never closed");
        for (std::size_t i = m_at; i < quote; ++i)
            m_line += m_text[i] == '\n' || (m_text[i] == '\r' && m_text.compare(i, 2, "\r\n") != 0);
        out.append(m_text.substr(m_at, quote - m_at));
        m_at = quote + 1;
        if (m_at < m_text.size() && m_text[m_at] == '"') {
            out += '"';
            ++m_at;
            continue;
        }
        if (out.size() > kMaxFieldSize)
            return fail("a field is too long");
        if (m_at < m_text.size() && m_text[m_at] != ',' && !isLineBreak(m_text[m_at]))
            return fail("text follows a closing quote");
        return true;
    }
}

bool CsvRecords::field(std::string& out) {
    out.clear();
    if (m_at < m_text.size() && m_text[m_at] == '"')
        return quotedField(out);
    const std::size_t start = m_at;
    while (m_at < m_text.size() && m_text[m_at] != ',' && !isLineBreak(m_text[m_at])) {
        if (m_text[m_at] == '"')
            return fail("a quote inside an unquoted field");
        if (m_at - start >= kMaxFieldSize)
            return fail("a field is too long");
        ++m_at;
    }
    out.assign(m_text.substr(start, m_at - start));
    return true;
}

bool CsvRecords::next(std::vector<std::string>& fields) {
    if (atEnd())
        return false;
    m_recordLine = m_line;
    std::size_t count = 0;
    for (;;) {
        if (count == kMaxFields)
            return fail("too many fields");
        if (fields.size() <= count)
            fields.emplace_back();
        if (!field(fields[count++]))
            return false;
        if (m_at >= m_text.size())
            break;
        if (m_text[m_at] == ',') {
            ++m_at;
            continue;
        }
        if (!lineEnd())
            return false;
        break;
    }
    fields.resize(count);
    return true;
}

} // namespace kavlon
