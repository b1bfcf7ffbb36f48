#include "ui/dialogs/GeneratedPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace kavlon {

namespace {

// Made when missing, and a file can be created in it. Asking for permission bits
// is not enough: they do not tell what a read-only mount or an administrator's
// account would do.
bool usableFolder(const QString& path) {
    if (!QDir().mkpath(path))
        return false;
    QTemporaryFile probe(QDir(path).filePath("probe-XXXXXX"));
    return probe.open();
}

} // namespace

QString generatedFolder(const QString& programDirectory, const QString& subfolder) {
    const QString beside = QDir(programDirectory).filePath(subfolder);
    if (usableFolder(beside))
        return beside;
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (appData.isEmpty())
        return {};
    const QString below = QDir(appData).filePath(subfolder);
    return usableFolder(below) ? below : QString();
}

} // namespace kavlon
