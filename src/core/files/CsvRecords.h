#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon {

// Splits RFC 4180 text into records: fields separated by commas, quoted fields with
// doubled quotes and line ends inside them. One kind of line end throughout (CR LF,
// LF or CR): a file whose line ends change was pieced together or damaged, and is
// refused. Fields and records are bounded so no input can make it hold much.
class CsvRecords {
public:
    static constexpr std::size_t kMaxFieldSize = 256;
    static constexpr std::size_t kMaxFields = 600;

    explicit CsvRecords(std::string_view text) : m_text(text) {}

    // The next record into fields; false at the end of the text or on an error.
    bool next(std::vector<std::string>& fields);
    // The line the last record started on, from 1.
    int line() const { return m_recordLine; }
    // Empty unless the text broke the rules; then "line N: ...".
    const std::string& error() const { return m_error; }
    bool atEnd() const { return m_at >= m_text.size(); }

private:
    bool fail(std::string_view what);
    bool field(std::string& out);
    bool quotedField(std::string& out);
    // At a line end: checks its kind and steps over it.
    bool lineEnd();

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
    int m_recordLine = 1;
    std::string_view m_lineEnd;
    std::string m_error;
};

// Appends text as one RFC 4180 field: quoted, its quotes doubled, when it holds a comma,
// a quote or a line break; as it is otherwise.
void appendCsvField(std::string& out, std::string_view text);

} // namespace kavlon
