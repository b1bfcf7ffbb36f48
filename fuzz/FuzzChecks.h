#pragma once

// What must hold after any sequence of frames, whatever the instrument sent;
// shared by the fuzz targets that drive the receive interpretation.
#include "core/acquisition/AcquisitionControl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kavlon::fuzz {

// Names the broken invariant before the fuzzer records the input.
inline void check(bool condition, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (condition)
        return;
    std::fprintf(stderr, "invariant broken at %s:%d\n", file, line);
    std::abort();
}

// Accepts only well-formed output reports: the answers to polls and the
// data requests must still be sound commands.
class CheckingWriter : public ReportWriter {
public:
    std::optional<int> outputReportLength() override { return 65; }
    void writeReport(std::span<const std::uint8_t> report) override {
        check(report.size() == 65 && report[0] == 0x00 && report[1] == 0x25);
    }
};

inline bool allZero(const std::uint8_t* begin, std::size_t n) {
    static const std::uint8_t zeros[kBlockSize] = {};
    return n <= kBlockSize && std::memcmp(begin, zeros, n) == 0;
}

inline void checkAcquisition(const AcquisitionControl& control) {
    check(!control.busy());
    const auto& s = control.State;
    const auto* memory = s.SampleMemory.data();
    // Blocks 4 and 9 are outside every channel: nothing may ever reach them.
    check(allZero(memory + 4 * kBlockSize, kBlockSize));
    check(allZero(memory + 9 * kBlockSize, kBlockSize));
    // Beyond the longest shot nothing is cut into the display blocks.
    for (int c = 0; c < kChannels; ++c)
        check(allZero(s.DisplaySamples(c).data() + kLongShot + 1, kBlockSize - kLongShot - 1));
    for (int c = 0; c < kChannels; ++c) {
        check(s.ProbeRange[std::size_t(c)] >= -101 && s.ProbeRange[std::size_t(c)] <= 154);
        check(s.ChannelGain[std::size_t(c)] >= 0 && s.ChannelGain[std::size_t(c)] <= 255);
    }
    check(control.progressMaximum() >= 0 && control.progressMaximum() <= 256);
}

} // namespace kavlon::fuzz
