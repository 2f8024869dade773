#pragma once
// Shows one image scaled to fit its item, aspect ratio kept, centred, never
// cropped or distorted. The image is uploaded as a texture once per image
// (recognised by QImage::cacheKey) and the scene graph scales it, so zooming
// or resizing the view costs no new upload. Decorative: no accessible name.

#include <QImage>
#include <QQuickItem>
#include <QRectF>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class ImageView : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged)
    Q_PROPERTY(QRectF paintedRect READ paintedRect NOTIFY paintedRectChanged)

public:
    explicit ImageView(QQuickItem* parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage& image);

    // Where the image is drawn, in the item's coordinates (empty without image).
    QRectF paintedRect() const { return m_paintedRect; }

    // How many times a texture was made from an image (once per image: a
    // resize, zoom or move never makes one).
    int textureUploads() const { return m_uploads; }

    // The rectangle of an image of `imageSize` fitted into `bounds`.
    static QRectF fittedRect(const QSizeF& imageSize, const QRectF& bounds);

signals:
    void imageChanged();
    void paintedRectChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    void updatePaintedRect();

    QImage m_image;
    qint64 m_uploadedKey = 0;
    int m_uploads = 0;
    bool m_textureStale = false;
    QRectF m_paintedRect;
};

} // namespace zephrin
