#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kavlon {

// The instrument is recognised by its device string, built from USB string
// descriptors 0-3: descriptor 0 as it is, then each non-empty descriptor 1-3
// with one space in front. An empty descriptor adds nothing, not even the space.
std::string deviceStringOf(const std::array<std::string, 4>& descriptors);

// The two accepted forms: the serial adapter by its whole string, the scope
// interface by its first 24 characters (a serial number may follow).
constexpr std::string_view kSerialAdapterString = " Quorvel Serial Adapter Bench Scope";
constexpr std::string_view kScopeInterfaceString = " Quorvel Scope Interface";
bool isInstrumentDeviceString(std::string_view deviceString);

} // namespace kavlon
