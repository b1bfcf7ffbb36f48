// The window against the simulated instrument, through the real reader thread.
#include "UiHelpers.h"

#include "support/EventLoopWait.h"
#include "support/SameShot.h"
#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/GuidedDemo.h"
#include "ui/mainwindow/ShotFileActions.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using test::waitUntil;

class WithInstrument : public ::testing::Test {
protected:
    WithInstrument() {
        auto owned =
            std::make_unique<SimulatedBackend>(SimulationOptions{false, std::chrono::milliseconds(0)});
        backend = owned.get();
        form = std::make_unique<TMainForm>(folder.path(), &dialogs, std::move(owned));
        form->show();
    }

    void connect() {
        ASSERT_TRUE(form->Open_TBtn->isEnabled()) << "the instrument is found at start-up";
        form->Open_TBtn->click();
        ASSERT_TRUE(waitUntil([&] { return form->frontPanel()->Add_Btn->isEnabled(); }));
    }

    QTemporaryDir folder;
    test::ScriptedDialogs dialogs;
    SimulatedBackend* backend = nullptr;
    std::unique_ptr<TMainForm> form;
};

TEST_F(WithInstrument, ConnectingEnablesTheFrontPanel) {
    connect();
    FrontPanel& panel = *form->frontPanel();
    EXPECT_FALSE(form->Open_TBtn->isEnabled()) << "connected: the button is spent";
    EXPECT_TRUE(form->acquisition().State.Connected);
    EXPECT_TRUE(form->Data_TB->isEnabled());
    EXPECT_TRUE(panel.RunStopBtn->isEnabled());
    EXPECT_NE(panel.Timebase_lb->text(), "2 nS / Div") << "the instrument reported its timebase";
}

TEST_F(WithInstrument, ACommandComesBackAsSettingsThatChangeTheLabels) {
    connect();
    FrontPanel& panel = *form->frontPanel();
    const QString before = panel.Timebase_lb->text();
    panel.tb_slow_btn->click();
    ASSERT_TRUE(waitUntil([&] { return panel.Timebase_lb->text() != before; }));

    const QString volts = panel.channels[0].voltLabel->text();
    panel.channels[0].biggerBtn->click();
    ASSERT_TRUE(waitUntil([&] { return panel.channels[0].voltLabel->text() != volts; }));
}

TEST_F(WithInstrument, RefreshFillsTheDataDisplay) {
    connect();
    form->Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form->childDisplays()[0]);
    ASSERT_TRUE(data->RefreshBtn->isEnabled());
    data->RefreshBtn->click();
    ASSERT_TRUE(waitUntil([&] { return data->record.HasShot; }));
    EXPECT_TRUE(form->acquisition().State.RequestName.empty());
    EXPECT_TRUE(data->ExportBtn->isEnabled());
    EXPECT_GT(form->Receive_ProgressBar->value(), 0);
    EXPECT_TRUE(data->Timebase_lb->text().startsWith("Timebase : "));
    EXPECT_GT(data->Timebase_lb->text().size(), QString("Timebase : ").size());
    const QString value = data->DataSG->model()->index(100, 1).data().toString();
    bool numeric = false;
    const int raw = value.toInt(&numeric);
    EXPECT_TRUE(numeric) << value.toStdString();
    EXPECT_GE(raw, 0);
    EXPECT_LE(raw, 255);
    EXPECT_FALSE(data->DataSG->model()->index(100, 2).data().toString().isEmpty());
}

TEST_F(WithInstrument, ADeliveredShotSavedAndOpenedIsTheSameShot) {
    connect();
    form->Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form->childDisplays()[0]);
    data->RefreshBtn->click();
    ASSERT_TRUE(waitUntil([&] { return data->record.HasShot; }));
    dialogs.fileToSave = folder.filePath("delivered.csv");
    ASSERT_TRUE(data->SaveShotBtnClick());
    dialogs.fileToOpen = dialogs.fileToSave;
    form->shotFiles()->OpenShot1->trigger();
    ASSERT_EQ(form->childDisplays().size(), 2) << dialogs.errorDetails.front().toStdString();
    auto* opened = qobject_cast<TMDIChild_Data*>(form->childDisplays()[1]);
    EXPECT_EQ(data->windowTitle(), "Data00");
    EXPECT_EQ(opened->windowTitle(), "Data01") << "the next number";
    test::expectSameShot(opened->record, data->record);
    EXPECT_TRUE(opened->RefreshBtn->isEnabled()) << "the instrument is there for a new shot";
}

TEST_F(WithInstrument, UnplugAndReturnLetTheUserConnectAgain) {
    connect();
    backend->unplug();
    ASSERT_TRUE(waitUntil([&] { return !form->connection().reading(); }));
    EXPECT_FALSE(form->Open_TBtn->isEnabled());
    backend->plugIn();
    ASSERT_TRUE(waitUntil([&] { return form->Open_TBtn->isEnabled(); }));
    form->Open_TBtn->click();
    EXPECT_TRUE(waitUntil([&] { return form->connection().reading(); }));
}

TEST_F(WithInstrument, AfterTheDemonstrationTheInstrumentCanBeConnectedAgain) {
    connect();
    GuidedDemo& demo = form->demo();
    form->acquisition().setDemoPause([](std::chrono::milliseconds) {});
    demo.setTimeDivisor(1000);
    form->ToolButton17Click();
    ASSERT_TRUE(waitUntil([&] { return !form->acquisition().DemoMode; }, std::chrono::seconds(120)));
    EXPECT_FALSE(form->acquisition().State.Connected);
    EXPECT_TRUE(form->Open_TBtn->isEnabled()) << "the user is not left without a way back";
    connect();
    EXPECT_TRUE(form->acquisition().State.Connected);
}

TEST_F(WithInstrument, ClosingDuringAShotSavesTheSettingsAndStopsTheReader) {
    // What a logout or Ctrl+C does: the window closes while the reader is busy.
    connect();
    form->Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form->childDisplays()[0]);
    data->RefreshBtn->click();
    ASSERT_TRUE(form->connection().reading());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(QFile::exists(folder.filePath("KavlonPC.INI")));
    form.reset(); // a reader still running here would abort the program
    EXPECT_TRUE(dialogs.errors.empty());
}

} // namespace
} // namespace kavlon
