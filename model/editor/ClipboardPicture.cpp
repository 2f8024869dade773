#include "model/editor/ClipboardPicture.h"

#include <QColorSpace>

#include <algorithm>
#include <utility>

namespace zephrin {

namespace {

QString qtImageFormat() { return QStringLiteral("application/x-qt-image"); }

} // namespace

ClipboardPicture::ClipboardPicture(const QByteArray& png, QImage picture) : m_picture(std::move(picture))
{
    setData(QStringLiteral("image/png"), png);
}

QStringList ClipboardPicture::formats() const
{
    QStringList list = QMimeData::formats();
    if (!m_picture.isNull())
        list.append(qtImageFormat());
    return list;
}

QVariant ClipboardPicture::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (mimeType != qtImageFormat() || m_picture.isNull())
        return QMimeData::retrieveData(mimeType, type);
    if (m_onWhite.isNull())
        m_onWhite = onWhite(m_picture);
    return m_onWhite;
}

QImage ClipboardPicture::onWhite(const QImage& picture)
{
    const QImage premultiplied = picture.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QImage out(premultiplied.size(), QImage::Format_RGBX8888);
    if (out.isNull())
        return out;
    for (int y = 0; y < premultiplied.height(); ++y) {
        const uchar* in = premultiplied.constScanLine(y);
        uchar* row = out.scanLine(y);
        for (int x = 0; x < premultiplied.width(); ++x, in += 4, row += 4) {
            const int clear = 255 - in[3];
            for (int c = 0; c < 3; ++c)
                row[c] = static_cast<uchar>(std::min(in[c] + clear, 255));
            row[3] = 255;
        }
    }
    out.setColorSpace(picture.colorSpace());
    return out;
}

} // namespace zephrin
