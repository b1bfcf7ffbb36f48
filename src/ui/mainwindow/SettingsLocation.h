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

// What the start found, and where the settings go at close: decided once, at start.
struct SettingsStart {
    std::optional<StoredSettings> stored; // nothing: the first run's defaults
    QString writePath;                    // empty: the settings are written nowhere
    // Said at start when a settings file is there but could not be read: "cannot read
    // ...: reason; defaults are used", and in the detail which file is written instead,
    // or that none is. Both empty when there is nothing to say.
    QString warning;
    QString warningDetail;
};

// Reads the first file of location.readOrder that is there. One that cannot be read
// stops the search (its settings are the user's, and older ones must not stand in for
// them) and is never overwritten: the settings then go to the write path only when that
// is another file.
SettingsStart startSettings(const SettingsLocation& location);

// The folder for writePath, made when missing; the platform's reason when it cannot be.
QString prepareSettingsFolder(const QString& writePath);

} // namespace kavlon
