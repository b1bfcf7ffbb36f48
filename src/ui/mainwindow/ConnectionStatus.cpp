#include "ui/mainwindow/ConnectionStatus.h"

#include "device/session/InstrumentSession.h"

#include <QLabel>
#include <QStatusBar>

namespace kavlon {

namespace {

// The label is redrawn this often while a shot comes in, not on every frame.
constexpr int kFramesPerUpdate = 32;

} // namespace

ConnectionStatus::ConnectionStatus(InstrumentSession& session, QStatusBar& bar)
    : QObject(&bar), m_session(session) {
    ConnectionStatus_lb = new QLabel;
    ConnectionStatus_lb->setObjectName("ConnectionStatus_lb");
    bar.addPermanentWidget(ConnectionStatus_lb);

    connect(&session, &InstrumentSession::connectButtonEnabled, this, [this](bool enabled) {
        m_found = enabled;
        refresh();
    });
    connect(&session, &InstrumentSession::connectionLost, this, [this] {
        m_ending = Ending::Lost;
        m_activity = Activity::None;
        refresh();
    });
    connect(&session, &InstrumentSession::disconnected, this, [this] {
        m_ending = Ending::Disconnected;
        m_activity = Activity::None;
        refresh();
    });
    connect(&session, &InstrumentSession::instrumentControlsEnabled, this, &ConnectionStatus::refresh);
    connect(&session, &InstrumentSession::shotRequested, this, [this](const QString& caption) {
        m_again = false;
        m_shotFor = caption;
        m_activity = Activity::Waiting;
        refresh();
    });
    connect(&session, &InstrumentSession::progressPositionChanged, this, [this] {
        const int frames = m_session.acquisition().shotFrames();
        if (m_activity == Activity::Waiting) {
            m_activity = Activity::Receiving;
            refresh();
        } else if (m_activity == Activity::Receiving &&
                   (frames - m_shownFrames >= kFramesPerUpdate ||
                    frames >= m_session.acquisition().expectedShotFrames())) {
            refresh();
        }
    });
    connect(&session, &InstrumentSession::shotReady, this, [this](const QString& caption, bool whole) {
        m_shotFor = caption;
        m_activity = whole ? Activity::Complete : Activity::Incomplete;
        refresh();
    });
    refresh();
}

QString ConnectionStatus::text() const {
    return ConnectionStatus_lb->text();
}

QString ConnectionStatus::activityText() const {
    switch (m_activity) {
    case Activity::Waiting:
        return m_again ? QString("frames were lost: asking for the shot for %1 once more").arg(m_shotFor)
                       : QString("waiting for a shot for %1").arg(m_shotFor);
    case Activity::Receiving:
        return QString("%1%2: %3 of %4 frames")
            .arg(m_shotFor, m_again ? " (once more)" : "")
            .arg(m_session.acquisition().shotFrames())
            .arg(m_session.acquisition().expectedShotFrames());
    case Activity::Complete:
        return QString("shot complete (%1)").arg(m_shotFor);
    case Activity::Incomplete:
        return QString("shot incomplete: frames were lost (%1)").arg(m_shotFor);
    case Activity::None:
        break;
    }
    return {};
}

bool ConnectionStatus::connected() const {
    return m_session.demonstrating() || (m_session.state().Connected && m_session.connection().reading());
}

QString ConnectionStatus::linkText() const {
    const QString name = m_session.instrumentName();
    if (m_session.demonstrating())
        return "Demonstration: no instrument is used";
    if (connected())
        return QString("Connected to %1").arg(name);
    if (m_found)
        return m_ending == Ending::Disconnected ? QString("Disconnected from %1: press Connect").arg(name)
                                                : QString("Found %1: press Connect").arg(name);
    if (m_ending == Ending::Lost)
        return "Link lost: the instrument went away";
    return "No instrument found";
}

void ConnectionStatus::askingAgain() {
    m_again = true;
    refresh();
}

void ConnectionStatus::refresh() {
    if (connected())
        m_ending = Ending::None;
    m_shownFrames = m_session.acquisition().shotFrames();
    QString text = linkText();
    const QString activity = activityText();
    if (connected() && !activity.isEmpty())
        text += " \u2014 " + activity;
    ConnectionStatus_lb->setText(text);
}

} // namespace kavlon
