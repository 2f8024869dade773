#pragma once
// Image files made for the cutout tests: ordinary encodings and a JPEG with an
// orientation flag (files that lie or end early are in support/HostileImages.h).

#include "support/ExifBlock.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

namespace zephrin::testing {

inline QByteArray encoded(const QImage& image, const char* format, int quality = 95)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

// A photo-like test subject: a dark red disc on a white page, with the disc in
// the upper half so that orientation mistakes show.
inline QImage discOnWhite(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 30, 40));
    const int d = std::min(width, height) / 2;
    painter.drawEllipse(QRect(width / 2 - d / 2, height / 4 - d / 4, d, d));
    return image;
}

// `jpeg` with an Exif block whose orientation tag (0x0112) is `orientation`
// (1 to 8), placed right after the start-of-image marker.
inline QByteArray withExifOrientation(const QByteArray& jpeg, quint16 orientation)
{
    const QByteArray payload = exifBlock(orientation);
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF));
    segment += payload;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

} // namespace zephrin::testing
