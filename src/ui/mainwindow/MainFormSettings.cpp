// Start-up, the settings file, the quick-print options and closing.
#include "ui/mainwindow/MainForm.h"

#include "ui/FramePlacement.h"
#include "ui/dialogs/OutputFolders.h"

#include "ui/dialogs/SettingsForm.h"
#include "ui/mainwindow/SettingsLocation.h"
#include "ui/mainwindow/ShotFileActions.h"

#include "core/displays/DisplayNames.h"
#include "core/settings/SettingsStorage.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <optional>

namespace kavlon {

void TMainForm::FormCreate() {
    m_session.acquisition().startState();
    if (ProgramDirectory.isEmpty())
        ProgramDirectory = QCoreApplication::applicationDirPath();
    if (!ProgramDirectory.endsWith('/'))
        ProgramDirectory += '/';

    const SettingsStart start = startSettings(settingsLocation(ProgramDirectory, userConfigDirectory()));
    m_settingsPath = start.writePath;
    if (!start.warning.isEmpty()) {
        // Once the window is up, so that the message is seen over it.
        QTimer::singleShot(0, this,
                           [this, start] { m_dialogs->showError(this, start.warning, start.warningDetail); });
    }
    const std::optional<StoredSettings>& stored = start.stored;
    if (!stored)
        return; // first run: the designed size, every quick-print option off

    // Left and Top never place the window (it is centred when shown), but they
    // are applied like the platform does. Sizes are kept within the screen.
    move(stored->Left, stored->Top);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize largest =
        screen ? screen->availableGeometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(std::clamp(stored->Width, 0, largest.width()), std::clamp(stored->Height, 0, largest.height()));
    QuickPrintOptions = stored->Options;
    m_follow = stored->Follow;
    m_shotFiles->setRecent(stored->RecentShots);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Centred on the screen by its whole frame, title bar included, and no larger than
    // the screen holds; so a stored place or size from a larger screen cannot hide it.
    placeNowAndOnceFramed(*this, [this] {
        const QScreen* primary = QGuiApplication::primaryScreen();
        if (!primary)
            return; // nowhere to centre on
        const QRect screen = primary->availableGeometry();
        const QMargins frame = frameMarginsOf(*this);
        resize(fittedContentSize(size(), frame, screen.size()));
        setGeometry(QRect(centredContentPosition(size(), frame, screen, screen), size()));
    });
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    // Closing is always allowed, even when the settings could not be kept:
    // a read-only folder must not hold the user in the program.
    event->accept();
}

void TMainForm::FormCloseQuery() {
    StoredSettings s;
    s.Left = x();
    s.Top = y();
    s.Width = width();
    s.Height = height();
    s.Options = QuickPrintOptions;
    s.RecentShots = m_shotFiles->recent();
    s.Follow = m_follow;
    if (m_settingsPath.isEmpty())
        return; // the start said why
    QString reason = prepareSettingsFolder(m_settingsPath);
    if (reason.isEmpty()) {
        const SaveResult result = saveSettings(toPath(m_settingsPath), s);
        reason = result.saved ? QString() : QString::fromLocal8Bit(result.reason);
    }
    if (!reason.isEmpty()) {
        const QString path = shownFileText(QDir::toNativeSeparators(m_settingsPath));
        m_dialogs->showError(this, QString("nach %1 kann nicht geschrieben werden").arg(path), reason);
    }
}

void TMainForm::ToolButton15Click() {
    if (m_dialogs->runModal(*SettingsForm))
        QuickPrintOptions = SettingsForm->shownOptions();
}

void TMainForm::FileOpen1Execute() {
    const QString path = m_dialogs->chooseOpenFile(this, "Alle Dateien (*.*)");
    if (path.isEmpty())
        return;
    // A picture window for the file, without a number or a list entry.
    CreateScopeDisplay(QDir::toNativeSeparators(path));
}

} // namespace kavlon
