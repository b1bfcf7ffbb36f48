// Repeat and the lost-frame retry of a Data display, against the simulated instrument
// through the real reader thread.
#include "UiHelpers.h"

#include "support/EventLoopWait.h"
#include "support/FaultyBackend.h"
#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/ConnectionStatus.h"
#include "ui/mainwindow/FrontPanel.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using namespace std::chrono_literals;
using test::waitUntil;

// A window connected to the simulated instrument, with one Data display, counting
// what the session asks for and what the display takes.
struct Live {
    explicit Live(std::uint64_t lostReport = 0) {
        auto owned =
            std::make_unique<test::FaultyBackend>(SimulationOptions{.paced = false, .pollInterval = 0ms},
                                                  test::LinkFaults{.lostReport = lostReport});
        backend = owned.get();
        form = std::make_unique<TMainForm>(folder.path(), &dialogs, std::move(owned));
        form->show();
        QObject::connect(&form->session(), &InstrumentSession::shotRequested,
                         [this](const QString& caption) { requests.push_back(caption); });
        QObject::connect(&form->session(), &InstrumentSession::shotReady,
                         [this](const QString&, bool whole) { wholeShots.push_back(whole); });
        form->Open_TBtn->click();
        connected = waitUntil([&] { return form->frontPanel()->Add_Btn->isEnabled(); });
        form->Data_TBClick();
        data = qobject_cast<TMDIChild_Data*>(form->childDisplays().last());
        QObject::connect(data, &TMDIChild_Data::shotTaken, [this] { ++taken; });
    }

    const std::string& pending() const { return form->acquisition().State.RequestName; }
    // Lets the event loop run a while; only what would happen anyway happens.
    static void idle(std::chrono::milliseconds span = 300ms) {
        waitUntil([] { return false; }, span);
    }

    QTemporaryDir folder;
    test::ScriptedDialogs dialogs;
    test::FaultyBackend* backend = nullptr;
    std::unique_ptr<TMainForm> form;
    TMDIChild_Data* data = nullptr;
    bool connected = false;
    std::vector<QString> requests;
    std::vector<bool> wholeShots;
    int taken = 0;
};

TEST(Repeat, ShotsFollowEachOtherUntilItStopsAndNothingIsLeftPending) {
    struct Case {
        const char* name;
        std::function<void(Live&)> stop;
        bool displayStays;
    };
    const Case cases[] = {
        {"unticked", [](Live& l) { l.data->RepeatCB->click(); }, true},
        {"the display closed", [](Live& l) { l.data->close(); }, false},
        {"the instrument unplugged", [](Live& l) { l.backend->simulated().unplug(); }, true},
        {"the instrument let go", [](Live& l) { l.form->Disconnect_TBtn->click(); }, true},
        {"the link lost", [](Live& l) { l.backend->simulated().failReads(1000); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Live live;
        ASSERT_TRUE(live.connected);
        ASSERT_TRUE(live.data->RefreshBtn->isEnabled());
        live.data->RepeatCB->click();
        // Three shots from one tick: the first asked by the tick, the others by Repeat.
        ASSERT_TRUE(waitUntil([&] { return live.taken >= 3; }, 30s));
        EXPECT_FALSE(live.data->RefreshBtn->isEnabled()) << "the next shot is under way";
        EXPECT_TRUE(std::all_of(live.requests.begin(), live.requests.end(),
                                [](const QString& r) { return r == "Data00"; }));

        // Stopped while a shot is owed: frames are interpreted only here, in the event
        // loop, so nothing lands between the look and the stop.
        ASSERT_TRUE(waitUntil([&] { return live.data->awaitingShot(); }));
        c.stop(live);
        test::processDeletes();
        // Whatever was under way lands or is dropped; then nothing is owed.
        ASSERT_TRUE(waitUntil([&] { return live.pending().empty(); }, 20s)) << live.pending();
        const std::size_t asked = live.requests.size();
        Live::idle();
        EXPECT_EQ(live.requests.size(), asked) << "no request after stopping";
        EXPECT_TRUE(live.pending().empty());
        if (c.displayStays) {
            EXPECT_FALSE(live.data->RepeatCB->isChecked());
        }
    }
}

TEST(Repeat, UntickedTheLastShotLandsAndRefreshIsTheUsersAgain) {
    Live live;
    ASSERT_TRUE(live.connected);
    live.data->RepeatCB->click();
    ASSERT_TRUE(waitUntil([&] { return live.taken >= 1; }, 20s));
    live.data->RepeatCB->click();
    ASSERT_TRUE(waitUntil([&] { return live.pending().empty(); }, 20s));
    const int taken = live.taken;
    Live::idle();
    EXPECT_EQ(live.taken, taken);
    EXPECT_TRUE(live.data->RefreshBtn->isEnabled());
    EXPECT_TRUE(live.data->record.HasShot);
}

TEST(Repeat, TickedWithoutAnInstrumentAsksForNothing) {
    test::Bench bench;
    bench.form->Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(bench.form->childDisplays().last());
    data->RepeatCB->click();
    EXPECT_TRUE(bench.device->reports.empty());
    EXPECT_TRUE(bench.form->acquisition().State.RequestName.empty());
}

TEST(LostFrames, AShotThatLostAFrameIsAskedForOnceMoreAndTheWholeOneShown) {
    // Connecting brings six reports; the hundredth of the shot is a frame of channel 1
    // inside the window the instrument's timebase keeps.
    Live live(6 + 100);
    ASSERT_TRUE(live.connected);
    QString statusSaid;
    QObject::connect(live.form->statusBar(), &QStatusBar::messageChanged,
                     [&](const QString& text) { statusSaid += text + "\n"; });
    live.data->RefreshBtn->click();
    ASSERT_TRUE(waitUntil([&] { return live.taken >= 1; }, 30s));
    EXPECT_EQ(live.wholeShots, (std::vector<bool>{false, true}));
    EXPECT_EQ(live.requests, (std::vector<QString>{"Data00", "Data00"})) << "asked once more by itself";
    EXPECT_EQ(live.taken, 1) << "the incomplete shot was never shown";
    EXPECT_TRUE(statusSaid.contains("The shot for Data00 lost frames; asking for it once more."))
        << statusSaid.toStdString();
    EXPECT_FALSE(live.data->ShotState_lb->isVisibleTo(live.data));
    EXPECT_TRUE(live.pending().empty());
    EXPECT_TRUE(live.data->RefreshBtn->isEnabled());
    EXPECT_TRUE(live.form->connectionStatus()->text().contains("shot complete (Data00)"))
        << live.form->connectionStatus()->text().toStdString();
}

TEST(LostFrames, TheInstrumentsQuickPrintWaitsForTheWholeShot) {
    // Six reports answer the connection, one is the quick-print request; the hundredth
    // of its shot is lost.
    Live live(6 + 1 + 100);
    ASSERT_TRUE(live.connected);
    live.backend->simulated().withInstrument([](SimulatedInstrument& i) { i.sendQuickPrint(3); });
    ASSERT_TRUE(waitUntil([&] { return live.wholeShots.size() >= 2 && live.pending().empty(); }, 30s));
    Live::idle();
    EXPECT_EQ(live.wholeShots, (std::vector<bool>{false, true}));
    // Exported once, from the shot asked for again; a second file would be the first
    // shot's export.
    const QStringList exports = QDir(live.folder.filePath("exports")).entryList(QDir::Files);
    EXPECT_EQ(exports, QStringList{"QV_00000.xls"});
}

} // namespace
} // namespace kavlon
