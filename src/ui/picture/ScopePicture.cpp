#include "ui/picture/ScopePicture.h"

#include "core/scope/ScopeCanvas.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPainter>

namespace kavlon {

namespace {

// The screen's rows that the picture shows, with the window's ink as paper.
QImage screenOnPaper(const QImage& screen) {
    QImage rows = screen.copy(0, 0, kPictureWidth, kPictureScreenRows);
    if (rows.format() == QImage::Format_Indexed8 && int(Ink::Window) < rows.colorCount())
        rows.setColor(int(Ink::Window), qRgb(255, 255, 255));
    return rows;
}

QFont pictureFont() {
    QFont font;
    // The rows of text are 14 and 15 pixels apart.
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

QImage scopePicture(const QImage& screen, const std::vector<PictureText>& texts) {
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(0, kPictureScreenTop, screenOnPaper(screen));
    painter.setFont(pictureFont());
    painter.setPen(Qt::black);
    for (const PictureText& text : texts) {
        const QRect band(text.x, text.y, kPictureWidth - text.x, text.bandHeight);
        painter.setClipRect(band);
        painter.drawText(band, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QString::fromStdString(text.text));
    }
    return picture;
}

QString pictureDateTime(const QDateTime& moment) {
    const QLocale system = QLocale::system();
    return system.toString(moment.date(), QLocale::ShortFormat) + ' ' +
           system.toString(moment.time(), QLocale::LongFormat);
}

} // namespace kavlon
