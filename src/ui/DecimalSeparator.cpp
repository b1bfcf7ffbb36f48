#include "ui/DecimalSeparator.h"

#include <QLocale>

namespace kavlon {

char localeDecimalSeparator() {
    const QString mark = QLocale().decimalPoint();
    return mark.size() == 1 && mark[0].unicode() < 0x80 ? char(mark[0].unicode()) : '.';
}

} // namespace kavlon
