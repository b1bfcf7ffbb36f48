#include "ui/DateTimeText.h"

#include <QDateTime>
#include <QRegularExpression>

namespace kavlon {

QString localDateTimeText(const QDateTime& moment, const QLocale& locale) {
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression("\\s*\\bt+\\b"));
    return locale.toString(moment.date(), QLocale::ShortFormat) + ' ' +
           locale.toString(moment.time(), timeFormat.trimmed());
}

} // namespace kavlon
