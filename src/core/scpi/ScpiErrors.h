#pragma once

#include <cstdint>
#include <string_view>

namespace kavlon::scpi {

// The standard error numbers this server reports. The class of an error (the hundreds)
// decides which bit of the event status register it sets.
enum class Error : int {
    None = 0,
    Command = -100,
    InvalidCharacter = -101,
    Syntax = -102,
    InvalidSeparator = -103,
    DataType = -104,
    ParameterNotAllowed = -108,
    MissingParameter = -109,
    MnemonicTooLong = -112,
    UndefinedHeader = -113,
    NumericData = -120,
    InvalidSuffix = -131,
    SuffixNotAllowed = -138,
    InvalidCharacterData = -141,
    StringData = -150,
    BlockDataNotAllowed = -168,
    Execution = -200,
    SettingsConflict = -221,
    DataOutOfRange = -222,
    TooMuchData = -223,
    IllegalParameterValue = -224,
    DataCorruptOrStale = -230,
    Hardware = -240,
    HardwareMissing = -241,
    QueueOverflow = -350,
    Query = -400,
    QueryInterrupted = -410,
    QueryUnterminated = -420,
};

// The standard text of an error ("Undefined header"); "Unknown error" for none of them.
std::string_view errorText(Error error);

// The event status register's bits.
namespace esr {
constexpr std::uint8_t OperationComplete = 0x01;
constexpr std::uint8_t QueryError = 0x04;
constexpr std::uint8_t DeviceError = 0x08;
constexpr std::uint8_t ExecutionError = 0x10;
constexpr std::uint8_t CommandError = 0x20;
constexpr std::uint8_t PowerOn = 0x80;
} // namespace esr

// The event status bit an error sets: command, execution, device-specific or query error.
std::uint8_t esrBitOf(Error error);

// Errors of the command class end the parsing of the rest of the program message.
inline bool isCommandError(Error error) {
    return int(error) <= -100 && int(error) > -200;
}

} // namespace kavlon::scpi
