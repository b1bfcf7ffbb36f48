// Any bytes may be offered as a shot file. A refusal must say why and leave no shot;
// an accepted file must give a shot that saves and opens again to the same record,
// and whose text is then a fixed point of saving and opening.
#include "FuzzChecks.h"

#include "core/shot/ShotCsv.h"

#include <memory>

namespace {

using namespace kavlon;
using fuzz::check;

bool sameShot(const ShotRecord& a, const ShotRecord& b) {
    if (!(static_cast<const ShotSettings&>(a) == static_cast<const ShotSettings&>(b)) ||
        a.Analysis != b.Analysis || a.Cells.rowCount() != b.Cells.rowCount())
        return false;
    for (int channel = 1; channel <= kChannels; ++channel)
        for (int sample = 0; sample < ShotCells::kNumberedRows; ++sample)
            if (a.Cells.rawValue(channel, sample) != b.Cells.rawValue(channel, sample))
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TransferInputs inputs{size % 2 == 0 ? '.' : ','};
    const auto read = std::make_unique<ShotFileResult>(parseShotFile(bytes, inputs));
    if (!read->ok) {
        check(!read->error.empty() && !read->record.HasShot);
        return 0;
    }
    check(read->record.HasShot && read->error.empty());
    const std::string text = shotCsvText(read->record);
    const auto again = std::make_unique<ShotFileResult>(parseShotFile(text, inputs));
    check(again->ok);
    check(sameShot(again->record, read->record));
    check(shotCsvText(again->record) == text);
    return 0;
}
