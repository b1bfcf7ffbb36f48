// Saved shots played back as the instrument, through the whole receive path: the
// replay backend, the reader thread, the queue, the interpretation and the transfer.
#include "ShotFiles.h"

#include "device/replay/ReplayBackend.h"
#include "device/session/InstrumentSession.h"
#include "device/simulator/SimulatedBackend.h"

#include "core/acquisition/Commands.h"
#include "core/acquisition/FrameEncoding.h"

#include "support/EventLoopWait.h"
#include "support/SameShot.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kavlon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ScratchFolder;
using test::waitUntil;

// A session on a replay, taking every shot into a new record as a Data display would.
struct Replay {
    explicit Replay(std::shared_ptr<const ReplayList> list)
        : session(std::make_unique<ReplayBackend>(std::move(list), true)),
          backend(static_cast<ReplayBackend&>(session.backend())) {
        session.controller().setSettleTime(0ms);
        session.setShotTaker([this](const CompletedShot& shot) {
            EXPECT_TRUE(shot.whole()) << *shot.gap;
            taken = std::make_unique<ShotRecord>();
            transferShot(session.state(), *taken, TransferInputs{});
            return ShotDelivery::Settled;
        });
        session.start();
        session.connectInstrument();
        EXPECT_TRUE(waitUntil([&] { return session.settingsReports() >= 1; }));
    }

    std::unique_ptr<ShotRecord> shot() {
        taken.reset();
        session.requestShot("Data00");
        EXPECT_TRUE(waitUntil([&] { return taken != nullptr; }));
        return std::move(taken);
    }

    // Waits until the program has read and interpreted everything the instrument sent.
    void settle() {
        ASSERT_TRUE(waitUntil([&] {
            return backend.reportsWaiting() == 0 &&
                   backend.reportsRead() == session.connection().pump().interpreted();
        }));
    }

    InstrumentSession session;
    ReplayBackend& backend;
    std::unique_ptr<ShotRecord> taken;
};

std::shared_ptr<const ReplayList> load(const std::vector<fs::path>& paths) {
    auto list = std::make_shared<ReplayList>(loadReplayList(paths));
    EXPECT_TRUE(list->skipped.empty()) << list->skipped.front();
    return list;
}

// A shot that came through an extended trailer: its window starts 300 samples past the
// trigger point, and its last 812 samples are those the previous shot left.
std::unique_ptr<AcquisitionState> extendedTrailerShot() {
    test::ShotFileCase settings{"extended"};
    settings.timebase = 7;
    auto earlier = test::shotFileState(settings);
    NullReceiveListener listener;
    class : public ReportWriter {
        std::optional<int> outputReportLength() override { return std::nullopt; }
        void writeReport(std::span<const std::uint8_t>) override {}
    } nowhere;
    AcquisitionControl control(listener, nowhere);
    control.State = *earlier;
    SettingsReport report;
    report.voltsIndex = settings.volts;
    report.probeRange = settings.probes;
    report.zeroLevel = {128, 120, 140, 100};
    report.on = settings.on;
    report.timebaseIndex = 7;
    report.channelCount = 4;
    control.InterpretRecvData(encodeSettings(report));
    std::array<std::uint8_t, kBlockSize> memory;
    for (int c = 0; c < kChannels; ++c) {
        for (int i = 0; i < kBlockSize; ++i)
            memory[std::size_t(i)] = std::uint8_t(60 + (i / (20 + 7 * c)) % 2 * 90);
        forEachSampleFrame(c, memory, 1, [&](const Frame& f) { control.InterpretRecvData(f); });
    }
    Frame trailer{};
    trailer[0] = frame::Extended;
    trailer[1] = frame::ExtTrailer;
    trailer[24] = 20;
    trailer[25] = 50;
    trailer[26] = 80;
    trailer[31] = 812 & 0xFF;
    trailer[32] = 812 >> 8;
    trailer[35] = 44;
    trailer[36] = 1; // window start 300
    control.InterpretRecvData(trailer);
    return std::make_unique<AcquisitionState>(control.State);
}

// A shot the simulated instrument delivered and the program saved.
std::unique_ptr<AcquisitionState> simulatorShot() {
    InstrumentSession session(std::make_unique<SimulatedBackend>(SimulationOptions{false, 0ms}));
    session.controller().setSettleTime(0ms);
    std::unique_ptr<AcquisitionState> state;
    session.setShotTaker([&](const CompletedShot&) {
        state = std::make_unique<AcquisitionState>(session.state());
        return ShotDelivery::Settled;
    });
    session.start();
    session.connectInstrument();
    session.requestShot("Data00");
    EXPECT_TRUE(waitUntil([&] { return state != nullptr; }));
    return state;
}

struct PlayedFile {
    fs::path path;
    // The volts texts the replay delivers where the file's are not its scales' labels.
    std::array<std::string, kChannels> delivered{};
};

TEST(Replay, EverySavedShotComesBackCellForCellAndSavesToTheSameBytes) {
    ScratchFolder folder;
    // clang-format off
    const test::ShotFileCase cases[] = {
        {"four channels, the whole memory"},
        {"two channels, 3 and 4 flagged on but never read", 2, {true, true, true, true}, 7, 0, 0, 2},
        {"channel 2 off: its values are counted all the same", 4, {true, false, true, true}, 3, 2, 200, 0},
        {"mode 3, two off", 3, {false, true, true, false}, 9, 1, 40, 5},
        {"two channels, one off", 2, {false, true, false, false}, 12, 1, 1000, 2},
        {"window past the shot: an empty shot", 4, {true, true, true, true}, 7, 1, 5000},
        {"scales without a label", 4, {true, true, true, true}, 5, 0, 16000, 1, {0, 2, 5, 11}, {3, 3, 9, 12}},
        {"the same settings again, another window", 4, {true, true, true, true}, 5, 0, 16100, 1, {0, 2, 5, 11},
         {3, 3, 9, 12}},
    };
    // clang-format on
    std::vector<PlayedFile> files;
    // Named so that the folder's name order is the order they are added in.
    const auto nextName = [&] {
        char name[16];
        std::snprintf(name, sizeof name, "%03zu.csv", files.size());
        return folder.path() / name;
    };
    const auto add = [&](const AcquisitionState& state) {
        files.push_back({test::saveShotFile(nextName(), state)});
    };
    for (const auto& c : cases)
        add(*test::shotFileState(c));
    // Every timebase, each window in turn at the start (window mode 1) and near the end.
    for (int timebase = 0; timebase < kTimebaseSteps; ++timebase) {
        test::ShotFileCase c{"timebase"};
        c.timebase = timebase;
        c.zoom = timebase < kTimebaseSteps - 1 ? 1 : 0;
        c.windowStart = timebase % 4 == 0 ? 0 : shotLength(timebase) - 100 - timebase;
        add(*test::shotFileState(c));
    }
    add(*extendedTrailerShot());
    add(*simulatorShot());
    // The shot files of the fuzz seeds carry texts no front panel made for their scales.
    for (const char* seed : {"two-channels-6-samples", "four-channels-13-samples"}) {
        files.push_back({nextName()});
        fs::copy_file(fs::path(KAVLON_FUZZ_SEEDS) / "fuzz_shot_file" / seed, files.back().path);
        files.back().delivered = {"1 V / Div", "5 V / Div", "5 mV / Div", "5 kV / Div"};
    }

    // A text no scale is labelled with, kept from before on a scale without a label.
    test::ShotFileCase unlabelled{"volts index 1"};
    unlabelled.volts[0] = 1;
    auto state = test::shotFileState(unlabelled);
    state->VoltsPerDivText[0] = "µV";
    add(*state);
    files.back().delivered = {"10 mV / Div", "5 V / Div", "5 mV / Div", "5 kV / Div"};

    const auto list = load({folder.path()});
    ASSERT_EQ(list->shots.size(), files.size());
    // Four texts of each seed, one of the last file; said as they will come back.
    ASSERT_EQ(list->notes.size(), 9u);
    EXPECT_EQ(list->notes[0],
              files[files.size() - 3].path.string() +
                  ": channel 1's volts per div text \"10 mV / Div\" comes back as \"1 V / Div\", the "
                  "label of its scale");
    EXPECT_EQ(list->notes[8],
              files.back().path.string() +
                  ": channel 1's volts per div text \"µV\" comes back as \"10 mV / Div\": no scale is "
                  "labelled with it");
    Replay replay(list);
    // Once through the list and into it again from its start.
    for (std::size_t n = 0; n < files.size() + 2; ++n) {
        const PlayedFile& file = files[n % files.size()];
        SCOPED_TRACE(file.path.filename().string());
        const auto played = replay.shot();
        ASSERT_NE(played, nullptr);
        EXPECT_EQ(replay.backend.currentShot(), n % files.size());
        auto expected = std::make_unique<ShotFileResult>(readShotFile(file.path, TransferInputs{}));
        ASSERT_TRUE(expected->ok) << expected->error;
        std::string bytes = test::fileBytes(file.path);
        if (!file.delivered[0].empty()) {
            expected->record.VoltsPerDivText = file.delivered;
            bytes = test::withVoltsTexts(bytes, file.delivered);
        }
        test::expectSameShot(*played, expected->record);
        EXPECT_EQ(shotCsvText(*played), bytes);
    }
}

TEST(Replay, DamagedFilesAreSkippedWithTheirLineAndTheOthersPlayed) {
    ScratchFolder folder;
    const fs::path good = test::saveShotFile(folder.path() / "a.csv", *test::shotFileState({"good"}));
    std::string bad = test::fileBytes(good);
    bad.replace(bad.find("# trigger source,1"), 18, "# trigger source,9");
    std::ofstream(folder.path() / "b.csv", std::ios::binary) << bad;
    std::ofstream(folder.path() / "c.csv", std::ios::binary) << "";
    std::ofstream(folder.path() / "notes.txt") << "not a shot";
    test::ShotFileCase early{"window at 20"};
    early.windowStart = 20;
    test::saveShotFile(folder.path() / "d.CSV", *test::shotFileState(early));
    fs::create_directory(folder.path() / "empty");

    const std::string dir = folder.path().string();
    const ReplayList list =
        loadReplayList({folder.path(), folder.path() / "empty", folder.path() / "gone.csv"});
    ASSERT_EQ(list.shots.size(), 1u);
    EXPECT_EQ(list.shots[0].path, good);
    EXPECT_EQ(list.skipped,
              (std::vector<std::string>{
                  dir + "/b.csv: line 10: trigger source 9 is outside 0..5",
                  dir + "/c.csv: the file is empty",
                  dir + "/d.CSV: cannot be replayed: its window starts at sample 20, where the instrument's "
                        "trailers put none (0, or 40 and beyond)",
                  dir + "/empty: no shot files (*.csv) in this folder",
                  dir + "/gone.csv: No such file or directory",
              }));
    EXPECT_TRUE(list.notes.empty());
}

TEST(Replay, CommandsAreAnsweredWithTheRecordingsSettingsUnchanged) {
    ScratchFolder folder;
    test::ShotFileCase c{"stopped nowhere"};
    c.timebase = 9;
    const auto list = load({test::saveShotFile(folder.path() / "a.csv", *test::shotFileState(c))});
    Replay replay(list);
    AcquisitionControl& control = replay.session.acquisition();
    // The first report ticks four channel boxes, whose echoes it answers too.
    replay.settle();
    const int before = replay.session.settingsReports();
    EXPECT_EQ(before, 5);
    control.sendCommand([](CommandBytes& b) { CmdTimebaseStep(b, TimebaseStep::Slower); });
    control.sendCommand([](CommandBytes& b) { CmdVoltsStep(b, 2, VoltsStep::Bigger); });
    control.sendCommand([](CommandBytes& b) { CmdRunStop(b); });
    control.sendCommand([](CommandBytes& b) { CmdZeroLevel(b, 1, 100); });
    // The report turns the box on again, which echoes once more.
    control.PanelBoxClick(PanelBox::Channel, 3, false);
    replay.settle();
    EXPECT_EQ(replay.session.settingsReports(), before + 6);
    const AcquisitionState& s = replay.session.state();
    EXPECT_EQ(s.TimebaseIndex, 9);
    EXPECT_EQ(s.VoltsIndex, c.volts);
    EXPECT_TRUE(s.Running);
    EXPECT_EQ(s.ZeroLevel, (std::array<int, kChannels>{128, 120, 140, 100}));
    EXPECT_TRUE(s.ChannelOn[2]);
    EXPECT_TRUE(control.panelBoxChecked(PanelBox::Channel, 3));
}

TEST(Replay, AShotCostsTheLinkWhatARealOneDoes) {
    // A full four-channel shot is 2,048 sample frames and the trailer; a settings report
    // and a gain frame more only when the shot's differ from what the program holds.
    ScratchFolder folder;
    test::ShotFileCase other{"other"};
    other.volts = {9, 9, 9, 9};
    other.windowStart = 40;
    const auto list = load({
        test::saveShotFile(folder.path() / "a.csv", *test::shotFileState({"full"})),
        test::saveShotFile(folder.path() / "b.csv", *test::shotFileState({"full"})),
        test::saveShotFile(folder.path() / "c.csv", *test::shotFileState(other)),
    });
    Replay replay(list);
    replay.settle();
    std::vector<std::uint64_t> reports;
    for (int n = 0; n < 4; ++n) {
        const std::uint64_t before = replay.backend.reportsRead();
        replay.shot();
        replay.settle();
        reports.push_back(replay.backend.reportsRead() - before);
    }
    EXPECT_EQ(reports, (std::vector<std::uint64_t>{2049, 2049, 2051, 2051}));
    EXPECT_EQ(replay.backend.shotsSent(), 4u);
}

} // namespace
} // namespace kavlon
