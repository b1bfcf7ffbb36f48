#include "ui/picture/PictureEncoding.h"

#include <QBuffer>
#include <QImageWriter>

namespace kavlon {

EncodedPicture encodeBmp(const QImage& picture) {
    EncodedPicture encoded;
    QBuffer buffer(&encoded.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    // An image without an alpha channel is written with three bytes a pixel.
    if (!writer.write(picture.convertToFormat(QImage::Format_RGB32))) {
        encoded.bytes.clear();
        encoded.error = writer.errorString();
    }
    return encoded;
}

} // namespace kavlon
