#pragma once

#include "device/session/InstrumentSession.h"

#include "support/Recorders.h"

namespace kavlon::test {

// Records what an instrument session tells its clients in a RecordingListener,
// the front panel's report and the shots offered to it alike, so tests of the
// whole stack read the same fields as tests of the interpretation alone.
inline void recordSession(InstrumentSession& session, RecordingListener& screen) {
    InstrumentSession* s = &session;
    RecordingListener* r = &screen;
    QObject::connect(s, &InstrumentSession::progressPositionChanged,
                     [r](int position) { r->progressPositionChanged(position); });
    QObject::connect(s, &InstrumentSession::progressMaximumChanged,
                     [r](int maximum) { r->progressMaximumChanged(maximum); });
    QObject::connect(s, &InstrumentSession::runStateChanged,
                     [r](bool running) { r->runStateChanged(running); });
    QObject::connect(s, &InstrumentSession::zeroLevelPositionChanged,
                     [r](int channel, int position) { r->zeroLevelPositionChanged(channel, position); });
    QObject::connect(s, &InstrumentSession::panelBoxChanged, [r](PanelBox box, int channel, bool checked) {
        r->panelBoxChanged(box, channel, checked);
    });
    QObject::connect(s, &InstrumentSession::instrumentControlsEnabled,
                     [r] { r->instrumentControlsEnabled(); });
    QObject::connect(s, &InstrumentSession::upperChannelsVisible,
                     [r](bool visible) { r->upperChannelsVisible(visible); });
    QObject::connect(s, &InstrumentSession::channelControlsEnabled,
                     [r](int channel, bool enabled) { r->channelControlsEnabled(channel, enabled); });
    QObject::connect(s, &InstrumentSession::dataRefreshButtonsEnabled,
                     [r] { r->dataRefreshButtonsEnabled(); });
    QObject::connect(s, &InstrumentSession::timebaseLabelChanged,
                     [r](const QString& text) { r->timebaseLabelChanged(text.toStdString()); });
    QObject::connect(s, &InstrumentSession::voltsLabelChanged, [r](int channel, const QString& text) {
        r->voltsLabelChanged(channel, text.toStdString());
    });
    QObject::connect(s, &InstrumentSession::quickPrintRequested,
                     [r](int mode) { r->quickPrintRequested(mode); });
    QObject::connect(s, &InstrumentSession::quickPrintDelivered, [r] { r->quickPrintShotDelivered(); });
    session.setShotTaker([r](const CompletedShot& shot) { return r->shotCompleted(shot); });
}

} // namespace kavlon::test
