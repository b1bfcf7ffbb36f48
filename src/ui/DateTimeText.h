#pragma once

#include <QLocale>
#include <QString>

class QDateTime;

namespace kavlon {

// The moment as exports and pictures stamp it: the locale's short date and long time,
// without the time zone some locales' long time carries ("UTC"), so that a sheet and a
// picture of the same moment read alike.
QString localDateTimeText(const QDateTime& moment, const QLocale& locale = QLocale());

} // namespace kavlon
