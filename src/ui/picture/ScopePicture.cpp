#include "ui/picture/ScopePicture.h"

#include <QFont>
#include <QPainter>

namespace kavlon {

namespace {

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
    painter.drawImage(QPoint(0, kPictureScreenTop), screen, QRect(0, 0, kPictureWidth, kPictureScreenRows));
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

} // namespace kavlon
