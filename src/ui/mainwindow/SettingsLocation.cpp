#include "ui/mainwindow/SettingsLocation.h"

#include "ui/dialogs/OutputFolders.h"

#include "core/settings/SettingsStorage.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kavlon {

namespace {

QString inFolder(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
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

std::optional<StoredSettings> loadFirstSettings(const QStringList& readOrder) {
    for (const QString& path : readOrder) {
        if (auto stored = loadSettings(toPath(path)))
            return stored;
    }
    return std::nullopt;
}

void prepareSettingsFolder(const QString& writePath) {
    QDir().mkpath(QFileInfo(writePath).absolutePath());
}

} // namespace kavlon
