#include "ui/dialogs/OutputFolders.h"

#include "core/files/EscapedText.h"
#include "core/files/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
    if (const std::string failure = makeFolders(toPath(folder)); !failure.empty()) {
        if (error)
            *error = QString::fromLocal8Bit(failure);
        return {};
    }
    return folder;
}

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

QString shownFileText(const QString& text) {
    return QString::fromStdString(escapeControlCharacters(text.toStdString()));
}

} // namespace kavlon
