// Any bytes may sit in the settings file: the reader must give sane options,
// whatever it read must survive a write and a second read unchanged, and the
// same text must read the same whichever line ends and encoding carry it.
#include "core/settings/SettingsFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using kavlon::parseSettings;
using kavlon::StoredSettings;

void require(bool condition) {
    if (!condition)
        std::abort();
}

std::string withLineEnds(std::string_view text, char end) {
    std::string out(text);
    for (char& c : out)
        if (c == '\n')
            c = end;
    return out;
}

// Each byte as one UTF-16 character, after the byte-order mark.
std::string asUtf16(std::string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text)
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const StoredSettings read = parseSettings(text);
    require(read.Options.PrintAs >= 0 && read.Options.PrintAs <= 2);
    require(parseSettings(kavlon::formatSettings(read)) == read);

    require(parseSettings(withLineEnds(text, '\r')) == read);
    // A text that starts with a mark of its own would be read differently once it
    // sits behind another one; beyond ASCII, characters only have to match nothing.
    const auto first = size > 0 ? data[0] : 0;
    if (first != 0xEF && first != 0xFE && first != 0xFF) {
        require(parseSettings("\xEF\xBB\xBF" + std::string(text)) == read);
        require(parseSettings(asUtf16(text, false)) == read);
        require(parseSettings(asUtf16(text, true)) == read);
    }
    return 0;
}
