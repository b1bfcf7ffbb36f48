// A saved shot turned back into the instrument's frames: what the receive path makes of
// them, and what cannot come back as it was written.
#include "core/shot/ShotReplay.h"
#include "core/acquisition/AcquisitionControl.h"
#include "core/acquisition/FrameEncoding.h"
#include "core/shot/ShotCsv.h"

#include "ShotTestSupport.h"
#include "support/Recorders.h"
#include "support/SameShot.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kavlon {
namespace {

// Takes the shot into a fresh record as a Data display would.
class Taker : public NullReceiveListener {
public:
    std::unique_ptr<ShotRecord> record;
    AcquisitionControl* control = nullptr;
    ShotDelivery shotCompleted(const CompletedShot& shot) override {
        EXPECT_TRUE(shot.whole()) << *shot.gap;
        record = std::make_unique<ShotRecord>();
        transferShot(control->State, *record, TransferInputs{});
        return ShotDelivery::Settled;
    }
};

// The frames of a replayed shot through the interpretation, after whatever the program
// heard before (the state it starts from).
std::unique_ptr<ShotRecord> played(const ReplayShot& shot,
                                   const std::function<void(AcquisitionControl&)>& before) {
    Taker taker;
    test::RecordingWriter writer;
    auto control = std::make_unique<AcquisitionControl>(taker, writer);
    taker.control = control.get();
    before(*control);
    control->RequestData("Data00");
    for (const Frame& f : shot.settingsReport)
        control->InterpretRecvData(f);
    control->InterpretRecvData(shot.gain);
    std::array<std::uint8_t, kBlockSize> memory;
    for (int c = 0; c < kChannels; ++c) {
        if (!shot.sendsChannel(c))
            continue;
        shot.fillMemory(c, memory);
        forEachSampleFrame(c, memory, 1, [&](const Frame& f) { control->InterpretRecvData(f); });
    }
    control->InterpretRecvData(shot.trailer);
    return std::move(taker.record);
}

// A 101-sample shot on four channels, each at a scale the front panel labels, with the
// texts it labels them with.
struct LabelledShot : test::ShotBench {
    LabelledShot() {
        state.VoltsIndex = {9, 10, 11, 11};
        state.ProbeRange = {3, 3, 3, 2};
        state.VoltsPerDivText = {"1 V / Div", "2 V / Div", "5 V / Div", "2.5 V / Div"};
        state.TriggerPoint = 812;
        state.TrailerValue = 4321;
        state.TimebaseOffset = 2;
        state.ReferenceLevels = {10, 50, 90};
        fill(1, [](int i) { return 40 + (i * 7) % 150; });
        fill(2, [](int i) { return i % 60 < 30 ? 60 : 180; });
        fill(3, [](int i) { return 255 - i % 256; });
        fill(4, [](int i) { return 128 + (i % 9); });
    }
};

struct ReplayCase {
    const char* name;
    std::function<void(AcquisitionState&)> change;
    // The record's volts texts as the replay delivers them, when they differ.
    std::array<std::string, kChannels> delivered{};
    std::vector<std::string> notes{};
    std::size_t settingsFrames = 1;
};

TEST(ShotReplay, ComesBackAsWrittenOrSaysWhatComesBackOtherwise) {
    // clang-format off
    const ReplayCase cases[] = {
        {"texts as the panel labels the scales", [](AcquisitionState&) {}},
        {"a window at sample 40, the nearest the trailer puts one",
         [](AcquisitionState& s) { s.WindowStart = 40; }},
        {"a window past the shot: nothing to send", [](AcquisitionState& s) { s.WindowStart = 5000; }},
        {"a scale without a label keeps an earlier label's text",
         [](AcquisitionState& s) { s.VoltsIndex[1] = 2; }, {}, {}, 2},
        {"a scale without volts (index 0)", [](AcquisitionState& s) { s.VoltsIndex[3] = 0; }, {}, {}, 2},
        {"a text other than the scale's label",
         [](AcquisitionState& s) { s.VoltsPerDivText[2] = "50 mV / Div"; }, {"", "", "5 V / Div", ""},
         {"channel 3's volts per div text \"50 mV / Div\" comes back as \"5 V / Div\", the label of its scale"}},
        {"a text no scale is labelled with, on a scale without a label",
         [](AcquisitionState& s) { s.VoltsIndex[0] = 1; s.VoltsPerDivText[0] = "µV"; },
         {"10 mV / Div", "", "", ""},
         {"channel 1's volts per div text \"µV\" comes back as \"10 mV / Div\": no scale is labelled with it"}, 2},
    };
    // clang-format on
    for (const ReplayCase& c : cases) {
        SCOPED_TRACE(c.name);
        LabelledShot bench;
        c.change(bench.state);
        bench.transfer();

        const ReplayShotResult replay = replayShotOf(bench.record);
        ASSERT_TRUE(replay.ok) << replay.error;
        EXPECT_EQ(replay.shot.notes, c.notes);
        EXPECT_EQ(replay.shot.settingsReport.size(), c.settingsFrames);

        // Whatever the panel showed before: the replay sets what the shot needs.
        const auto record = played(replay.shot, [](AcquisitionControl& control) {
            control.State.VoltsPerDivText = {"20 V / Div", "20 V / Div", "20 V / Div", "20 V / Div"};
            control.State.WindowMode = 1;
            control.State.ChannelGain = {85, 35, 85, 35};
        });
        ASSERT_NE(record, nullptr);
        ShotRecord expected = bench.record;
        for (std::size_t k = 0; k < kChannels; ++k)
            if (!c.delivered[k].empty())
                expected.VoltsPerDivText[k] = c.delivered[k];
        test::expectSameShot(*record, expected);
        EXPECT_EQ(shotCsvText(*record), shotCsvText(expected));
    }
}

TEST(ShotReplay, RefusesWhatTheInstrumentCannotSendAgain) {
    const struct {
        std::function<void(ShotRecord&)> change;
        const char* error;
    } cases[] = {
        {[](ShotRecord& r) { r.HasShot = false; }, "it holds no shot"},
        {[](ShotRecord& r) { r.WindowStart = 1; },
         "its window starts at sample 1, where the instrument's trailers put none (0, or 40 and beyond)"},
        {[](ShotRecord& r) { r.WindowStart = 39; },
         "its window starts at sample 39, where the instrument's trailers put none (0, or 40 and beyond)"},
        {[](ShotRecord& r) { r.TriggerSource = 9; }, "its trigger source 9 is outside 0..5"},
        {[](ShotRecord& r) {
             r.ChannelOn[1] = false;
             r.Analysis[1].Histogram[7] += 1;
         },
         "the value counts of channel 2 do not add up to the shot's samples"},
    };
    for (const auto& c : cases) {
        LabelledShot bench;
        bench.transfer();
        c.change(bench.record);
        const ReplayShotResult replay = replayShotOf(bench.record);
        EXPECT_FALSE(replay.ok) << c.error;
        EXPECT_EQ(replay.error, c.error);
    }
}

} // namespace
} // namespace kavlon
