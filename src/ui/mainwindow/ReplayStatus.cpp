#include "ui/mainwindow/ReplayStatus.h"

#include "ui/dialogs/OutputFolders.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/MainForm.h"

#include "device/replay/ReplayBackend.h"
#include "device/session/Backends.h"

#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace kavlon {

void ReplayStatus::attach(TMainForm& form) {
    ReplayBackend* replay = replayOf(form.session().backend());
    if (replay && !replay->list().shots.empty())
        new ReplayStatus(form, *replay);
}

ReplayStatus::ReplayStatus(TMainForm& form, ReplayBackend& replay)
    : QObject(&form), m_form(form), m_replay(replay), m_title(form.windowTitle()) {
    setObjectName("ReplayStatus");
    QString why = kReplayCannotChangeSettings;
    why[0] = why[0].toUpper();
    form.frontPanel()->lockCommands(why + ".");
    m_label = new QLabel;
    m_label->setObjectName("ReplayStatus_lb");
    form.statusBar()->addPermanentWidget(m_label);
    // A shot's settings report comes first, unless the program holds it already; its
    // delivery comes last.
    connect(&form.session(), &InstrumentSession::instrumentControlsEnabled, this,
            &ReplayStatus::showCurrentShot);
    connect(&form.session(), &InstrumentSession::shotReady, this, &ReplayStatus::showCurrentShot);
    showCurrentShot();
    if (!replay.list().skipped.empty() || !replay.list().notes.empty())
        QTimer::singleShot(0, this, &ReplayStatus::showSkippedFiles);
}

void ReplayStatus::showCurrentShot() {
    const auto& shots = m_replay.list().shots;
    const std::size_t current = m_replay.currentShot();
    const QString path =
        shownFileText(QDir::toNativeSeparators(QString::fromStdString(shots[current].path.string())));
    const QString name = shownFileText(QString::fromStdString(shots[current].path.filename().string()));
    const QString place = QString("%1 of %2").arg(current + 1).arg(shots.size());
    m_form.setWindowTitle(QString("%1 - Replay: %2 (%3)").arg(m_title, name, place));
    m_label->setText(QString("Replay: %1, shot %2").arg(path, place));
}

void ReplayStatus::showSkippedFiles() {
    QStringList lines;
    for (const std::string& message : replayMessages(m_replay.list()))
        lines << QString::fromStdString(message);
    m_form.dialogs().showError(&m_form, "Not every shot file is replayed as it was saved", lines.join('\n'));
}

} // namespace kavlon
