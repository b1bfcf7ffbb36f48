#include "ui/picture/WholeFile.h"

#include <QSaveFile>

namespace kavlon {

QString saveWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // Unbuffered, so that a failing write reports the platform's reason itself
    // rather than leaving it to a later flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // A short write is no failure yet: the platform says why only when asked
    // for the rest, and a full disk often shows itself only so.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        done += qsizetype(written);
    }
    // The commit flushes, syncs and renames; any of these can fail.
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace kavlon
