// Any bytes may come from a remote client. They go through the line framing and the
// command tree against a model instrument, answering at once or only later; whatever
// they are, a response is whole (ends in its newline), the error queue stays bounded,
// and the instrument never leaves its own tables.
#include "FuzzChecks.h"

#include "core/scales/ScaleTables.h"
#include "core/scpi/LineFramer.h"
#include "core/scpi/ModelInstrument.h"
#include "core/scpi/ScpiExecutor.h"
#include "core/shot/ShotTransfer.h"

#include <memory>

namespace {

using namespace kavlon;
using fuzz::check;

// One two-channel-on shot of square waves, made once: a Digitize hands it out.
std::shared_ptr<const ShotRecord> shot() {
    static const std::shared_ptr<const ShotRecord> record = [] {
        auto state = std::make_unique<AcquisitionState>();
        state->TimebaseIndex = 15;
        state->ChannelOn = {true, false, true, true};
        state->VoltsIndex = {8, 9, 12, 0};
        state->ProbeRange = {3, 3, 3, 13};
        state->ZeroLevel = {124, 100, 124, 124};
        state->ReferenceLevels = {10, 50, 90};
        for (int c = 0; c < kChannels; ++c)
            for (int i = 0; i < kBlockSize; ++i)
                state->DisplaySamples(c)[std::size_t(i)] = std::uint8_t((i / (25 + c)) % 2 ? 100 : 148);
        auto r = std::make_shared<ShotRecord>();
        transferShot(*state, *r, TransferInputs{});
        return r;
    }();
    return record;
}

void checkSettings(const scpi::InstrumentSettings& s) {
    check(s.timebaseIndex >= 0 && s.timebaseIndex < kTimebaseSteps);
    for (int v : s.voltsIndex)
        check(v >= kFirstLabelledVolts && v <= kLastLabelledVolts);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte: whether the instrument answers later, and the line limit.
    const bool held = (data[0] & 1) != 0;
    scpi::ModelInstrument instrument;
    if ((data[0] & 2) != 0)
        instrument.setShot(shot());
    instrument.hold(held);
    scpi::ScpiExecutor executor(instrument);
    scpi::ClientContext client;
    const std::size_t maxLine = (data[0] & 4) != 0 ? 64 : scpi::LineFramer::kMaxLine;
    scpi::LineFramer framer(maxLine);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    for (const scpi::LineFramer::Line& line : framer.feed(bytes)) {
        auto progress = executor.execute(client, line, maxLine);
        while (progress == scpi::ScpiExecutor::Progress::Waiting) {
            check(held);
            const auto result = instrument.complete();
            check(result.has_value());
            progress = executor.resume(*result);
        }
        const std::string& response = executor.response();
        check(response.empty() || response.back() == '\n');
        check(client.status.errorCount() <= scpi::ScpiStatus::kQueueCapacity);
        checkSettings(instrument.settings());
        instrument.forgetActions();
    }
    return 0;
}
