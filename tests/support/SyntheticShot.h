#pragma once

#include "core/scales/ScaleTables.h"
#include "core/shot/ShotTransfer.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>

namespace kavlon::test {

// A made-up shot as the instrument's trailer leaves it in the acquisition state: the
// settings a shot carries and a raw sample for every position of each channel's
// display block. The one maker of synthetic shots for the tests and the benchmarks;
// their helpers set what they need and leave the rest.
struct SyntheticShot {
    int timebase = 7;
    int timebaseOffset = 0;
    int timeStep = 0;
    int windowStart = 0;
    int channelCount = 4;
    std::array<bool, kChannels> on{true, true, true, true};
    std::array<int, kChannels> volts{9, 9, 9, 9};  // 1 V / Div
    std::array<int, kChannels> probes{3, 3, 3, 3}; // probe factor 1
    std::array<int, kChannels> zeroLevels{100, 100, 100, 100};
    std::array<int, 3> referenceLevels{20, 50, 80};
    int triggerSource = 0;
    int triggerLevel = 0;
    int triggerPoint = 0;
    int trailerValue = 0;
    // Empty: the front panel's label of the channel's scale ("2 V / Div" where it has none).
    std::array<std::string, kChannels> voltsTexts{};
    // Raw sample i (0..16383) of channel k (1-4), asked for channel by channel and
    // position by position, once each, so a generator may run on from call to call.
    std::function<int(int k, int i)> sample = [](int, int) { return 100; };

    std::unique_ptr<AcquisitionState> state() const {
        auto s = std::make_unique<AcquisitionState>();
        s->TimebaseIndex = timebase;
        s->TimebaseOffset = timebaseOffset;
        s->TimeStepIndex = timeStep;
        s->WindowStart = windowStart;
        s->ChannelCount = channelCount;
        s->ChannelOn = on;
        s->VoltsIndex = volts;
        s->ProbeRange = probes;
        s->ZeroLevel = zeroLevels;
        s->ReferenceLevels = referenceLevels;
        s->TriggerSource = triggerSource;
        s->TriggerLevel = triggerLevel;
        s->TriggerPoint = triggerPoint;
        s->TrailerValue = trailerValue;
        for (int k = 1; k <= kChannels; ++k) {
            const auto c = std::size_t(k - 1);
            s->VoltsPerDivText[c] =
                !voltsTexts[c].empty()
                    ? voltsTexts[c]
                    : std::string(voltsPerDivLabel(probes[c], volts[c]).value_or("2 V / Div"));
            auto block = s->DisplaySamples(k - 1);
            for (int i = 0; i < kBlockSize; ++i)
                block[std::size_t(i)] = std::uint8_t(std::clamp(sample(k, i), 0, 255));
        }
        return s;
    }

    // The shot as a Data display's record holds it once the transfer has taken it.
    std::unique_ptr<ShotRecord> record(const TransferInputs& inputs = {}) const {
        auto r = std::make_unique<ShotRecord>();
        transferShot(*state(), *r, inputs);
        return r;
    }
};

// A full 16,300-sample shot on four channels: square waves of different periods with
// sloped edges and a little noise, so the analysis walks many cycles.
inline SyntheticShot fullFourChannelShot() {
    SyntheticShot shot;
    shot.timebase = 6;
    shot.volts = {9, 8, 5, 11};
    shot.probes = {3, 6, 3, 9};
    shot.zeroLevels = {128, 120, 140, 100};
    shot.voltsTexts = {"1 V / Div", "5 V / Div", "50 mV / Div", "500 V / Div"};
    shot.sample = [](int k, int i) {
        // The same noise for every call at a position: a hash, not a running generator.
        unsigned noise = unsigned(i) * 2654435761u + unsigned(k) * 40503u;
        noise ^= noise >> 15;
        const int period = 150 + 70 * (k - 1);
        const int phase = i % period;
        const int v = phase < period / 2 ? 40 + phase : 210 - (phase - period / 2);
        return std::clamp(v, 40, 200) + int(noise % 5);
    };
    return shot;
}

} // namespace kavlon::test
