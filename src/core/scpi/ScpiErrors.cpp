#include "core/scpi/ScpiErrors.h"

#include <array>
#include <utility>

namespace kavlon::scpi {

namespace {

constexpr std::array<std::pair<Error, std::string_view>, 28> kTexts = {{
    {Error::None, "No error"},
    {Error::Command, "Command error"},
    {Error::InvalidCharacter, "Invalid character"},
    {Error::Syntax, "Syntax error"},
    {Error::InvalidSeparator, "Invalid separator"},
    {Error::DataType, "Data type error"},
    {Error::ParameterNotAllowed, "Parameter not allowed"},
    {Error::MissingParameter, "Missing parameter"},
    {Error::MnemonicTooLong, "Program mnemonic too long"},
    {Error::UndefinedHeader, "Undefined header"},
    {Error::NumericData, "Numeric data error"},
    {Error::InvalidSuffix, "Invalid suffix"},
    {Error::SuffixNotAllowed, "Suffix not allowed"},
    {Error::InvalidCharacterData, "Invalid character data"},
    {Error::StringData, "String data error"},
    {Error::BlockDataNotAllowed, "Block data not allowed"},
    {Error::Execution, "Execution error"},
    {Error::SettingsConflict, "Settings conflict"},
    {Error::DataOutOfRange, "Data out of range"},
    {Error::TooMuchData, "Too much data"},
    {Error::IllegalParameterValue, "Illegal parameter value"},
    {Error::DataCorruptOrStale, "Data corrupt or stale"},
    {Error::Hardware, "Hardware error"},
    {Error::HardwareMissing, "Hardware missing"},
    {Error::QueueOverflow, "Queue overflow"},
    {Error::Query, "Query error"},
    {Error::QueryInterrupted, "Query INTERRUPTED"},
    {Error::QueryUnterminated, "Query UNTERMINATED"},
}};

} // namespace

std::string_view errorText(Error error) {
    for (const auto& [code, text] : kTexts)
        if (code == error)
            return text;
    return "Unknown error";
}

std::uint8_t esrBitOf(Error error) {
    const int code = int(error);
    if (code <= -100 && code > -200)
        return esr::CommandError;
    if (code <= -200 && code > -300)
        return esr::ExecutionError;
    if (code <= -300 && code > -400)
        return esr::DeviceError;
    if (code <= -400 && code > -500)
        return esr::QueryError;
    return 0;
}

} // namespace kavlon::scpi
