#include "model/editor/ClipboardPicture.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace zephrin;

namespace {

// A row of a clear, a half-covered red and an opaque blue pixel (premultiplied).
QImage threePixels()
{
    QImage picture(3, 1, QImage::Format_RGBA8888_Premultiplied);
    const uchar bytes[3][4] = {{0, 0, 0, 0}, {100, 0, 0, 128}, {0, 0, 200, 255}};
    for (int x = 0; x < 3; ++x)
        std::copy(bytes[x], bytes[x] + 4, picture.scanLine(0) + 4 * x);
    return picture;
}

// The flavour as the platform's clipboard makes it from the picture: written
// by Qt's image writer in that format.
QImage flavour(const QMimeData& data, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(qvariant_cast<QImage>(data.imageData()).save(&buffer, format)) << format;
    return QImage::fromData(bytes, format);
}

} // namespace

// The PNG keeps the alpha; every flavour made from the picture (JPEG, BMP,
// any other) shows it on white, as the JPG export does, never on black.
TEST(ClipboardPicture, GivesThePngAndThePictureOnWhite)
{
    const QByteArray png("png bytes");
    const ClipboardPicture data(png, threePixels());
    EXPECT_EQ(data.formats().value(0), QStringLiteral("image/png"));
    EXPECT_EQ(data.data(QStringLiteral("image/png")), png);
    ASSERT_TRUE(data.hasImage());

    const QImage onWhite = qvariant_cast<QImage>(data.imageData());
    EXPECT_FALSE(onWhite.hasAlphaChannel());
    EXPECT_EQ(onWhite.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(onWhite.pixel(1, 0), qRgb(227, 127, 127));
    EXPECT_EQ(onWhite.pixel(2, 0), qRgb(0, 0, 200));

    for (const char* format : {"BMP", "PPM"})
        EXPECT_EQ(flavour(data, format).pixel(0, 0), qRgb(255, 255, 255)) << format;
    EXPECT_GT(qRed(flavour(data, "JPEG").pixel(0, 0)), 240);

    // Nothing to show: the PNG alone.
    const ClipboardPicture none(png, QImage());
    EXPECT_FALSE(none.hasImage());
    EXPECT_EQ(none.formats(), QStringList{QStringLiteral("image/png")});
}
