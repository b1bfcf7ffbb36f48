// What the instrument session reports, wired to the panel, the progress bar and the displays.
#include "ui/mainwindow/MainForm.h"

#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/FrontPanel.h"

#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

namespace kavlon {

void TMainForm::wireSession() {
    InstrumentSession* s = &m_session;
    FrontPanel* panel = m_panel;
    connect(s, &InstrumentSession::runStateChanged, panel, &FrontPanel::setRunState);
    connect(s, &InstrumentSession::zeroLevelPositionChanged, panel, &FrontPanel::setZeroLevelPosition);
    // The acquisition runs a box's click handler itself; only the tick changes here.
    connect(s, &InstrumentSession::panelBoxChanged, panel, &FrontPanel::setPanelBoxChecked);
    connect(s, &InstrumentSession::instrumentControlsEnabled, panel, &FrontPanel::enableInstrumentControls);
    connect(s, &InstrumentSession::instrumentControlsEnabled, this, &TMainForm::enableDisplayButtons);
    connect(s, &InstrumentSession::upperChannelsVisible, panel, &FrontPanel::setUpperChannelsVisible);
    connect(s, &InstrumentSession::channelControlsEnabled, panel, &FrontPanel::setChannelControlsEnabled);
    connect(s, &InstrumentSession::timebaseLabelChanged, panel, &FrontPanel::setTimebaseLabel);
    connect(s, &InstrumentSession::voltsLabelChanged, panel, &FrontPanel::setVoltsLabel);
    connect(s, &InstrumentSession::dataRefreshButtonsEnabled, this, &TMainForm::enableDataRefreshButtons);

    connect(s, &InstrumentSession::progressMaximumChanged, Receive_ProgressBar, &QProgressBar::setMaximum);
    connect(s, &InstrumentSession::progressPositionChanged, this, [this](int position) {
        // Frames of channels past the count of channels on run beyond the maximum;
        // the bar then stands full.
        Receive_ProgressBar->setValue(
            std::clamp(position, Receive_ProgressBar->minimum(), Receive_ProgressBar->maximum()));
    });

    m_session.setShotTaker([this](const CompletedShot& shot) { return takeShot(shot); });
    connect(s, &InstrumentSession::quickPrintRequested, this,
            [this](int mode) { m_quickPrint.requested(mode); });
    connect(s, &InstrumentSession::quickPrintDelivered, this, [this] { m_quickPrint.shotDelivered(); });

    connect(Open_TBtn, &QToolButton::clicked, s, &InstrumentSession::connectInstrument);
    connect(s, &InstrumentSession::connectButtonEnabled, Open_TBtn, &QWidget::setEnabled);
    connect(s, &InstrumentSession::connectionLost, this, [this] {
        statusBar()->showMessage("The instrument is gone. Plug it in again to connect.", 10000);
    });
    connect(s, &InstrumentSession::connectFailed, this,
            [this](const QString& reason) { statusBar()->showMessage(reason, 10000); });
}

void TMainForm::enableDisplayButtons() {
    for (auto* b : {Data_TB, Scope_TB, Measure_TB, FFT_TB})
        b->setEnabled(true);
}

void TMainForm::returnToStartState() {
    m_panel->returnToStartState();
    for (auto* b : {Data_TB, Scope_TB, Measure_TB, FFT_TB})
        b->setEnabled(false);
}

void TMainForm::enableDataRefreshButtons() {
    for (TMDIChild* display : childDisplays())
        if (auto* data = qobject_cast<TMDIChild_Data*>(display);
            data && data->windowTitle().startsWith("Data"))
            data->RefreshBtn->setEnabled(true);
}

ShotDelivery TMainForm::takeShot(const CompletedShot& shot) {
    // With no display open at all the request waits for one; otherwise it is
    // answered now, or dropped when its display has gone, so a late answer cannot
    // land in a display opened later under the same caption.
    if (childDisplays().isEmpty())
        return ShotDelivery::KeepPending;
    if (auto* data = qobject_cast<TMDIChild_Data*>(findDisplay(QString::fromStdString(shot.requestName))))
        data->TransferRequestData(m_session.state());
    return ShotDelivery::Settled;
}

void TMainForm::startDemonstration() {
    m_session.startDemonstration();
    // The tour's connect step works without an instrument.
    Open_TBtn->setEnabled(true);
}

void TMainForm::endDemonstration() {
    m_session.endDemonstration();
    returnToStartState();
}

} // namespace kavlon
