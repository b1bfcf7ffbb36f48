#pragma once

#include <QObject>
#include <QString>

class QLabel;

namespace kavlon {

class ReplayBackend;
class TMainForm;

// The window while saved shots stand in for the instrument: the front-panel controls
// that would change its settings are locked with the reason, the title and a field of
// the status bar name the replay and its current shot, and the files that are not
// played as they were saved are shown once the window is up.
class ReplayStatus : public QObject {
    Q_OBJECT
public:
    // Attaches to the window when its instrument is a replay; the window owns it.
    static void attach(TMainForm& form);

public slots:
    // The current shot as the title and the status bar show it.
    void showCurrentShot();

private:
    ReplayStatus(TMainForm& form, ReplayBackend& replay);
    void showSkippedFiles();

    TMainForm& m_form;
    ReplayBackend& m_replay;
    QString m_title;
    QLabel* m_label = nullptr;
};

} // namespace kavlon
