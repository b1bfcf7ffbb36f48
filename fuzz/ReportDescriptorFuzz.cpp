// Feeds arbitrary bytes to the report-descriptor parser, which reads what a
// device states about itself, and checks what must hold for any descriptor.
#include "core/link/ReportDescriptor.h"

#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool plausible(int length) {
    return length == 0 || (length >= 2 && length <= kavlon::kMaxReportBytes + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lengths = kavlon::parseReportDescriptor({data, size});
    if (!lengths)
        return 0;
    check(plausible(lengths->input));
    check(plausible(lengths->output));
    check(plausible(lengths->feature));
    // The same bytes give the same answer: no state survives a call.
    const auto again = kavlon::parseReportDescriptor({data, size});
    check(again && again->input == lengths->input && again->output == lengths->output &&
          again->feature == lengths->feature && again->numbered == lengths->numbered);
    return 0;
}
