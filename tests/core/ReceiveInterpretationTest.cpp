#include "core/acquisition/AcquisitionControl.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kavlon {
namespace {

struct Settings {
    int volts[4] = {9, 9, 9, 9};
    int timebase = 4;
    int timebaseOffset = 0;
    int zero[4] = {100, 100, 100, 100};
    int channelCount = 4;
    bool running = true;
    int triggerSource = 1;
    int triggerLevel = 80;
    std::uint8_t status[4] = {1, 1, 1, 1};
    int range[4] = {3, 3, 3, 3};
};

Frame encode(const Settings& s, bool extended = false) {
    Frame f{};
    f[0] = extended ? 0xFF : 0x69;
    f[1] = extended ? 5 : 0;
    for (int c = 0; c < 4; ++c) {
        f[2 + c] = std::uint8_t(s.volts[c]);
        f[8 + c] = std::uint8_t(s.zero[c]);
        f[18 + c] = s.status[c];
        f[23 + c] = std::uint8_t(s.range[c] + 101);
    }
    f[6] = std::uint8_t(s.timebase);
    f[7] = std::uint8_t(s.timebaseOffset);
    f[12] = std::uint8_t(s.channelCount);
    f[15] = s.running ? 1 : 0;
    f[16] = std::uint8_t(s.triggerSource);
    f[17] = std::uint8_t(s.triggerLevel);
    return f;
}

Frame sampleFrame(int channel, int offset, std::uint8_t value, bool extended = false) {
    Frame f{};
    const int shift = extended ? 1 : 0;
    f[0] = extended ? 0xFF : std::uint8_t(0x64 + channel);
    if (extended)
        f[1] = std::uint8_t(channel);
    f[1 + shift] = std::uint8_t(offset >> 8);
    f[2 + shift] = std::uint8_t(offset & 0xFF);
    for (int k = 0; k < 32; ++k)
        f[3 + shift + k] = value;
    return f;
}

Frame trailer(int windowPosition, int triggerPoint = 0, int trailerValue = 0) {
    Frame f{};
    f[0] = 0x6B;
    f[24] = 11;
    f[25] = 22;
    f[26] = 33;
    f[31] = std::uint8_t(triggerPoint & 0xFF);
    f[32] = std::uint8_t(triggerPoint >> 8);
    f[33] = std::uint8_t(windowPosition & 0xFF);
    f[34] = std::uint8_t(windowPosition >> 8);
    f[35] = std::uint8_t(trailerValue & 0xFF);
    f[36] = std::uint8_t(trailerValue >> 8);
    return f;
}

Frame gainFrame(std::array<int, 4> gains, int windowMode = 0) {
    Frame f{};
    f[0] = 0x6C;
    for (int c = 0; c < 4; ++c)
        f[2 + c] = std::uint8_t(gains[c]);
    f[6] = std::uint8_t(windowMode);
    return f;
}

class Receive : public ::testing::Test {
protected:
    test::RecordingListener screen;
    test::RecordingWriter wire;
    AcquisitionControl control{screen, wire};
    AcquisitionState& state = control.State;

    void fillRaw(int channel, auto valueAt) {
        auto raw = state.RawSamples(channel);
        for (int i = 0; i < kBlockSize; ++i)
            raw[std::size_t(i)] = std::uint8_t(valueAt(i));
    }
};

TEST_F(Receive, StartStateMatchesAFreshProgram) {
    EXPECT_EQ(state.ChannelCount, 4);
    EXPECT_FALSE(state.Connected);
    EXPECT_FALSE(control.DemoMode);
    EXPECT_TRUE(
        std::all_of(state.DisplaySlots.begin(), state.DisplaySlots.end(), [](int v) { return v == -1; }));
    EXPECT_TRUE(
        std::all_of(state.SampleMemory.begin(), state.SampleMemory.end(), [](auto v) { return v == 0; }));
    EXPECT_EQ(state.SampleMemory.size(), 163840u);
    EXPECT_EQ(state.CommandBuffer, CommandBytes{});
}

TEST_F(Receive, TimebaseLabelFollowsIndexPlusOffsetWithinTheTable) {
    struct Case {
        int index, offset;
        std::string label;
    };
    const Case cases[] = {
        {3, 2, "100 ns / Div"},   {0, 0, "2 ns / Div"},  {8, 0, "1 µs / Div"},
        {31, 0, "50 s / Div"},    {30, 2, "50 s / Div"}, // 32 leaves the previous text
        {200, 100, "50 s / Div"},
    };
    for (const auto& c : cases) {
        Settings s;
        s.timebase = c.index;
        s.timebaseOffset = c.offset;
        control.InterpretRecvData(encode(s));
        EXPECT_EQ(screen.timebaseLabel, c.label) << c.index << "+" << c.offset;
    }
}

TEST_F(Receive, StatusBytesSetChannelCouplingAndInvertBoxes) {
    struct Case {
        std::uint8_t status;
        bool on, coupling, invert;
    };
    const Case cases[] = {
        {0x06, false, false, false}, // bits 1 and 2: AC / DC stays unchecked
        {0x02, false, true, false},  {0x10, false, false, true}, {0x01, true, false, false},
        {0x13, true, true, true},    {0xFF, true, false, true},
    };
    for (const auto& c : cases) {
        Settings s;
        s.status[1] = c.status;
        control.InterpretRecvData(encode(s));
        EXPECT_EQ(state.ChannelOn[1], c.on) << int(c.status);
        EXPECT_EQ(screen.boxes[int(PanelBox::Channel)][1], c.on) << int(c.status);
        EXPECT_EQ(screen.boxes[int(PanelBox::Coupling)][1], c.coupling) << int(c.status);
        EXPECT_EQ(screen.boxes[int(PanelBox::Invert)][1], c.invert) << int(c.status);
        EXPECT_EQ(screen.channelEnabled[1], c.on) << int(c.status);
    }
}

TEST_F(Receive, ZeroLevelsPlaceTheTrackBars) {
    Settings s;
    s.zero[0] = 30;
    s.zero[1] = 222;
    s.zero[2] = 124;
    s.zero[3] = 0;
    control.InterpretRecvData(encode(s));
    EXPECT_EQ(screen.zeroLevelPosition[0], 384);
    EXPECT_EQ(screen.zeroLevelPosition[1], 0);
    EXPECT_EQ(screen.zeroLevelPosition[2], 196);
    EXPECT_EQ(screen.zeroLevelPosition[3], 444) << "outside the track bar; the panel clamps it";
    EXPECT_EQ(state.ZeroLevel, (std::array<int, 4>{30, 222, 124, 0}));
}

TEST_F(Receive, ProgressCountsSixtyFourStepsPerChannelThatIsOn) {
    Settings s;
    s.status[0] = 1;
    s.status[1] = 0;
    s.status[2] = 1;
    s.status[3] = 0;
    control.InterpretRecvData(encode(s));
    EXPECT_EQ(screen.progressMaximum, 128);

    control.InterpretRecvData(sampleFrame(3, 5 * 256, 0));
    EXPECT_EQ(screen.progressPosition, 133) << "channel 3 moves beyond the maximum";
    control.InterpretRecvData(sampleFrame(1, 63 * 256 + 224, 0));
    EXPECT_EQ(screen.progressPosition, 63);

    s.status[2] = 0;
    s.status[0] = 0;
    control.InterpretRecvData(encode(s));
    EXPECT_EQ(screen.progressMaximum, 0);
}

TEST_F(Receive, SettingsFrameUpdatesTheWholePanel) {
    control.InterpretRecvData(DemoSettingsFrame);
    EXPECT_EQ(screen.upperChannelsShown, false);
    EXPECT_TRUE(screen.boxes[int(PanelBox::Channel)][0]);
    EXPECT_TRUE(screen.boxes[int(PanelBox::Channel)][1]);
    EXPECT_FALSE(screen.boxes[int(PanelBox::Channel)][2]);
    EXPECT_FALSE(screen.boxes[int(PanelBox::Coupling)][0]);
    EXPECT_EQ(screen.running, true);
    EXPECT_EQ(screen.timebaseLabel, "50 ns / Div");
    EXPECT_EQ(screen.voltsLabel[0], "500 mV / Div");
    EXPECT_EQ(screen.voltsLabel[1], "2 V / Div");
    EXPECT_EQ(screen.voltsLabel[2], "1 V / Div");
    EXPECT_EQ(screen.controlsEnabledCount, 1);
    EXPECT_EQ(screen.refreshEnabledCount, 1);
    EXPECT_EQ(screen.channelEnabled[0], true);
    EXPECT_EQ(screen.channelEnabled[3], false);
    EXPECT_EQ(screen.progressMaximum, 128);
    EXPECT_EQ(state.ChannelCount, 2);
    EXPECT_EQ(state.ProbeRange, (std::array<int, 4>{3, 3, 3, 3}));
    EXPECT_EQ(state.TriggerSource, 1);
    EXPECT_EQ(state.TriggerLevel, 80);
    EXPECT_EQ(state.TimeStepIndex, 1);

    Settings four;
    four.running = false;
    four.channelCount = 7; // anything but 2 is four channels
    control.InterpretRecvData(encode(four));
    EXPECT_EQ(screen.upperChannelsShown, true);
    EXPECT_EQ(screen.running, false);
}

TEST_F(Receive, LabelIndexesOutsideTheTablesLeaveLabelsUnchanged) {
    Settings s;
    s.volts[0] = 2;  // a value but no label
    s.volts[1] = 12; // beyond the table
    s.range[2] = 10; // byte 111: fine
    s.volts[2] = 11;
    s.range[3] = 12;
    s.volts[3] = 0;
    control.InterpretRecvData(encode(s));
    EXPECT_EQ(screen.voltsLabel[0], "10 mV / Div");
    EXPECT_EQ(screen.voltsLabel[1], "10 mV / Div");
    EXPECT_EQ(screen.voltsLabel[2], "1 kV / Div");
    EXPECT_EQ(screen.voltsLabel[3], "10 mV / Div");

    Frame f = encode(Settings{});
    f[23] = 114; // ProbeRange 13
    f[24] = 100; // ProbeRange -1
    f[25] = 255;
    control.InterpretRecvData(f);
    EXPECT_EQ(screen.voltsLabel[0], "10 mV / Div");
    EXPECT_EQ(screen.voltsLabel[1], "10 mV / Div");
    EXPECT_EQ(screen.voltsLabel[2], "1 kV / Div");
    EXPECT_EQ(screen.voltsLabel[3], "1 V / Div");
    EXPECT_EQ(state.ProbeRange[0], 13);
    EXPECT_EQ(state.ProbeRange[1], -1);
}

TEST_F(Receive, ABoxChangedByAReportEchoesItsCommandOnceWhileConnected) {
    state.Connected = true;
    Settings s;
    s.status[0] = 0x03; // on, AC / DC
    s.status[1] = 0x00;
    s.status[2] = 0x00;
    s.status[3] = 0x00;
    control.InterpretRecvData(encode(s));
    // Boxes start unchecked: channel 1's coupling, then its channel box, change.
    std::vector<std::vector<std::uint8_t>> expected = {{0x06, 0x1C, 0x01, 0, 0, 0, 0},
                                                       {0x06, 0x07, 0x01, 0, 0, 0, 0}};
    EXPECT_EQ(wire.commands(), expected);

    wire.reports.clear();
    control.InterpretRecvData(encode(s));
    EXPECT_TRUE(wire.reports.empty()) << "a box set to the state it has sends nothing";

    s.status[0] = 0x11; // coupling off, invert on
    s.zero[0] = 40;     // track bar moves never send
    control.InterpretRecvData(encode(s));
    expected = {{0x06, 0x1C, 0x00, 0, 0, 0, 0}, {0x06, 0x20, 0x01, 0, 0, 0, 0}};
    EXPECT_EQ(wire.commands(), expected);
}

TEST_F(Receive, EchoesStayOffTheWireWhenOfflineOrInTheDemonstration) {
    Settings s;
    s.status[0] = 0x13;
    control.InterpretRecvData(encode(s));
    EXPECT_TRUE(wire.reports.empty());
    EXPECT_TRUE(control.panelBoxChecked(PanelBox::Invert, 1));

    control.DemoMode = true;
    state.Connected = true;
    s.status[0] = 0;
    control.InterpretRecvData(encode(s));
    EXPECT_TRUE(wire.reports.empty());
    EXPECT_FALSE(control.panelBoxChecked(PanelBox::Invert, 1));
}

TEST_F(Receive, UserClickRecordsTheBoxSoTheNextReportEchoesOnlyRealChanges) {
    state.Connected = true;
    control.PanelBoxClick(PanelBox::Channel, 3, true);
    ASSERT_EQ(wire.commands().size(), 1u);
    EXPECT_EQ(wire.commands()[0], (std::vector<std::uint8_t>{0x06, 0x0A, 0x01, 0, 0, 0, 0}));
    Settings s;
    s.status[0] = s.status[1] = s.status[3] = 0;
    s.status[2] = 1;
    wire.reports.clear();
    control.InterpretRecvData(encode(s));
    EXPECT_TRUE(wire.reports.empty());
}

TEST_F(Receive, GainScalesTheShotWindow) {
    fillRaw(0, [](int i) { return i % 256; });
    fillRaw(1, [](int i) { return i % 256; });
    fillRaw(2, [](int i) { return i % 256; });
    fillRaw(3, [](int i) { return i % 256; });
    control.InterpretRecvData(gainFrame({85, 35, 0, 1}));
    control.InterpretRecvData(trailer(0));
    ASSERT_EQ(state.WindowStart, 40);
    for (int i : {0, 23, 24, 100, 215, 1000}) {
        const int r = (40 + i) % 256;
        EXPECT_EQ(state.DisplaySamples(0)[i], (r - 64) & 0xFF) << i;
        EXPECT_EQ(state.DisplaySamples(1)[i], (2 * r - 64) & 0xFF) << i;
        EXPECT_EQ(state.DisplaySamples(2)[i], r) << i;
        EXPECT_EQ(state.DisplaySamples(3)[i], (r * 100 / 16 - 64) & 0xFF) << i;
    }
}

TEST_F(Receive, TrailerCutsTheWindowForTheShotLength) {
    fillRaw(0, [](int i) { return 1 + i % 200; });
    struct Case {
        const char* name;
        int timebase, windowPosition, windowMode;
        bool demo;
        int start, length;
    };
    const Case cases[] = {
        {"short shot", 7, 0, 0, false, 40, 4021},
        {"long shot at index 6", 6, 0, 0, false, 40, 16261},
        {"window mode 1", 6, 500, 1, false, 0, 16301},
        {"demonstration", 7, 500, 0, true, 0, 4061},
        {"start at the last sample", 7, 4020, 0, false, 4060, 1},
        {"start beyond the shot", 7, 4021, 0, false, 4061, 0},
        {"start far beyond memory", 0, 65535, 0, false, 65575, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::fill(state.SampleMemory.begin() + 5 * kBlockSize, state.SampleMemory.end(), 0);
        control.DemoMode = c.demo;
        Settings s;
        s.timebase = c.timebase;
        control.InterpretRecvData(encode(s));
        control.InterpretRecvData(gainFrame({0, 0, 0, 0}, c.windowMode));
        control.InterpretRecvData(trailer(c.windowPosition, 0, 0x1234));
        EXPECT_EQ(state.WindowStart, c.start);
        EXPECT_EQ(state.TrailerValue, 0x1234);
        const auto out = state.DisplaySamples(0);
        const auto filled = std::find(out.begin(), out.end(), 0) - out.begin();
        EXPECT_EQ(filled, c.length);
        if (c.length > 0) {
            EXPECT_EQ(out[0], 1 + c.start % 200);
            EXPECT_EQ(out[std::size_t(c.length - 1)], 1 + (c.start + c.length - 1) % 200);
        }
    }
    // Blocks 4 and 9 are never written.
    EXPECT_TRUE(std::all_of(state.SampleMemory.begin() + 4 * kBlockSize,
                            state.SampleMemory.begin() + 5 * kBlockSize, [](auto v) { return v == 0; }));
}

TEST_F(Receive, TrailerDeliversTheShotToTheRequestingDisplay) {
    control.InterpretRecvData(trailer(0, 0x0102));
    EXPECT_TRUE(screen.completedShots.empty()) << "no request pending: nothing delivered";
    EXPECT_EQ(state.TriggerPoint, 0x0102);
    EXPECT_EQ(state.ReferenceLevels, (std::array<int, 3>{11, 22, 33}));

    control.RequestData("Data03");
    control.InterpretRecvData(trailer(0));
    EXPECT_EQ(screen.completedShots, std::vector<std::string>{"Data03"});
    EXPECT_EQ(screen.quickPrintDeliveries, 0);

    control.RequestData("QP_Data");
    control.InterpretRecvData(trailer(0));
    EXPECT_EQ(screen.completedShots.back(), "QP_Data");
    EXPECT_EQ(screen.quickPrintDeliveries, 1);
}

TEST_F(Receive, ARequestIsSettledOnceItsShotIsTaken) {
    struct Case {
        const char* name;
        ShotDelivery answer;
        bool askAgainWhileTaking;
        const char* pendingAfter;
        std::size_t deliveriesAfterASecondTrailer;
    };
    const Case cases[] = {
        {"taken: settled, a second trailer delivers nothing", ShotDelivery::Settled, false, "", 1},
        {"nowhere to go: stays pending for the next trailer", ShotDelivery::KeepPending, false, "Data02", 2},
        {"the display asks again while taking it: the new request stays", ShotDelivery::Settled, true,
         "Data02", 2},
    };
    for (const Case& c : cases) {
        test::RecordingListener listener;
        AcquisitionControl acq{listener, wire};
        listener.delivery = c.answer;
        listener.onShot = [&] {
            if (c.askAgainWhileTaking && listener.completedShots.size() == 1)
                acq.RequestData("Data02");
        };
        acq.RequestData("Data02");
        acq.InterpretRecvData(trailer(0));
        EXPECT_EQ(acq.State.RequestName, c.pendingAfter) << c.name;
        acq.InterpretRecvData(trailer(0));
        EXPECT_EQ(listener.completedShots.size(), c.deliveriesAfterASecondTrailer) << c.name;
    }
}

// A shot is only as good as the frames it was made of: every sample of the window
// must have come with this shot, or the shot is delivered as not whole.
TEST_F(Receive, AShotLackingAFrameOfItsWindowIsNotWhole) {
    using Skip = bool (*)(int channel, int offset);
    struct Case {
        const char* name;
        std::array<std::uint8_t, 4> status; // bit 0: the channel is on
        int timebase;
        int windowPosition; // -1: window mode 1, the window starts at 0
        bool extended;
        Skip skip;
        const char* gap; // nullptr: whole
    };
    const Skip none = [](int, int) { return false; };
    const Case cases[] = {
        {"whole four-channel shot", {1, 1, 1, 1}, 3, -1, false, none, nullptr},
        {"one frame of channel 3 lost",
         {1, 1, 1, 1},
         3,
         -1,
         false,
         [](int c, int o) { return c == 3 && o == 16288; },
         "channel 3 lacks sample 16288"},
        {"a frame past the long shot's end is not needed",
         {1, 0, 0, 0},
         3,
         -1,
         false,
         [](int, int o) { return o == 16320; },
         nullptr},
        {"the last frame before the shot's end lost",
         {1, 0, 0, 0},
         7,
         -1,
         false,
         [](int, int o) { return o == 4032; },
         "channel 1 lacks sample 4032"},
        {"a frame past a short shot's end is not needed",
         {1, 0, 0, 0},
         7,
         -1,
         false,
         [](int, int o) { return o >= 4064; },
         nullptr},
        {"a frame before the window start is not needed",
         {1, 0, 0, 0},
         3,
         60,
         false,
         [](int, int o) { return o == 64; },
         nullptr},
        {"the first frame of the window is",
         {1, 0, 0, 0},
         3,
         60,
         false,
         [](int, int o) { return o == 96; },
         "channel 1 lacks sample 100"},
        {"a channel that is off sends nothing", {1, 0, 1, 0}, 3, -1, false, none, nullptr},
        {"extended frames count as well",
         {1, 1, 0, 0},
         3,
         0,
         true,
         [](int c, int o) { return c == 2 && o == 0; },
         "channel 2 lacks sample 0"},
        {"frames of the shot before do not count",
         {1, 0, 0, 0},
         3,
         -1,
         false,
         [](int, int o) { return o == 320; },
         "channel 1 lacks sample 320"},
    };
    for (const Case& c : cases) {
        Settings s;
        s.timebase = c.timebase;
        std::copy(c.status.begin(), c.status.end(), s.status);
        control.InterpretRecvData(encode(s));
        control.InterpretRecvData(gainFrame({0, 0, 0, 0}, c.windowPosition < 0 ? 1 : 0));
        // Every case follows a whole shot, so a lost frame finds the earlier shot's samples.
        for (bool earlierShot : {true, false}) {
            control.RequestData("Data00");
            for (int ch = 1; ch <= kChannels; ++ch)
                for (int offset = 0; offset < kBlockSize; offset += frame::SamplesPerFrame)
                    if ((c.status[std::size_t(ch - 1)] & 1) && (earlierShot || !c.skip(ch, offset)))
                        control.InterpretRecvData(sampleFrame(ch, offset, 9, c.extended));
            Frame end = trailer(std::max(c.windowPosition, 0));
            if (c.extended) {
                end = Frame{};
                end[0] = 0xFF;
                end[1] = 7;
            }
            control.InterpretRecvData(end);
        }
        ASSERT_EQ(screen.wholeShots.size(), screen.gaps.size());
        EXPECT_TRUE(screen.wholeShots.rbegin()[1]) << c.name << ": the earlier shot";
        EXPECT_EQ(screen.wholeShots.back(), c.gap == nullptr) << c.name;
        if (c.gap) {
            EXPECT_NE(screen.gaps.back().find(c.gap), std::string::npos)
                << c.name << ": " << screen.gaps.back();
        }
    }
}

TEST(ShotCoverage, AFrameAtAnyOffsetMarksItsOwnSamplesOnly) {
    // Damaged offsets need not be multiples of 32: a frame may span two 64-sample words.
    AcquisitionState s;
    s.ChannelOn = {true, false, false, false};
    s.TimebaseIndex = 3; // the window runs to sample 16300
    const auto firstGap = [&](const ShotCoverage& coverage, int windowStart) {
        return coverage.gap(s, windowStart, kLongShot - windowStart + 1).value_or("whole");
    };
    for (int offset : {0, 60, 64, 100, 16260, 16290}) {
        ShotCoverage coverage;
        coverage.mark(1, offset);
        const int end = offset + frame::SamplesPerFrame;
        EXPECT_EQ(firstGap(coverage, offset),
                  end > kLongShot
                      ? "whole"
                      : "channel 1 lacks sample " + std::to_string(end) + " of the shot (a frame was lost)")
            << offset;
        if (offset > 0) {
            EXPECT_NE(firstGap(coverage, offset - 1).find("sample " + std::to_string(offset - 1) + " "),
                      std::string::npos)
                << offset;
        }
    }
    ShotCoverage outside;
    for (const auto& [channel, offset] : {std::pair{1, kBlockSize}, {5, 0}, {0, 0}, {1, -32}})
        outside.mark(channel, offset);
    EXPECT_NE(firstGap(outside, 0).find("sample 0 "), std::string::npos);
}

TEST_F(Receive, SampleFramesWriteOnlyInsideTheirChannel) {
    struct Case {
        int offset;
        int written;
    };
    const Case cases[] = {{0, 32}, {16352, 32}, {16360, 24}, {16383, 1}, {16384, 0}, {65535, 0}};
    for (const auto& c : cases) {
        std::fill(state.SampleMemory.begin(), state.SampleMemory.end(), 0);
        control.InterpretRecvData(sampleFrame(4, c.offset, 0x5A));
        const auto total = std::count(state.SampleMemory.begin(), state.SampleMemory.end(), 0x5A);
        EXPECT_EQ(total, c.written) << c.offset;
        const auto ch4 = state.RawSamples(3);
        EXPECT_EQ(std::count(ch4.begin(), ch4.end(), 0x5A), c.written) << c.offset;
        EXPECT_EQ(screen.progressPosition, (c.offset >> 8) + 192);
    }
}

TEST_F(Receive, ExtendedFramesAreOneByteLater) {
    control.InterpretRecvData(sampleFrame(2, 0x0120, 77, true));
    EXPECT_EQ(state.RawSamples(1)[0x120], 77);
    EXPECT_EQ(state.RawSamples(1)[0x13F], 77);
    EXPECT_EQ(state.RawSamples(1)[0x140], 0);
    EXPECT_EQ(screen.progressPosition, 1 + 64);

    Settings s;
    s.timebase = 9;
    s.volts[0] = 5;
    control.InterpretRecvData(encode(s, true));
    EXPECT_EQ(state.TimebaseIndex, 9);
    EXPECT_EQ(screen.voltsLabel[0], "50 mV / Div");

    // Extended trailer: window from TriggerPoint + WindowStart, no +40, no gain.
    fillRaw(0, [](int i) { return 1 + i % 250; });
    control.InterpretRecvData(gainFrame({85, 85, 85, 85}, 1));
    state.RequestName = "Data01";
    Frame t{};
    t[0] = 0xFF;
    t[1] = 7;
    t[31] = 100;  // TriggerPoint 100
    t[33] = 0xEE; // not used
    t[35] = 10;   // WindowStart 10
    control.InterpretRecvData(t);
    EXPECT_EQ(state.WindowStart, 10);
    EXPECT_EQ(state.TriggerPoint, 100);
    EXPECT_EQ(state.DisplaySamples(0)[0], 1 + 110 % 250);
    EXPECT_EQ(state.DisplaySamples(0)[4060 - 110], 1 + 4060 % 250);
    EXPECT_EQ(state.DisplaySamples(0)[4060 - 110 + 1], 0);
    EXPECT_EQ(screen.completedShots, std::vector<std::string>{"Data01"});
}

TEST_F(Receive, UnknownFramesChangeNothing) {
    control.InterpretRecvData(DemoSettingsFrame);
    const AcquisitionState before = state;
    const auto progressCalls = screen.progressHistory.size();
    for (int type : {0x00, 0x64, 0x6A, 0x6D, 0x95, 0x98, 0xFE}) {
        Frame f{};
        f.fill(0x33);
        f[0] = std::uint8_t(type);
        control.InterpretRecvData(f);
    }
    for (int subtype : {0, 6, 8, 255}) {
        Frame f{};
        f.fill(0x33);
        f[0] = 0xFF;
        f[1] = std::uint8_t(subtype);
        control.InterpretRecvData(f);
    }
    EXPECT_EQ(state.SampleMemory, before.SampleMemory);
    EXPECT_EQ(state.VoltsIndex, before.VoltsIndex);
    EXPECT_EQ(state.TriggerPoint, before.TriggerPoint);
    EXPECT_EQ(state.ChannelGain, before.ChannelGain);
    EXPECT_EQ(screen.progressHistory.size(), progressCalls);
    EXPECT_TRUE(wire.reports.empty());
}

TEST_F(Receive, QuickPrintFramePassesItsMode) {
    Frame f{};
    f[0] = 0x96;
    f[1] = 2;
    control.InterpretRecvData(f);
    EXPECT_EQ(screen.quickPrintModes, std::vector<int>{2});
}

TEST_F(Receive, RawMemoryKeepsWhatNoFrameOfTheNextShotOverwrote) {
    control.InterpretRecvData(sampleFrame(1, 0, 9));
    control.InterpretRecvData(sampleFrame(1, 32, 9));
    control.InterpretRecvData(trailer(0));
    control.InterpretRecvData(sampleFrame(1, 32, 4));
    control.InterpretRecvData(trailer(0));
    EXPECT_EQ(state.RawSamples(0)[0], 9);
    EXPECT_EQ(state.RawSamples(0)[32], 4);
}

} // namespace
} // namespace kavlon
