#pragma once

#include <QByteArray>
#include <QString>

namespace kavlon {

// Puts bytes under path whole or not at all: they go to a new file beside it that
// takes the name only once every byte is written and on the disk, so a failure
// leaves no half file and an earlier file under the name as it was. Returns an
// empty text when saved, else the platform's reason.
QString saveWhole(const QString& path, const QByteArray& bytes);

} // namespace kavlon
