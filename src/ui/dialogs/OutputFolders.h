#pragma once

#include <QString>

#include <filesystem>

namespace kavlon {

// True when the program may keep its files in its own directory: the directory is there
// and writable, and it is not one of the system's folders for installed programs, which
// the superuser could write but nobody should litter. The settings file and the output
// folders both go by this one test.
bool programFolderIsOwn(const QString& programDirectory);

// Where the program puts what it generates (the "exports" and "images" folders): below
// the program's directory when that is writable, otherwise below the user's own data
// folder. The file dialogs for them start there too. Every generated path goes
// through here.
QString outputRoot(const QString& programDirectory);

// The folder `name` below the output root, created with its parents when missing, with
// a trailing separator; empty, and the platform's reason in error, when it cannot be.
QString outputFolder(const QString& programDirectory, const QString& name, QString* error = nullptr);

// A path the core's file functions take, from the text the dialogs and folders give.
std::filesystem::path toPath(const QString& path);

// Text from a file, or a file's name, as a message shows it: control characters
// escaped (escapeControlCharacters), so that none cuts, splits or garbles the message.
QString shownFileText(const QString& text);

} // namespace kavlon
