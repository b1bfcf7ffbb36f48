#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

namespace kavlon {

class InstrumentSession;

// The status bar's standing report of the link: whether an instrument is there and
// which one, whether it is connected, and what the link is doing (waiting for a
// shot, its frames coming in, the shot complete or not, the link lost).
class ConnectionStatus : public QObject {
    Q_OBJECT
public:
    ConnectionStatus(InstrumentSession& session, QStatusBar& bar);

    QLabel* ConnectionStatus_lb = nullptr;
    QString text() const;
    // Shows the state anew (the demonstration begins or ends without a signal).
    void refresh();
    // The shot just requested is one that lost frames, asked for once more: the label
    // says so while it comes.
    void askingAgain();

private:
    enum class Activity { None, Waiting, Receiving, Complete, Incomplete };
    // How the last connection ended, shown until the next one.
    enum class Ending { None, Lost, Disconnected };

    QString linkText() const;
    QString activityText() const;
    bool connected() const;

    InstrumentSession& m_session;
    bool m_found = false;
    Ending m_ending = Ending::None;
    Activity m_activity = Activity::None;
    QString m_shotFor;
    bool m_again = false;
    int m_shownFrames = -1;
};

} // namespace kavlon
