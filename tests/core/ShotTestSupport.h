#pragma once

#include "core/shot/ShotTransfer.h"

#include "support/SyntheticShot.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace kavlon::test {

// An acquisition state holding a 100-sample shot (positions 0..100) on four enabled
// channels at 1 V / Div with zero level 100, and a Data display's record to receive it.
struct ShotBench {
    static constexpr int kN = 100;

    std::unique_ptr<AcquisitionState> statePtr = hundredSamples().state();
    std::unique_ptr<ShotRecord> recordPtr = std::make_unique<ShotRecord>();
    AcquisitionState& state = *statePtr;
    ShotRecord& record = *recordPtr;
    TransferInputs inputs;

    static SyntheticShot hundredSamples() {
        SyntheticShot shot;
        shot.timebase = 7;            // 4060-sample memory
        shot.windowStart = 4060 - kN; // n = 100
        shot.sample = [](int, int) { return 0; };
        shot.voltsTexts = {"1 V / Div", "2 V / Div", "5 V / Div", "10 mV / Div"};
        return shot;
    }

    // Sample i of channel 1-4 for every position of the display block.
    void fill(int channel, const std::function<int(int)>& sample) {
        auto block = state.DisplaySamples(channel - 1);
        for (int i = 0; i < kBlockSize; ++i)
            block[std::size_t(i)] = std::uint8_t(sample(i));
    }

    TransferOutcome transfer() { return transferShot(state, record, inputs); }
    const ChannelAnalysis& analysis(int channel) const { return record.Analysis[std::size_t(channel - 1)]; }
    std::string cell(int column, int row, char separator = '.') const {
        return std::string(record.Cells.cellText(column, row, separator).view());
    }
};

} // namespace kavlon::test
