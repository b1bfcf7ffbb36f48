// The window against the simulated instrument, through the real reader thread.
#include "UiHelpers.h"

#include "support/EventLoopWait.h"
#include "support/SameShot.h"
#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/ConnectionStatus.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/GuidedDemo.h"
#include "ui/mainwindow/ShotFileActions.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
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
        // The display list stays usable without an instrument; the run button waits for its report.
        ASSERT_TRUE(waitUntil([&] { return form->frontPanel()->RunStopBtn->isEnabled(); }));
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
    ASSERT_TRUE(waitUntil([&] { return !form->session().connection().reading(); }));
    EXPECT_FALSE(form->Open_TBtn->isEnabled());
    backend->plugIn();
    ASSERT_TRUE(waitUntil([&] { return form->Open_TBtn->isEnabled(); }));
    form->Open_TBtn->click();
    EXPECT_TRUE(waitUntil([&] { return form->session().connection().reading(); }));
}

TEST_F(WithInstrument, TheStatusBarFollowsTheLinkAndDisconnectLetsTheInstrumentGo) {
    const auto status = [&] { return form->connectionStatus()->text(); };
    EXPECT_EQ(status(), "Found Quorvel Scope Interface SIM0001: press Connect");
    EXPECT_EQ(form->Open_TBtn->toolButtonStyle(), Qt::ToolButtonTextBesideIcon)
        << "\"Connect\" beside its icon";
    EXPECT_FALSE(form->Disconnect_TBtn->isEnabled());
    connect();
    EXPECT_EQ(status(), "Connected to Quorvel Scope Interface SIM0001");
    EXPECT_TRUE(form->Disconnect_TBtn->isEnabled());

    form->Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form->childDisplays()[0]);
    // What the label said while the frames came in, read after it has taken each report.
    QStringList whileReceiving;
    QObject::connect(&form->session(), &InstrumentSession::progressPositionChanged, form.get(),
                     [&] { whileReceiving.append(status()); });
    data->RefreshBtn->click();
    EXPECT_TRUE(status().endsWith("waiting for a shot for Data00")) << status().toStdString();
    ASSERT_TRUE(waitUntil([&] { return data->record.HasShot; }));
    ASSERT_FALSE(whileReceiving.isEmpty());
    EXPECT_TRUE(whileReceiving.first().endsWith("Data00: 1 of 2048 frames"))
        << whileReceiving.first().toStdString();
    EXPECT_TRUE(whileReceiving.last().endsWith("Data00: 2048 of 2048 frames"))
        << whileReceiving.last().toStdString();
    EXPECT_TRUE(status().endsWith("shot complete (Data00)")) << status().toStdString();

    form->Disconnect_TBtn->click();
    EXPECT_FALSE(form->session().connection().reading()) << "the reader has stopped";
    EXPECT_FALSE(form->acquisition().State.Connected);
    EXPECT_EQ(status(), "Disconnected from Quorvel Scope Interface SIM0001: press Connect");
    EXPECT_FALSE(form->Disconnect_TBtn->isEnabled());
    EXPECT_TRUE(form->Open_TBtn->isEnabled());
    EXPECT_FALSE(form->frontPanel()->RunStopBtn->isEnabled()) << "nothing would hear it";
    EXPECT_FALSE(data->RefreshBtn->isEnabled());
    EXPECT_TRUE(form->Data_TB->isEnabled()) << "the shots taken stay to be analysed";

    connect();
    EXPECT_EQ(status(), "Connected to Quorvel Scope Interface SIM0001");
    EXPECT_TRUE(data->RefreshBtn->isEnabled());
    backend->unplug();
    ASSERT_TRUE(waitUntil([&] { return !form->session().connection().reading(); }));
    EXPECT_EQ(status(), "Link lost: the instrument went away");
    EXPECT_FALSE(form->frontPanel()->RunStopBtn->isEnabled());
}

TEST_F(WithInstrument, TheSimulatedQuickPrintButtonRunsAQuickPrint) {
    EXPECT_EQ(form->SimulatorMenu, nullptr) << "only where the program was asked to simulate";
    form->showSimulatorMenu();
    ASSERT_NE(form->PressQuickPrint1, nullptr);
    EXPECT_EQ(form->SimulatorMenu->title(), "Simulated instrument");
    EXPECT_EQ(form->PressQuickPrint1->text(), "Press quick print");
    connect();
    form->QuickPrintOptions.PrintAs = 1; // a BMP picture; the save dialog is cancelled
    form->PressQuickPrint1->trigger();
    ASSERT_TRUE(waitUntil([&] { return form->findDisplay("QP_Scope01") != nullptr; }));
    auto* data = qobject_cast<TMDIChild_Data*>(form->findDisplay("QP_Data00"));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->record.HasShot);
    EXPECT_EQ(data->record.QuickOutputKind, 1) << "the mode \"Print as\" says";
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
    ASSERT_TRUE(form->session().connection().reading());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(QFile::exists(folder.filePath("KavlonPC.INI")));
    form.reset(); // a reader still running here would abort the program
    EXPECT_TRUE(dialogs.errors.empty());
}

} // namespace
} // namespace kavlon
