#include "device/link/ReceivePump.h"

#include "support/EventLoopWait.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kavlon {
namespace {

// A screen whose quick print fails: the failure must cost that one frame only.
class FailingQuickPrint : public NullReceiveListener {
public:
    void quickPrintRequested(int) override { throw std::runtime_error("printer on fire"); }
    void progressPositionChanged(int position) override { positions.push_back(position); }
    std::vector<int> positions;
};

class NoDevice : public ReportWriter {
public:
    std::optional<int> outputReportLength() override { return std::nullopt; }
    void writeReport(std::span<const std::uint8_t>) override {}
};

InputReport reportOf(std::uint8_t type, std::uint8_t b1) {
    std::uint8_t bytes[65] = {};
    bytes[2] = type;
    bytes[3] = b1;
    return InputReport::from(bytes, 65);
}

TEST(ReceivePump, AFrameThatFailsIsDroppedAndTheRestAreInterpretedInOrder) {
    FailingQuickPrint screen;
    NoDevice wire;
    AcquisitionControl control(screen, wire);
    ReceivePump pump(control);
    ASSERT_TRUE(pump.queue().push(reportOf(0x65, 1)));
    ASSERT_TRUE(pump.queue().push(reportOf(0x96, 0))); // quick print: throws
    ASSERT_TRUE(pump.queue().push(reportOf(0x65, 3)));
    ASSERT_TRUE(pump.queue().push(reportOf(0x66, 4)));
    pump.drain();
    ASSERT_TRUE(test::waitUntil([&] { return screen.positions.size() == 3; }, std::chrono::seconds(2)));
    EXPECT_EQ(screen.positions, (std::vector<int>{1, 3, 68}));
    EXPECT_FALSE(control.busy());
}

} // namespace
} // namespace kavlon
