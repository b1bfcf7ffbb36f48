// What the instrument session reports, wired to the panel, the progress bar and the displays.
#include "ui/mainwindow/MainForm.h"

#include "ui/displays/DataDisplay.h"
#include "ui/mainwindow/ConnectionStatus.h"
#include "ui/mainwindow/FrontPanel.h"

#include "device/simulator/SimulatedBackend.h"

#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

namespace kavlon {

void TMainForm::wireSession() {
    InstrumentSession* s = &m_session;
    m_connectionStatus = new ConnectionStatus(m_session, *statusBar());
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
    // After the status label has said what became of the shot.
    connect(s, &InstrumentSession::shotReady, this, [this](const QString& caption, bool whole) {
        if (!whole)
            shotLostFrames(caption);
    });
    connect(s, &InstrumentSession::quickPrintRequested, this,
            [this](int mode) { m_quickPrint.requested(mode); });
    connect(s, &InstrumentSession::quickPrintDelivered, this, [this] {
        // A shot that lost frames is asked for again: the print waits for that one.
        if (const auto* data = qobject_cast<TMDIChild_Data*>(
                findDisplay(QString::fromStdString(m_session.state().RequestName)));
            data && data->askingAgain())
            return;
        m_quickPrint.shotDelivered();
    });

    connect(Open_TBtn, &QToolButton::clicked, s, &InstrumentSession::connectInstrument);
    connect(Disconnect_TBtn, &QToolButton::clicked, s, &InstrumentSession::disconnectInstrument);
    connect(s, &InstrumentSession::connectButtonEnabled, Open_TBtn, &QWidget::setEnabled);
    connect(s, &InstrumentSession::connectButtonEnabled, this, &TMainForm::updateDisconnectButton);
    connect(s, &InstrumentSession::instrumentControlsEnabled, this, &TMainForm::updateDisconnectButton);
    connect(s, &InstrumentSession::disconnected, this, &TMainForm::instrumentLetGo);
    connect(s, &InstrumentSession::connectionLost, this, [this] {
        instrumentLetGo();
        statusBar()->showMessage("The instrument is gone. Plug it in again to connect.", 10000);
    });
    connect(s, &InstrumentSession::connectFailed, this,
            [this](const QString& reason) { statusBar()->showMessage(reason, 10000); });
}

void TMainForm::updateDisconnectButton() {
    Disconnect_TBtn->setEnabled(!m_session.demonstrating() && m_session.state().Connected &&
                                m_session.connection().reading());
}

void TMainForm::instrumentLetGo() {
    updateDisconnectButton();
    m_panel->instrumentLetGo();
    for (TMDIChild* display : childDisplays())
        if (auto* data = qobject_cast<TMDIChild_Data*>(display))
            data->instrumentLetGo();
}

void TMainForm::enableOfflineDisplays() {
    m_panel->enableDisplayListControls();
    enableDisplayButtons();
}

void TMainForm::showSimulatorMenu() {
    auto* simulated = dynamic_cast<SimulatedBackend*>(&m_session.backend());
    if (!simulated || SimulatorMenu)
        return;
    SimulatorMenu = menuBar()->addMenu("Simulated instrument");
    SimulatorMenu->setObjectName("SimulatorMenu");
    PressQuickPrint1 = SimulatorMenu->addAction("Press quick print");
    PressQuickPrint1->setObjectName("PressQuickPrint1");
    PressQuickPrint1->setStatusTip(
        "The instrument's quick-print button: it asks for a picture as \"Print as\" says");
    connect(PressQuickPrint1, &QAction::triggered, this, [this, simulated] {
        const int mode = QuickPrintOptions.PrintAs;
        simulated->withInstrument(
            [mode](SimulatedInstrument& instrument) { instrument.sendQuickPrint(mode); });
    });
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
            data && data->windowTitle().startsWith("Data") && !(data->repeating() && data->awaitingShot()))
            data->RefreshBtn->setEnabled(true);
}

ShotDelivery TMainForm::takeShot(const CompletedShot& shot) {
    // With no display open at all the request waits for one; otherwise it is
    // answered now, or dropped when its display has gone, so a late answer cannot
    // land in a display opened later under the same caption.
    if (childDisplays().isEmpty())
        return ShotDelivery::KeepPending;
    auto* data = qobject_cast<TMDIChild_Data*>(findDisplay(QString::fromStdString(shot.requestName)));
    // A shot with holes is never shown as if whole: the display keeps what it shows
    // until the shot asked for once more arrives (shotLostFrames).
    if (data && (shot.whole() || !data->askAgainAfterLostFrames()))
        data->TransferRequestData(m_session.state(), shot.whole());
    return ShotDelivery::Settled;
}

void TMainForm::shotLostFrames(const QString& caption) {
    auto* data = qobject_cast<TMDIChild_Data*>(findDisplay(caption));
    if (!data)
        return;
    if (!data->askingAgain()) {
        statusBar()->showMessage(
            QString("The shot for %1 lost frames again; it is shown, marked incomplete.").arg(caption),
            10000);
        return;
    }
    statusBar()->showMessage(QString("The shot for %1 lost frames; asking for it once more.").arg(caption),
                             10000);
    m_session.requestShot(caption.toStdString());
    m_connectionStatus->askingAgain();
}

void TMainForm::shotTaken(const QString& caption) {
    // Each follower loads in an event of its own, so the window answers in between,
    // and one that closes meanwhile is never called.
    for (TMDIChild* display : childDisplays())
        QMetaObject::invokeMethod(
            display,
            [display, caption] {
                if (!display->isClosing())
                    display->sourceShotTaken(caption);
            },
            Qt::QueuedConnection);
}

void TMainForm::startDemonstration() {
    m_session.startDemonstration();
    // The tour's connect step works without an instrument.
    Open_TBtn->setEnabled(true);
    updateDisconnectButton();
    m_connectionStatus->refresh();
}

void TMainForm::endDemonstration() {
    m_session.endDemonstration();
    returnToStartState();
    updateDisconnectButton();
    m_connectionStatus->refresh();
}

} // namespace kavlon
