#include "ui/dialogs/OutputFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace kavlon {

namespace {

QString withSeparator(QString folder) {
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

} // namespace

QString outputRoot(const QString& programDirectory) {
    const QFileInfo program(programDirectory);
    // An installed program's folder is usually not the user's to write in.
    if (!programDirectory.isEmpty() && program.isDir() && program.isWritable())
        return withSeparator(QDir::cleanPath(programDirectory));
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString outputFolder(const QString& programDirectory, const QString& name, QString* error) {
    const QString folder = withSeparator(outputRoot(programDirectory) + name);
    // Through the standard library, so a failure comes with the platform's reason.
    std::error_code failure;
    const std::filesystem::path path(folder.toStdU16String());
    std::filesystem::create_directories(path, failure);
    if (!failure && !std::filesystem::is_directory(path, failure) && !failure)
        failure = std::make_error_code(std::errc::not_a_directory);
    if (failure) {
        if (error)
            *error = QString::fromLocal8Bit(failure.message());
        return {};
    }
    return folder;
}

std::filesystem::path toPath(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

} // namespace kavlon
