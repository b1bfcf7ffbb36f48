#include "core/scpi/ScpiParser.h"

#include <charconv>
#include <cmath>

namespace kavlon::scpi {

namespace {

// IEEE 488.2 counts every control character and the blank as white space.
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}
bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isEnd(std::string_view rest) {
    return rest.empty() || rest.front() == ';';
}

// What to call a byte that cannot start anything here.
Error strayByte(char c) {
    return static_cast<unsigned char>(c) > 0x7E ? Error::InvalidCharacter : Error::Syntax;
}

// Letters, digits and underscores, as long as a mnemonic may be and one more, so that
// an overlong one is seen.
std::string_view takeWord(std::string_view& rest) {
    std::size_t n = 0;
    while (n < rest.size() && (isLetter(rest[n]) || isDigit(rest[n]) || rest[n] == '_'))
        ++n;
    const std::string_view word = rest.substr(0, n);
    rest.remove_prefix(n);
    return word;
}

Mnemonic mnemonicOf(std::string_view word) {
    std::size_t digits = word.size();
    while (digits > 0 && isDigit(word[digits - 1]))
        --digits;
    Mnemonic m;
    for (char c : word.substr(0, digits))
        m.name += asciiUpper(c);
    if (digits < word.size()) {
        int suffix = 0;
        std::from_chars(word.data() + digits, word.data() + word.size(), suffix);
        m.suffix = suffix;
    }
    return m;
}

} // namespace

MessageParser::Next MessageParser::fail(Error error, std::string detail) {
    m_failed = true;
    return {std::nullopt, error, std::move(detail)};
}

void MessageParser::skipBlanks() {
    while (!m_rest.empty() && isBlank(m_rest.front()))
        m_rest.remove_prefix(1);
}

MessageParser::Next MessageParser::next() {
    if (m_failed)
        return {};
    // Empty units (";;", a trailing ';') are let pass.
    for (skipBlanks(); !m_rest.empty() && m_rest.front() == ';'; skipBlanks())
        m_rest.remove_prefix(1);
    if (m_rest.empty())
        return {};
    ProgramUnit unit;
    Next failure;
    if (!parseHeader(unit, failure) || !parseParameters(unit, failure))
        return failure;
    if (!unit.common)
        m_currentPath.assign(unit.path.begin(), unit.path.end() - 1);
    return {std::move(unit), Error::None, {}};
}

bool MessageParser::parseHeader(ProgramUnit& unit, Next& failure) {
    const std::string_view start = m_rest;
    unit.common = m_rest.front() == '*';
    const bool absolute = m_rest.front() == ':';
    if (!unit.common && !absolute && !isLetter(m_rest.front())) {
        failure = fail(strayByte(m_rest.front()), {});
        return false;
    }
    if (!unit.common && !absolute)
        unit.path = m_currentPath;
    bool more = true;
    while (more) {
        if (unit.common || m_rest.front() == ':')
            m_rest.remove_prefix(1);
        const std::string_view word = takeWord(m_rest);
        if (word.empty() || !isLetter(word.front())) {
            failure = fail(Error::Syntax, std::string(start.substr(0, start.size() - m_rest.size())));
            return false;
        }
        if (word.size() > kMaxMnemonic) {
            failure = fail(Error::MnemonicTooLong, std::string(word.substr(0, kMaxMnemonic)) + "...");
            return false;
        }
        if (unit.path.size() == kMaxDepth) {
            failure =
                fail(Error::UndefinedHeader, std::string(start.substr(0, start.size() - m_rest.size())));
            return false;
        }
        unit.path.push_back(mnemonicOf(word));
        more = !unit.common && !m_rest.empty() && m_rest.front() == ':';
    }
    if (!m_rest.empty() && m_rest.front() == '?') {
        unit.query = true;
        m_rest.remove_prefix(1);
    }
    unit.written = std::string(start.substr(0, start.size() - m_rest.size()));
    // The header ends in white space, the next unit or the end of the message.
    if (!isEnd(m_rest) && !isBlank(m_rest.front())) {
        failure = fail(Error::Syntax, unit.written + " followed by '" + std::string(1, m_rest.front()) + "'");
        return false;
    }
    return true;
}

bool MessageParser::parseParameters(ProgramUnit& unit, Next& failure) {
    skipBlanks();
    if (isEnd(m_rest))
        return true;
    for (;;) {
        if (unit.parameters.size() == kMaxParameters) {
            failure = fail(Error::ParameterNotAllowed, unit.written + ": too many parameters");
            return false;
        }
        Parameter& p = unit.parameters.emplace_back();
        if (!parseParameter(p, failure))
            return false;
        skipBlanks();
        if (isEnd(m_rest))
            return true;
        if (m_rest.front() != ',') {
            failure = fail(strayByte(m_rest.front()), unit.written + ": expected ',' between parameters");
            return false;
        }
        m_rest.remove_prefix(1);
        skipBlanks();
        if (isEnd(m_rest)) {
            failure = fail(Error::Syntax, unit.written + ": a parameter is missing after ','");
            return false;
        }
    }
}

bool MessageParser::parseParameter(Parameter& p, Next& failure) {
    const char c = m_rest.front();
    if (isLetter(c)) {
        const std::string_view word = takeWord(m_rest);
        if (word.size() > kMaxMnemonic) {
            failure = fail(Error::InvalidCharacterData, std::string(word.substr(0, kMaxMnemonic)) + "...");
            return false;
        }
        p.kind = Parameter::Kind::Character;
        for (char w : word)
            p.text += asciiUpper(w);
        return true;
    }
    if (isDigit(c) || c == '+' || c == '-' || c == '.')
        return parseNumber(p, failure);
    if (c == '"' || c == '\'')
        return parseString(p, failure);
    if (c == '#') {
        // A block's length would come next; nothing here takes one.
        failure =
            fail(m_rest.size() > 1 && isDigit(m_rest[1]) ? Error::BlockDataNotAllowed : Error::DataType, {});
        return false;
    }
    failure = fail(c == '(' ? Error::DataType : strayByte(c), {});
    return false;
}

bool MessageParser::parseNumber(Parameter& p, Next& failure) {
    std::size_t n = 0;
    auto digits = [&] {
        const std::size_t from = n;
        while (n < m_rest.size() && isDigit(m_rest[n]))
            ++n;
        return n > from;
    };
    if (m_rest[n] == '+' || m_rest[n] == '-')
        ++n;
    bool mantissa = digits();
    if (n < m_rest.size() && m_rest[n] == '.') {
        ++n;
        mantissa = digits() || mantissa;
    }
    if (mantissa && n < m_rest.size() && (m_rest[n] == 'E' || m_rest[n] == 'e')) {
        std::size_t at = ++n;
        if (at < m_rest.size() && (m_rest[at] == '+' || m_rest[at] == '-'))
            n = ++at;
        if (!digits()) {
            failure = fail(Error::NumericData, std::string(m_rest.substr(0, n)));
            return false;
        }
    }
    p.kind = Parameter::Kind::Numeric;
    p.text = std::string(m_rest.substr(0, n));
    // from_chars takes no leading '+'.
    const std::size_t sign = m_rest.front() == '+' ? 1 : 0;
    const auto [end, error] = std::from_chars(m_rest.data() + sign, m_rest.data() + n, p.number);
    if (!mantissa || error != std::errc() || end != m_rest.data() + n || !std::isfinite(p.number)) {
        failure = fail(Error::NumericData, p.text);
        return false;
    }
    m_rest.remove_prefix(n);
    // A unit may follow, after blanks or none: "200 us", "0.5V".
    std::string_view rest = m_rest;
    while (!rest.empty() && isBlank(rest.front()))
        rest.remove_prefix(1);
    if (!rest.empty() && isLetter(rest.front())) {
        m_rest = rest;
        const std::string_view word = takeWord(m_rest);
        for (char w : word.substr(0, kMaxMnemonic + 1))
            p.suffix += asciiUpper(w);
    }
    return true;
}

bool MessageParser::parseString(Parameter& p, Next& failure) {
    const char quote = m_rest.front();
    std::size_t n = 1;
    for (;;) {
        if (n >= m_rest.size()) {
            failure = fail(Error::StringData, "unterminated string");
            return false;
        }
        if (m_rest[n] == quote) {
            // A doubled quote stands for one.
            if (n + 1 < m_rest.size() && m_rest[n + 1] == quote) {
                p.text += quote;
                n += 2;
                continue;
            }
            break;
        }
        p.text += m_rest[n++];
    }
    p.kind = Parameter::Kind::String;
    m_rest.remove_prefix(n + 1);
    return true;
}

} // namespace kavlon::scpi
