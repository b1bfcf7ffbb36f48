#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace kavlon {

// A picture's file bytes, or why there are none.
struct EncodedPicture {
    QByteArray bytes;
    QString error;
};

// A Windows bitmap file in 24-bit colour.
EncodedPicture encodeBmp(const QImage& picture);

// A baseline JPEG file in 24-bit colour at quality 100 with the accurate DCT.
EncodedPicture encodeJpeg(const QImage& picture);

} // namespace kavlon
