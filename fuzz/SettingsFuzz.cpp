// Any bytes may sit in the settings file: the reader must give sane options and
// whatever it read must survive a write and a second read unchanged.
#include "core/settings/SettingsFile.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavlon;
    const StoredSettings read = parseSettings(std::string_view(reinterpret_cast<const char*>(data), size));
    if (read.Options.PrintAs < 0 || read.Options.PrintAs > 2)
        std::abort();
    const StoredSettings again = parseSettings(formatSettings(read));
    if (again.Left != read.Left || again.Top != read.Top || again.Width != read.Width ||
        again.Height != read.Height || again.Options.Grid != read.Options.Grid ||
        again.Options.Invert != read.Options.Invert || again.Options.Color != read.Options.Color ||
        again.Options.PrintAs != read.Options.PrintAs)
        std::abort();
    return 0;
}
