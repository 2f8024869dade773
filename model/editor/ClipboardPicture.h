#pragma once
// What a copy puts on the clipboard: the result's PNG as image/png, alpha and
// all, and the picture for every other image flavour the platform makes from
// it (JPEG, BMP, PPM ...), flattened on white as the JPG export is. Those
// flavours mostly have no alpha: from the picture itself every transparent
// pixel would come out black. The flattened picture is made on the first ask.

#include <QImage>
#include <QMimeData>

namespace zephrin {

class ClipboardPicture final : public QMimeData {
public:
    // `png`: the picture's PNG; `picture`: the picture (any QImage format).
    ClipboardPicture(const QByteArray& png, QImage picture);

    QStringList formats() const override;

    // The picture on white (Format_RGBX8888): what its premultiplied colour
    // over white gives, c + 255 − alpha in each channel.
    static QImage onWhite(const QImage& picture);

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QImage m_picture;
    mutable QImage m_onWhite;
};

} // namespace zephrin
