// The window on a replay of saved shots: what it locks, what it says, and the shots
// its Data displays receive.
#include "UiHelpers.h"

#include "device/ShotFiles.h"
#include "ui/displays/DataDisplay.h"
#include "ui/displays/FollowBox.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/SourceBox.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/ReplayStatus.h"
#include "ui/mainwindow/ZeroLevelTrackBar.h"

#include "device/replay/ReplayBackend.h"

#include "support/EventLoopWait.h"
#include "support/ScratchFolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::waitUntil;

constexpr const char* kWhy = "A replayed instrument cannot change its settings.";

class OnAReplay : public ::testing::Test {
protected:
    OnAReplay() {
        test::ShotFileCase two{"two channels"};
        two.mode = 2;
        two.timebase = 9;
        two.windowStart = 1000;
        a = test::saveShotFile(scratch.path() / "a.csv", *test::shotFileState({"four channels"}));
        b = test::saveShotFile(scratch.path() / "b.csv", *test::shotFileState(two));
        std::ofstream(scratch.path() / "c.csv", std::ios::binary) << "# KavlonPC shot,9\r\n";
        auto list = std::make_shared<ReplayList>(loadReplayList({scratch.path()}));
        form = std::make_unique<TMainForm>(QString::fromStdString(scratch.path().string()), &dialogs,
                                           std::make_unique<ReplayBackend>(list, true));
        form->show();
    }

    void connect() {
        ASSERT_TRUE(form->Open_TBtn->isEnabled()) << "the replay is found as the instrument";
        form->Open_TBtn->click();
        ASSERT_TRUE(waitUntil([&] { return form->frontPanel()->Add_Btn->isEnabled(); }));
    }

    // Every front-panel control that would send a command.
    std::vector<QWidget*> commandControls() const {
        FrontPanel& p = *form->frontPanel();
        std::vector<QWidget*> controls = {p.RunStopBtn, p.SingleBtn, p.AutoScaleBtn, p.tb_fast_btn,
                                          p.tb_slow_btn};
        for (const ChannelControls& ch : p.channels)
            for (QWidget* w : {static_cast<QWidget*>(ch.biggerBtn), static_cast<QWidget*>(ch.smallerBtn),
                               static_cast<QWidget*>(ch.channelBox), static_cast<QWidget*>(ch.acdcBox),
                               static_cast<QWidget*>(ch.invertBox), static_cast<QWidget*>(ch.zeroLevel)})
                controls.push_back(w);
        return controls;
    }

    void expectLocked(const char* when) {
        for (QWidget* w : commandControls()) {
            EXPECT_FALSE(w->isEnabled()) << when << ": " << w->objectName().toStdString();
            EXPECT_EQ(w->toolTip(), kWhy) << w->objectName().toStdString();
        }
    }

    QString statusText() const { return form->findChild<QLabel*>("ReplayStatus_lb")->text(); }

    test::ScratchFolder scratch;
    fs::path a;
    fs::path b;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

TEST_F(OnAReplay, ControlsThatWouldChangeTheRecordingStayLockedWhateverItReports) {
    expectLocked("before connecting");
    connect();
    expectLocked("after its first report");
    FrontPanel& panel = *form->frontPanel();
    EXPECT_TRUE(panel.Timebase_lb->isEnabled()) << "labels still follow the reports";
    EXPECT_TRUE(panel.channels[0].voltLabel->isEnabled());
    EXPECT_TRUE(panel.channels[0].channelBox->isChecked());
    EXPECT_TRUE(form->Data_TB->isEnabled());
    form->Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form->childDisplays()[0]);
    data->RefreshBtn->click();
    ASSERT_TRUE(waitUntil([&] { return data->record.HasShot; }));
    expectLocked("after a shot");
}

TEST_F(OnAReplay, TitleAndStatusBarNameTheShotTheDisplaysReceive) {
    // The file that cannot be read is said once the window is up.
    ASSERT_TRUE(waitUntil([&] { return !dialogs.errors.empty(); }));
    EXPECT_EQ(dialogs.errors, std::vector<QString>{"Not every shot file is replayed as it was saved"});
    EXPECT_EQ(dialogs.errorDetails.front().toStdString(),
              (scratch.path() / "c.csv").string() +
                  ": line 1: format version 9 is newer than this program reads (up to 1); skipped");

    EXPECT_EQ(form->windowTitle(), "MDI-Anwendung - Replay: a.csv (1 of 2)");
    EXPECT_EQ(statusText().toStdString(), "Replay: " + a.string() + ", shot 1 of 2");
    connect();
    for (const fs::path& file : {a, b, a}) {
        SCOPED_TRACE(file.filename().string());
        // A new display each time: one that held a longer shot keeps its cells past the end.
        form->Data_TBClick();
        auto* data = qobject_cast<TMDIChild_Data*>(form->childDisplays().back());
        ASSERT_TRUE(data->RefreshBtn->isEnabled());
        data->RefreshBtn->click();
        ASSERT_TRUE(waitUntil([&] { return data->record.HasShot; }));
        const std::string place = file == a ? "1 of 2" : "2 of 2";
        EXPECT_EQ(form->windowTitle().toStdString(),
                  "MDI-Anwendung - Replay: " + file.filename().string() + " (" + place + ")");
        EXPECT_EQ(statusText().toStdString(), "Replay: " + file.string() + ", shot " + place);
        EXPECT_EQ(shotCsvText(data->record), test::fileBytes(file));
    }
}

TEST(ReplayWindow, ControlCharactersInAFileNameAreShownEscaped) {
    test::ScratchFolder scratch;
    const fs::path file =
        test::saveShotFile(scratch.path() / "a\x1b[2J\nb.csv", *test::shotFileState({"four channels"}));
    auto list = std::make_shared<ReplayList>(loadReplayList({file}));
    test::ScriptedDialogs dialogs;
    TMainForm form(QString::fromStdString(scratch.path().string()), &dialogs,
                   std::make_unique<ReplayBackend>(list, true));
    EXPECT_EQ(form.windowTitle().toStdString(), "MDI-Anwendung - Replay: a\\x1b[2J\\x0ab.csv (1 of 1)");
    EXPECT_EQ(form.findChild<QLabel*>("ReplayStatus_lb")->text().toStdString(),
              "Replay: " + (scratch.path() / "a\\x1b[2J\\x0ab.csv").string() + ", shot 1 of 1");
}

TEST_F(OnAReplay, RepeatStepsThroughTheFilesAndAFollowingMeasureGoesAlong) {
    connect();
    form->Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form->childDisplays().back());
    data->RefreshBtn->click();
    ASSERT_TRUE(waitUntil([&] { return data->record.HasShot; }));
    form->Measure_TBClick();
    auto* measure = qobject_cast<TMDIChild_Math*>(form->childDisplays().back());
    measure->ComboBox1Enter();
    measure->ComboBox1->setCurrentIndex(measure->ComboBox1->findText(data->windowTitle()));
    measure->RefreshBtn->click();
    measure->FollowCB->click();
    ASSERT_EQ(measure->statistics.shots(), 1u);

    // a.csv was taken; with Repeat ticked the shots of b.csv and a.csv follow, again and again.
    std::vector<std::string> received;
    QObject::connect(data, &TMDIChild_Data::shotTaken, form.get(),
                     [&] { received.push_back(shotCsvText(data->record)); });
    data->RepeatCB->click();
    ASSERT_TRUE(waitUntil([&] { return received.size() >= 4 && measure->statistics.shots() >= 5; }, 60s));
    data->RepeatCB->click();
    EXPECT_EQ(received[0], test::fileBytes(b));
    EXPECT_EQ(received[1], test::fileBytes(a));
    EXPECT_EQ(received[2], test::fileBytes(b));
    EXPECT_EQ(received[3], test::fileBytes(a));
}

} // namespace
} // namespace kavlon
