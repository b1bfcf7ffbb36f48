#include "UiHelpers.h"

#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/FrontPanel.h"

#include "core/acquisition/Frames.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include <gtest/gtest.h>

#include <optional>

namespace kavlon {
namespace {

Frame settings(int channelCount, int triggerSource, int timebase = 4, std::uint8_t status = 1) {
    Frame f{};
    f[0] = 0x69;
    for (int c = 0; c < 4; ++c) {
        f[2 + c] = 9;   // 1 V / Div at probe range 3
        f[8 + c] = 120; // zero level
        f[18 + c] = status;
        f[23 + c] = 104;
    }
    f[6] = std::uint8_t(timebase);
    f[12] = std::uint8_t(channelCount);
    f[16] = std::uint8_t(triggerSource);
    f[17] = 96; // trigger level: 24 raw steps below zero
    return f;
}

Frame trailer() {
    Frame f{};
    f[0] = 0x6B;
    f[24] = 20;
    f[25] = 50;
    f[26] = 80;
    f[33] = 216; // WindowStart = 216 + 40 = 256
    return f;
}

class DataDisplayWindow : public ::testing::Test {
protected:
    void SetUp() override { form.show(); }

    // Sends a ramp in sample frames, as the instrument would, and lets it close the shot;
    // with lostFrame, the frame of channel 1 at that offset never arrives.
    void deliverShot(const Frame& settingsFrame, std::optional<int> lostFrame = std::nullopt) {
        auto& acq = form.acquisition();
        acq.InterpretRecvData(settingsFrame);
        for (int c = 0; c < 4; ++c)
            for (int offset = 0; offset < kBlockSize; offset += 32) {
                if (c == 0 && offset == lostFrame)
                    continue;
                Frame f{};
                f[0] = std::uint8_t(0x65 + c);
                f[1] = std::uint8_t(offset >> 8);
                f[2] = std::uint8_t(offset & 0xFF);
                for (int k = 0; k < 32; ++k)
                    f[std::size_t(3 + k)] = std::uint8_t(60 + (offset + k + 10 * c) % 100);
                acq.InterpretRecvData(f);
            }
        acq.InterpretRecvData(trailer());
    }
    QString cell(TMDIChild_Data* d, int row, int column) {
        return d->DataSG->model()->index(row, column).data().toString();
    }
    TMDIChild_Data* data(int i) { return qobject_cast<TMDIChild_Data*>(form.childDisplays()[i]); }

    test::Bench bench;
    TMainForm& form = *bench.form;
};

TEST_F(DataDisplayWindow, StartsEmptyWithItsControlsAsDesigned) {
    form.Data_TBClick();
    TMDIChild_Data* d = data(0);
    EXPECT_EQ(d->windowTitle(), "Data00");
    EXPECT_FALSE(d->record.HasShot);
    EXPECT_FALSE(d->RefreshBtn->isEnabled());
    EXPECT_FALSE(d->ExportBtn->isEnabled());
    EXPECT_EQ(d->ExportBtn->text(), "Export ...");
    EXPECT_TRUE(d->incMeasureCB->isChecked());
    EXPECT_FALSE(d->incMeasureCB->isEnabled());
    EXPECT_EQ(d->incMeasureCB->text(), "include Measures");
    EXPECT_EQ(d->Trigger_lb->text(), "Trigger :");
    EXPECT_EQ(d->Timebase_lb->text(), "Timebase : ");
    EXPECT_FALSE(d->ZeroLevel_Panel->isVisible());
    EXPECT_EQ(d->ZeroLevelCH_lb[3]->text(), "Zero CH 4 : 0.0 V");
    EXPECT_EQ(d->DataSG->model()->columnCount(), 9);
    EXPECT_EQ(d->DataSG->model()->rowCount(), 16300 - 2);
    EXPECT_EQ(d->DataSG->model()->headerData(0, Qt::Horizontal).toString(), "Number");
    EXPECT_EQ(d->DataSG->model()->headerData(2, Qt::Horizontal).toString(), "Voltage");
    EXPECT_EQ(cell(d, 0, 0), "0");
    EXPECT_EQ(cell(d, 16297, 0), "16297");
    EXPECT_EQ(cell(d, 0, 1), "");
}

TEST_F(DataDisplayWindow, KeepsItsWidthAndAMinimumHeight) {
    form.Data_TBClick();
    TMDIChild_Data* d = data(0);
    EXPECT_EQ(d->width(), 500);
    d->resize(700, 100);
    EXPECT_EQ(d->width(), 500);
    EXPECT_EQ(d->height(), 151);
    // The grid is the window's height less 120, and less the 18 of the "Save shot..." row.
    EXPECT_EQ(d->DataSG->height(), 31 - 18);
    d->resize(500, 400);
    EXPECT_EQ(d->DataSG->height(), 280 - 18);

    form.acquisition().InterpretRecvData(settings(2, 1)); // a two-channel instrument
    d->resize(500, 300);
    EXPECT_EQ(d->width(), 293);

    form.Data_TBClick();
    TMDIChild_Data* narrow = data(1);
    EXPECT_EQ(narrow->width(), 293);
    EXPECT_EQ(narrow->gridColumns(), 5);
}

TEST_F(DataDisplayWindow, TheShotLandsInTheDisplayThatAskedForIt) {
    bench.connect();
    form.acquisition().InterpretRecvData(settings(4, 1));
    form.Data_TBClick();
    form.Data_TBClick();
    data(1)->RefreshBtn->click();
    EXPECT_EQ(form.acquisition().State.RequestName, "Data01");

    deliverShot(settings(4, 1, 4, 1));
    TMDIChild_Data* d = data(1);
    EXPECT_TRUE(d->record.HasShot);
    EXPECT_FALSE(data(0)->record.HasShot);
    EXPECT_TRUE(form.acquisition().State.RequestName.empty());
    EXPECT_TRUE(d->RefreshBtn->isEnabled());
    EXPECT_TRUE(d->ExportBtn->isEnabled());
    // WindowStart 256: sample 0 is raw 256 of each channel.
    EXPECT_EQ(cell(d, 0, 1), QString::number(60 + 256 % 100));
    EXPECT_EQ(cell(d, 0, 3), QString::number(60 + (256 + 10) % 100));
    EXPECT_EQ(d->DataSG->model()->rowCount(), 16300 - 256 - 2);
    EXPECT_EQ(cell(d, 0, 2), "166.7 mV"); // zero level 120 - raw 116 = 4 steps of 1 V / 24
    EXPECT_EQ(d->Timebase_lb->text(), "Timebase : 50 ns / Div");
    EXPECT_EQ(d->RealTimebase_lb->text(), "Real Timebase : 50 ns / Div");
    EXPECT_EQ(d->Trigger_lb->text(), "Trigger : Channel 1");
    EXPECT_EQ(d->Triggerlevel_lb->text(), "Trigger Level : 1.0 V");
    EXPECT_EQ(d->ZeroLevelCH_lb[3]->text(), "Zero CH 4 : 5.0 V");
    EXPECT_EQ(d->record.VoltsPerDivText[0], "1 V / Div");
}

TEST_F(DataDisplayWindow, AShotThatLostFramesTwiceIsShownMarkedIncomplete) {
    bench.connect();
    form.acquisition().InterpretRecvData(settings(4, 1));
    form.Data_TBClick();
    TMDIChild_Data* d = data(0);
    QString said;
    QObject::connect(form.statusBar(), &QStatusBar::messageChanged,
                     [&](const QString& t) { said += t + "\n"; });
    d->RefreshBtn->click();
    const std::size_t asked = bench.device->reports.size();

    deliverShot(settings(4, 1), 1024);
    EXPECT_FALSE(d->record.HasShot) << "not shown as if whole";
    EXPECT_EQ(bench.device->reports.size(), asked + 1) << "asked for once more";
    EXPECT_EQ(form.acquisition().State.RequestName, "Data00");
    EXPECT_TRUE(said.contains("The shot for Data00 lost frames; asking for it once more."))
        << said.toStdString();

    deliverShot(settings(4, 1), 1024);
    EXPECT_TRUE(d->record.HasShot) << "the second one is kept";
    EXPECT_TRUE(d->ShotState_lb->isVisibleTo(d));
    EXPECT_EQ(d->ShotState_lb->text(), "Incomplete: frames were lost");
    EXPECT_EQ(bench.device->reports.size(), asked + 1) << "and not asked for a third time";
    EXPECT_TRUE(form.acquisition().State.RequestName.empty());
    EXPECT_TRUE(said.contains("The shot for Data00 lost frames again; it is shown, marked incomplete."))
        << said.toStdString();
    EXPECT_TRUE(d->RefreshBtn->isEnabled());

    // The next request starts afresh: a whole shot clears the mark, a lost frame is retried.
    d->RefreshBtn->click();
    deliverShot(settings(4, 1));
    EXPECT_FALSE(d->ShotState_lb->isVisibleTo(d));
    d->RefreshBtn->click();
    deliverShot(settings(4, 1), 2048);
    EXPECT_EQ(form.acquisition().State.RequestName, "Data00") << "asked once more";
}

TEST_F(DataDisplayWindow, RequestsForMissingDisplaysFollowTheirRules) {
    auto& acq = form.acquisition();
    acq.State.RequestName = "Data05";
    deliverShot(settings(4, 0));
    EXPECT_EQ(acq.State.RequestName, "Data05") << "no display open at all: the request waits";

    form.Scope_TBClick();
    deliverShot(settings(4, 0));
    EXPECT_TRUE(acq.State.RequestName.empty()) << "no display of that caption: dropped";

    // Two displays of one caption: the later one takes the shot.
    auto* first = form.CreateDataDisplay("Data07");
    auto* second = form.CreateDataDisplay("Data07");
    acq.State.RequestName = "Data07";
    deliverShot(settings(4, 5));
    EXPECT_FALSE(first->record.HasShot);
    EXPECT_TRUE(second->record.HasShot);
    EXPECT_EQ(second->Trigger_lb->text(), "Trigger : Extern");
}

TEST_F(DataDisplayWindow, ATwoChannelShotNarrowsTheTableAndAFourChannelOneWidensItAgain) {
    form.Data_TBClick();
    TMDIChild_Data* d = data(0);
    form.acquisition().State.RequestName = "Data00";
    deliverShot(settings(2, 3));
    EXPECT_EQ(d->gridColumns(), 5);
    EXPECT_EQ(d->width(), 293);
    EXPECT_EQ(d->DataSG->width(), 275);
    EXPECT_EQ(d->Triggerlevel_lb->text(), "Trigger Level : ");

    form.acquisition().State.RequestName = "Data00";
    deliverShot(settings(4, 3));
    EXPECT_EQ(d->gridColumns(), 9);
    EXPECT_EQ(d->width(), 500);
    EXPECT_EQ(d->DataSG->width(), 480);
    EXPECT_EQ(d->Triggerlevel_lb->text(), "Trigger Level : 1.0 V");
}

} // namespace
} // namespace kavlon
