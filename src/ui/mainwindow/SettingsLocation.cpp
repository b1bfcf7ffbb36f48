#include "ui/mainwindow/SettingsLocation.h"

#include "ui/dialogs/OutputFolders.h"

#include "core/files/Folders.h"
#include "core/settings/SettingsStorage.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kavlon {

namespace {

QString inFolder(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QString shownPath(const QString& path) {
    return shownFileText(QDir::toNativeSeparators(path));
}

} // namespace

SettingsLocation settingsLocation(const QString& programDirectory, const QString& userConfigDirectory) {
    const QString besideProgram = inFolder(programDirectory, kSettingsFileName);
    if (programFolderIsOwn(programDirectory))
        return {{besideProgram}, besideProgram};
    const QString perUser = inFolder(userConfigDirectory, kSettingsFileName);
    return {{perUser, besideProgram}, perUser};
}

QString userConfigDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

SettingsStart startSettings(const SettingsLocation& location) {
    SettingsStart start;
    start.writePath = location.writePath;
    for (const QString& path : location.readOrder) {
        SettingsRead read = readSettingsFile(toPath(path));
        if (read.status == SettingsRead::Status::Read) {
            start.stored = std::move(read.settings);
            break;
        }
        if (read.status != SettingsRead::Status::Unreadable)
            continue;
        start.warning = QString("cannot read %1: %2; defaults are used")
                            .arg(shownPath(path), QString::fromLocal8Bit(read.reason));
        if (path == location.writePath)
            start.writePath.clear();
        start.warningDetail =
            start.writePath.isEmpty()
                ? QString("The settings will not be saved, so that %1 stays as it is.").arg(shownPath(path))
                : QString("The settings will be saved to %1.").arg(shownPath(start.writePath));
        break;
    }
    return start;
}

QString prepareSettingsFolder(const QString& writePath) {
    return QString::fromLocal8Bit(makeFolders(toPath(QFileInfo(writePath).absolutePath())));
}

} // namespace kavlon
