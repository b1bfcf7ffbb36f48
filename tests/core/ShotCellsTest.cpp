#include "ShotTestSupport.h"

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using test::ShotBench;

TEST(ShotCells, HeadingsAndSampleNumbers) {
    struct Case {
        int column, row;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, ""},        {1, 0, "CH I"},   {2, 0, "CH I"},  {3, 0, "CH II"},     {6, 0, "CH III"},
        {8, 0, "CH IV"},   {0, 1, "Number"}, {1, 1, "Value"}, {2, 1, "Voltage"},   {7, 1, "Value"},
        {8, 1, "Voltage"}, {0, 2, "0"},      {0, 103, "101"}, {0, 16386, "16384"}, {0, 16387, ""},
        {9, 2, ""},        {-1, 2, ""},      {0, -1, ""},     {1, 2, ""},          {8, 16386, ""},
    };
    ShotBench fresh;
    EXPECT_FALSE(fresh.record.HasShot);
    EXPECT_EQ(fresh.record.Cells.rowCount(), 16300);

    // A short shot leaves the numbers alone, past its length too.
    ShotBench shot;
    shot.state.ChannelOn = {};
    shot.transfer();
    for (const ShotBench* bench : {&fresh, &shot})
        for (const auto& c : cases)
            EXPECT_EQ(bench->cell(c.column, c.row), c.text) << c.column << "/" << c.row;
}

// Each transfer rewrites a prefix of the rows; what lies beyond keeps the value and the
// channel scale of the transfer that wrote it.
TEST(ShotCells, OlderCellsKeepTheirOwnVoltage) {
    struct Transfer {
        int timebase, windowStart; // n = shot length - window start
        bool on;
        int zero, volts, value;
    };
    struct Expect {
        int sample;
        const char *value, *voltage;
    };
    struct Step {
        Transfer transfer;
        int rowCount;
        std::vector<Expect> cells;
    };
    // Every value sits 24 raw steps (one division) below its zero level.
    // clang-format off
    const Step steps[] = {
        {{6, 40, true, 100, 9, 76}, 16260, {{0, "76", "1.0 V"}, {16260, "76", "1.0 V"}, {16261, "", ""}}},
        {{7, 60, true, 120, 3, 96}, 4000,
         {{0, "96", "10.0 mV"}, {4000, "96", "10.0 mV"}, {4001, "76", "1.0 V"}, {16260, "76", "1.0 V"}}},
        {{7, 3960, false, 0, 9, 0}, 100, {{0, "", ""}, {100, "", ""}, {101, "96", "10.0 mV"}, {4001, "76", "1.0 V"}}},
        {{6, 8300, true, 50, 11, 26}, 8000,
         {{0, "26", "5.0 V"}, {8000, "26", "5.0 V"}, {8001, "76", "1.0 V"}, {16261, "", ""}}},
    };
    // clang-format on
    ShotBench bench;
    for (std::size_t s = 0; s < std::size(steps); ++s) {
        const Transfer& t = steps[s].transfer;
        bench.state.TimebaseIndex = t.timebase;
        bench.state.WindowStart = t.windowStart;
        bench.state.ChannelOn[0] = t.on;
        bench.state.ZeroLevel[0] = t.zero;
        bench.state.VoltsIndex[0] = t.volts;
        bench.fill(1, [&t](int) { return t.value; });
        bench.transfer();
        EXPECT_EQ(bench.record.Cells.rowCount(), steps[s].rowCount) << "step " << s;
        for (const Expect& e : steps[s].cells) {
            SCOPED_TRACE(testing::Message() << "step " << s << " sample " << e.sample);
            EXPECT_EQ(bench.cell(1, e.sample + 2), e.value);
            EXPECT_EQ(bench.cell(2, e.sample + 2), e.voltage);
            const auto raw = bench.record.Cells.rawValue(1, e.sample);
            EXPECT_EQ(raw ? std::to_string(*raw) : "", e.value);
        }
    }
    EXPECT_EQ(bench.cell(2, 8003, ','), "1,0 V") << "the reader's locale, the shot's own scale";
}

} // namespace
} // namespace kavlon
