#pragma once

#include "core/scpi/ScpiErrors.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon::scpi {

// Headers and character data compare without case, in ASCII whatever the locale.
constexpr char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// One program mnemonic of a header: its letters in upper case and the number that
// may follow them (CHANnel2: "CHANNEL", 2).
struct Mnemonic {
    std::string name;
    std::optional<int> suffix;
    bool operator==(const Mnemonic&) const = default;
};

struct Parameter {
    enum class Kind { Numeric, Character, String };
    Kind kind = Kind::Character;
    // Character data in upper case, a string's contents, or a number as written.
    std::string text;
    double number = 0;
    // A number's unit and multiplier in upper case without blanks ("MV", "US"); empty if none.
    std::string suffix;
};

// One program message unit: a header with its parameters. The path of a compound header
// is complete: a header after ';' without a leading ':' has been put below the path of
// the one before it.
struct ProgramUnit {
    bool common = false; // *IDN?: the one mnemonic without its '*'
    bool query = false;
    std::vector<Mnemonic> path;
    std::vector<Parameter> parameters;
    // The header as the client wrote it, for an error's detail.
    std::string written;
};

// Splits a program message (one line, without its terminator) into units, one at a
// time, so that the units before a malformed one are executed before it is reported.
// Every byte is bounded: nothing here reads past the message.
class MessageParser {
public:
    static constexpr std::size_t kMaxMnemonic = 12;
    static constexpr std::size_t kMaxParameters = 16;
    // No header of the tree is deeper; a deeper path is no header at all.
    static constexpr std::size_t kMaxDepth = 8;

    explicit MessageParser(std::string_view message) : m_rest(message) {}

    struct Next {
        std::optional<ProgramUnit> unit;
        Error error = Error::None; // with no unit: the message is malformed here
        std::string detail;
    };
    // The next unit, an error, or neither at the end of the message. After an error the
    // rest of the message is not parsed.
    Next next();

private:
    Next fail(Error error, std::string detail);
    bool parseHeader(ProgramUnit& unit, Next& failure);
    bool parseParameters(ProgramUnit& unit, Next& failure);
    bool parseParameter(Parameter& p, Next& failure);
    bool parseNumber(Parameter& p, Next& failure);
    bool parseString(Parameter& p, Next& failure);
    void skipBlanks();

    std::string_view m_rest;
    // Where a relative header starts: the mnemonics before the last of the compound
    // header before it.
    std::vector<Mnemonic> m_currentPath;
    bool m_failed = false;
};

} // namespace kavlon::scpi
