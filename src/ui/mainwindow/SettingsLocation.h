#pragma once

#include "core/settings/SettingsFile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kavlon {

// Where the settings file is read from and written to.
struct SettingsLocation {
    QStringList readOrder; // the first of these that holds settings is read
    QString writePath;
};

// A program whose folder is its own (a build tree, a portable copy) keeps its settings
// there and nowhere else, so a portable copy carries them along and a build tree never
// mixes its settings with an installed program's. Any other program (installed, its
// folder read-only) keeps them in the user's configuration folder; a file next to the
// program is still read when the user has none yet, as defaults laid out beside it.
SettingsLocation settingsLocation(const QString& programDirectory, const QString& userConfigDirectory);

// The user's configuration folder for this program (QStandardPaths::AppConfigLocation).
QString userConfigDirectory();

// The settings of the first file in readOrder that holds any; nothing when none does.
std::optional<StoredSettings> loadFirstSettings(const QStringList& readOrder);

// The folder for writePath, created when missing. A failure shows when the file is saved.
void prepareSettingsFolder(const QString& writePath);

} // namespace kavlon
