// What the instrument's frames change on screen.
#include "ui/mainwindow/MainForm.h"

#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/FrontPanel.h"

#include "core/shot/ShotTransfer.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace kavlon {

namespace {

QString text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

} // namespace

void TMainForm::progressPositionChanged(int position) {
    // Frames of channels past the count of channels on run beyond the maximum;
    // the bar then stands full.
    Receive_ProgressBar->setValue(std::clamp(position, Receive_ProgressBar->minimum(), Receive_ProgressBar->maximum()));
}

void TMainForm::progressMaximumChanged(int maximum) { Receive_ProgressBar->setMaximum(maximum); }

void TMainForm::runStateChanged(bool running) { m_panel->RunStopBtn->setText(running ? "Stop" : "Run"); }

void TMainForm::zeroLevelPositionChanged(int channel, int position) { m_panel->setZeroLevelPosition(channel, position); }

void TMainForm::panelBoxChanged(PanelBox box, int channel, bool checked) {
    // The acquisition runs the box's click handler itself; only the tick changes here.
    m_panel->panelBox(box, channel)->setChecked(checked);
}

void TMainForm::instrumentControlsEnabled() {
    m_panel->enableInstrumentControls();
    for (auto* b : {Data_TB, Scope_TB, Measure_TB, FFT_TB})
        b->setEnabled(true);
}

void TMainForm::upperChannelsVisible(bool visible) {
    m_panel->channels[2].panel->setVisible(visible);
    m_panel->channels[3].panel->setVisible(visible);
}

void TMainForm::channelControlsEnabled(int channel, bool enabled) { m_panel->setChannelControlsEnabled(channel, enabled); }

void TMainForm::dataRefreshButtonsEnabled() {
    for (TMDIChild* display : childDisplays())
        if (auto* data = qobject_cast<TMDIChild_Data*>(display); data && data->windowTitle().startsWith("Data"))
            data->RefreshBtn->setEnabled(true);
}

void TMainForm::timebaseLabelChanged(std::string_view label) { m_panel->Timebase_lb->setText(text(label)); }

void TMainForm::voltsLabelChanged(int channel, std::string_view label) {
    m_panel->channels[std::size_t(channel - 1)].voltLabel->setText(text(label));
}

void TMainForm::shotCompleted(const std::string& requestName) {
    // With no display open at all the request waits for one; otherwise it is
    // answered now, or dropped when its display has gone.
    const bool anyDisplay = !childDisplays().isEmpty();
    if (anyDisplay) {
        if (auto* data = qobject_cast<TMDIChild_Data*>(findDisplay(QString::fromStdString(requestName)))) {
            std::array<std::string, kChannels> voltsLabels;
            for (int c = 0; c < kChannels; ++c)
                voltsLabels[std::size_t(c)] = m_panel->channels[std::size_t(c)].voltLabel->text().toStdString();
            data->TransferRequestData(m_acquisition.State, voltsLabels);
        }
    }
    settleRequest(m_acquisition.State, anyDisplay);
}

void TMainForm::quickPrintRequested(int) {}

void TMainForm::quickPrintShotDelivered() {}

} // namespace kavlon
