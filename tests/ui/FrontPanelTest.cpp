#include "UiHelpers.h"

#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/ZeroLevelTrackBar.h"

#include "core/acquisition/Frames.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using Bytes = std::vector<std::uint8_t>;

Frame settingsFrame(std::array<std::uint8_t, 4> status, int channelCount = 4, bool running = true) {
    Frame f{};
    f[0] = 0x69;
    for (int c = 0; c < 4; ++c) {
        f[2 + c] = 9;   // 1 V / Div at probe range 3
        f[8 + c] = 100; // zero level
        f[18 + c] = status[c];
        f[23 + c] = 104;
    }
    f[6] = 5; // 100 ns / Div
    f[12] = std::uint8_t(channelCount);
    f[15] = running ? 1 : 0;
    return f;
}

class FrontPanelControls : public ::testing::Test {
protected:
    void SetUp() override { form.show(); }

    test::Bench bench;
    TMainForm& form = *bench.form;
    FrontPanel& panel = *form.frontPanel();
    std::vector<Bytes> sent() const {
        std::vector<Bytes> out;
        for (std::size_t i = 0; i < bench.device->reports.size(); ++i)
            out.push_back(bench.device->command(i));
        return out;
    }
};

TEST_F(FrontPanelControls, EveryControlSendsExactlyItsBytesWhileConnected) {
    bench.connect();
    form.acquisition().InterpretRecvData(settingsFrame({1, 1, 1, 1})); // enables the panel
    bench.device->reports.clear();

    struct Click {
        QAbstractButton* control;
        Bytes command;
    };
    const Click clicks[] = {
        // Byte 2 still holds the last echo's 1 (channel 4 switched on).
        {panel.RunStopBtn, {0x06, 0x18, 0x01, 0, 0, 0, 0}},
        {panel.SingleBtn, {0x06, 0x19, 0x01, 0, 0, 0, 0}},
        {panel.AutoScaleBtn, {0x06, 0x0C, 0x01, 0, 0, 0, 0}},
        {panel.tb_fast_btn, {0x08, 0x0B, 0x01, 0, 0, 0, 0}},
        {panel.tb_slow_btn, {0x08, 0x0B, 0x02, 0, 0, 0, 0}},
        {panel.channels[0].biggerBtn, {0x08, 0x05, 0x02, 0, 0, 0, 0}},
        {panel.channels[3].smallerBtn, {0x08, 0x08, 0x01, 0, 0, 0, 0}},
        {panel.channels[0].channelBox, {0x06, 0x07, 0x00, 0, 0, 0, 0}}, // was checked by the report
        {panel.channels[1].channelBox, {0x06, 0x09, 0x00, 0, 0, 0, 0}},
        {panel.channels[2].channelBox, {0x06, 0x0A, 0x00, 0, 0, 0, 0}},
        {panel.channels[3].channelBox, {0x06, 0x0B, 0x00, 0, 0, 0, 0}},
        {panel.channels[1].acdcBox, {0x06, 0x1D, 0x01, 0, 0, 0, 0}},
        {panel.channels[2].invertBox, {0x06, 0x22, 0x01, 0, 0, 0, 0}},
    };
    for (const auto& c : clicks) {
        bench.device->reports.clear();
        c.control->click();
        ASSERT_EQ(sent().size(), 1u) << c.control->objectName().toStdString();
        EXPECT_EQ(sent()[0], c.command) << c.control->objectName().toStdString();
    }
}

TEST_F(FrontPanelControls, ATimebaseStepLeavesItsParameterForTheRunStop) {
    bench.connect();
    form.acquisition().InterpretRecvData(settingsFrame({1, 1, 1, 1}));
    bench.device->reports.clear();
    panel.tb_fast_btn->click();
    panel.RunStopBtn->click();
    ASSERT_EQ(sent().size(), 2u);
    EXPECT_EQ(sent()[1], (Bytes{0x06, 0x18, 0x01, 0, 0, 0, 0}));
}

TEST_F(FrontPanelControls, ZeroLevelIsSentOnMouseReleaseOnly) {
    bench.connect();
    ZeroLevelTrackBar* bar = panel.channels[0].zeroLevel;
    bar->setValue(384);
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Down); // keyboard moves send nothing
    QTest::keyClick(bar, Qt::Key_PageUp);
    EXPECT_TRUE(sent().empty());

    const QPoint bottom(bar->width() / 2, bar->height() - 3);
    QTest::mousePress(bar, Qt::LeftButton, {}, bottom);
    bar->setValue(384); // dragged to the bottom
    EXPECT_TRUE(sent().empty()) << "nothing until the release";
    QTest::mouseRelease(bar, Qt::LeftButton, {}, bottom);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0], (Bytes{0x03, 0x17, 0x01, 0x80, 0x01, 0, 0}));

    panel.channels[2].zeroLevel->setValue(196);
    QTest::mouseClick(panel.channels[2].zeroLevel, Qt::RightButton);
    const auto commands = sent();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(Bytes(commands[1].begin(), commands[1].begin() + 5), (Bytes{0x03, 0x17, 0x03, 196, 0}));
}

TEST_F(FrontPanelControls, NothingIsSentWhileNotConnected) {
    panel.channels[1].channelBox->click();
    EXPECT_TRUE(panel.channels[1].channelBox->isChecked()) << "the box still ticks";
    panel.channels[0].acdcBox->click();
    QTest::mouseClick(panel.channels[0].zeroLevel, Qt::LeftButton);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(form.acquisition().State.CommandBuffer[0], 0x03) << "the buffer is still filled";
}

TEST_F(FrontPanelControls, SettingsReportsSetThePanelAndEchoOnlyRealChanges) {
    bench.connect();
    form.Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form.childDisplays()[0]);
    data->RefreshBtn->setEnabled(false);

    form.acquisition().InterpretRecvData(settingsFrame({0x03, 0x00, 0x01, 0x10}, 2, false));
    EXPECT_EQ(sent(), (std::vector<Bytes>{{0x06, 0x1C, 0x01, 0, 0, 0, 0},    // channel 1 AC / DC checked
                                          {0x06, 0x23, 0x01, 0, 0, 0, 0},    // channel 4 invert
                                          {0x06, 0x07, 0x01, 0, 0, 0, 0},    // channel 1 on
                                          {0x06, 0x0A, 0x01, 0, 0, 0, 0}})); // channel 3 on
    EXPECT_TRUE(panel.channels[0].acdcBox->isChecked());
    EXPECT_TRUE(panel.channels[3].invertBox->isChecked());
    EXPECT_TRUE(panel.channels[2].channelBox->isChecked());
    EXPECT_FALSE(panel.channels[1].channelBox->isChecked());
    EXPECT_EQ(panel.RunStopBtn->text(), "Run");
    EXPECT_EQ(panel.Timebase_lb->text(), "100 ns / Div");
    EXPECT_EQ(panel.channels[0].voltLabel->text(), "1 V / Div");
    EXPECT_FALSE(panel.channels[2].panel->isVisible()) << "a two-channel instrument";
    EXPECT_FALSE(panel.channels[3].panel->isVisible());
    EXPECT_TRUE(panel.channels[0].biggerBtn->isEnabled());
    EXPECT_FALSE(panel.channels[1].voltLabel->isEnabled());
    EXPECT_TRUE(panel.Add_Btn->isEnabled());
    EXPECT_TRUE(form.Data_TB->isEnabled());
    EXPECT_TRUE(panel.Timebase_lb->isEnabled());
    EXPECT_TRUE(data->RefreshBtn->isEnabled());
    EXPECT_EQ(form.Receive_ProgressBar->maximum(), 128);
    EXPECT_EQ(panel.channels[0].zeroLevel->value(), 444 - 200);

    bench.device->reports.clear();
    form.acquisition().InterpretRecvData(settingsFrame({0x03, 0x00, 0x01, 0x10}, 4, true));
    EXPECT_TRUE(sent().empty()) << "boxes already in the reported state send nothing";
    EXPECT_TRUE(panel.channels[3].panel->isVisible());
    EXPECT_EQ(panel.RunStopBtn->text(), "Stop");
}

TEST_F(FrontPanelControls, ProgressBarStaysWithinItsRange) {
    form.acquisition().InterpretRecvData(settingsFrame({1, 0, 1, 0}));
    Frame sample{};
    sample[0] = 0x67; // channel 3
    sample[1] = 10;
    form.acquisition().InterpretRecvData(sample);
    EXPECT_EQ(form.Receive_ProgressBar->value(), 128);
    sample[0] = 0x65;
    form.acquisition().InterpretRecvData(sample);
    EXPECT_EQ(form.Receive_ProgressBar->value(), 10);
}

TEST_F(FrontPanelControls, DemonstrationSettingsMakeATwoChannelPanel) {
    form.acquisition().DemoMode = true;
    bench.connect();
    form.acquisition().InterpretRecvData(DemoSettingsFrame);
    EXPECT_TRUE(sent().empty());
    EXPECT_FALSE(panel.channels[2].panel->isVisible());
    EXPECT_TRUE(panel.channels[0].channelBox->isChecked());
    EXPECT_TRUE(panel.channels[1].channelBox->isChecked());
    EXPECT_EQ(panel.RunStopBtn->text(), "Stop");
}

} // namespace
} // namespace kavlon
