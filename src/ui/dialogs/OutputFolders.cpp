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

bool isSystemProgramFolder(const QFileInfo& folder) {
    // Compared as canonical paths: /bin and /sbin are links into /usr on most systems now.
    const QString path = folder.canonicalFilePath();
    for (const char* system :
         {"/usr/bin", "/usr/sbin", "/usr/local/bin", "/usr/local/sbin", "/bin", "/sbin"}) {
        if (path == QFileInfo(QString::fromLatin1(system)).canonicalFilePath())
            return true;
    }
    return false;
}

} // namespace

bool programFolderIsOwn(const QString& programDirectory) {
    const QFileInfo program(programDirectory);
    return !programDirectory.isEmpty() && program.isDir() && program.isWritable() &&
           !isSystemProgramFolder(program);
}

QString outputRoot(const QString& programDirectory) {
    // An installed program's folder is not the user's to write in.
    if (programFolderIsOwn(programDirectory))
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

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

} // namespace kavlon
