// Feeds arbitrary frame sequences to the receive interpretation and checks what
// must hold whatever the instrument sends.
#include "core/acquisition/AcquisitionControl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using namespace kavlon;

class CheckingWriter : public ReportWriter {
public:
    std::optional<int> outputReportLength() override { return 65; }
    void writeReport(std::span<const std::uint8_t> report) override {
        if (report.size() != 65 || report[0] != 0x00 || report[1] != 0x25)
            std::abort();
    }
};

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool allZero(const std::uint8_t* begin, std::size_t n) {
    static const std::uint8_t zeros[kBlockSize] = {};
    return n <= kBlockSize && std::memcmp(begin, zeros, n) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    NullReceiveListener screen;
    CheckingWriter wire;
    AcquisitionControl control(screen, wire);
    control.setDemoPause([](std::chrono::milliseconds) {});
    // The first byte picks the link's situation.
    control.State.Connected = (data[0] & 1) != 0;
    control.DemoMode = (data[0] & 2) != 0;
    if (data[0] & 4)
        control.State.RequestName = "QP_Data00";
    ++data;
    --size;

    for (std::size_t at = 0; at < size; at += kFrameSize) {
        Frame frame{};
        std::memcpy(frame.data(), data + at, std::min<std::size_t>(kFrameSize, size - at));
        control.InterpretRecvData(frame);
        check(!control.busy());
    }

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
    return 0;
}
