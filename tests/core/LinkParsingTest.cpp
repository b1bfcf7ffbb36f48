#include "core/link/DeviceRecognition.h"
#include "core/link/InputReport.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace kavlon {
namespace {

struct ReportCase {
    const char* name;
    int received;     // bytes the device delivered
    int reportLength; // ReportLength from the capabilities
    int frameBytes;   // frame bytes taken from the report
};

const ReportCase kReportCases[] = {
    {"instrument report: 63 real bytes, none past its end", 65, 65, 63},
    {"short report leaves the rest zero", 10, 65, 8},
    {"long report fills the frame and no more", 100, 100, 67},
    {"longer than its capabilities say: ReportLength - 1 bounds it", 65, 10, 9},
    {"capabilities unknown: the report bounds it", 40, 0, 38},
    {"nothing past the report ID", 1, 65, 0},
    {"empty read", 0, 65, 0},
};

class FrameFromReportTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(FrameFromReportTest, CopiesOnlyWhatArrived) {
    const auto& c = GetParam();
    // The read buffer is larger than the report, and its tail holds an older report.
    std::vector<std::uint8_t> buffer(200, 0xEE);
    std::iota(buffer.begin(), buffer.begin() + c.received, std::uint8_t(1));
    const Frame f = frameFromReport(std::span(buffer).first(std::size_t(c.received)), c.reportLength);
    for (int i = 0; i < kFrameSize; ++i) {
        const int expected = i < c.frameBytes ? i + 3 : 0; // report byte i + 2 holds i + 3
        ASSERT_EQ(f[std::size_t(i)], expected) << c.name << ", frame byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Reports, FrameFromReportTest, ::testing::ValuesIn(kReportCases));

struct DeviceStringCase {
    std::array<std::string, 4> descriptors;
    const char* deviceString;
    bool accepted;
};

const DeviceStringCase kDeviceStringCases[] = {
    {{"", "Quorvel", "Scope Interface", ""}, " Quorvel Scope Interface", true},
    {{"", "Quorvel", "Scope Interface", "SIM0001"}, " Quorvel Scope Interface SIM0001", true},
    {{"", "Quorvel", "Serial Adapter Bench Scope", ""}, " Quorvel Serial Adapter Bench Scope", true},
    {{"", "Quorvel", "Serial Adapter Bench Scope", "7"}, " Quorvel Serial Adapter Bench Scope 7", false},
    {{"", "Quorvel", "", "Scope Interface"}, " Quorvel Scope Interface", true},
    {{"", "Quorvel", "", "SIM0001"}, " Quorvel SIM0001", false},
    {{"", "Quorvel", "Scope Interfac", ""}, " Quorvel Scope Interfac", false},
    {{"", "quorvel", "Scope Interface", ""}, " quorvel Scope Interface", false},
    {{"X", "Quorvel", "Scope Interface", ""}, "X Quorvel Scope Interface", false},
    {{"", "", "", ""}, "", false},
};

class DeviceStringTest : public ::testing::TestWithParam<DeviceStringCase> {};

TEST_P(DeviceStringTest, IsBuiltAndJudged) {
    const auto& c = GetParam();
    const std::string s = deviceStringOf(c.descriptors);
    EXPECT_EQ(s, c.deviceString);
    EXPECT_EQ(isInstrumentDeviceString(s), c.accepted) << s;
}

INSTANTIATE_TEST_SUITE_P(Descriptors, DeviceStringTest, ::testing::ValuesIn(kDeviceStringCases));

} // namespace
} // namespace kavlon
