// What the instrument's frames change on screen.
#include "ui/mainwindow/MainForm.h"

#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/FrontPanel.h"

#include "core/shot/ShotTransfer.h"

#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace kavlon {

namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

} // namespace

void TMainForm::progressPositionChanged(int position) {
    // Frames of channels past the count of channels on run beyond the maximum;
    // the bar then stands full.
    Receive_ProgressBar->setValue(
        std::clamp(position, Receive_ProgressBar->minimum(), Receive_ProgressBar->maximum()));
}

void TMainForm::progressMaximumChanged(int maximum) {
    Receive_ProgressBar->setMaximum(maximum);
}

void TMainForm::runStateChanged(bool running) {
    m_panel->setRunState(running);
}

void TMainForm::zeroLevelPositionChanged(int channel, int position) {
    m_panel->setZeroLevelPosition(channel, position);
}

void TMainForm::panelBoxChanged(PanelBox box, int channel, bool checked) {
    // The acquisition runs the box's click handler itself; only the tick changes here.
    m_panel->setPanelBoxChecked(box, channel, checked);
}

void TMainForm::instrumentControlsEnabled() {
    m_panel->enableInstrumentControls();
    for (auto* b : {Data_TB, Scope_TB, Measure_TB, FFT_TB})
        b->setEnabled(true);
}

void TMainForm::returnToStartState() {
    m_panel->returnToStartState();
    for (auto* b : {Data_TB, Scope_TB, Measure_TB, FFT_TB})
        b->setEnabled(false);
}

void TMainForm::upperChannelsVisible(bool visible) {
    m_panel->setUpperChannelsVisible(visible);
}

void TMainForm::channelControlsEnabled(int channel, bool enabled) {
    m_panel->setChannelControlsEnabled(channel, enabled);
}

void TMainForm::dataRefreshButtonsEnabled() {
    for (TMDIChild* display : childDisplays())
        if (auto* data = qobject_cast<TMDIChild_Data*>(display);
            data && data->windowTitle().startsWith("Data"))
            data->RefreshBtn->setEnabled(true);
}

void TMainForm::timebaseLabelChanged(std::string_view label) {
    m_panel->setTimebaseLabel(text(label));
}

void TMainForm::voltsLabelChanged(int channel, std::string_view label) {
    m_panel->setVoltsLabel(channel, text(label));
}

void TMainForm::shotCompleted(const std::string& requestName) {
    // With no display open at all the request waits for one; otherwise it is
    // answered now, or dropped when its display has gone.
    const bool anyDisplay = !childDisplays().isEmpty();
    if (anyDisplay) {
        if (auto* data = qobject_cast<TMDIChild_Data*>(findDisplay(QString::fromStdString(requestName))))
            data->TransferRequestData(m_acquisition.State);
    }
    settleRequest(m_acquisition.State, anyDisplay);
}

void TMainForm::quickPrintRequested(int mode) {
    m_quickPrint.requested(mode);
}

void TMainForm::quickPrintShotDelivered() {
    m_quickPrint.shotDelivered();
}

} // namespace kavlon
