#include "controls/ImageView.h"

#include <QQuickWindow>
#include <QSGImageNode>

namespace zephrin {

ImageView::ImageView(QQuickItem* parent) : QQuickItem(parent)
{
    setFlag(ItemHasContents, true);
}

void ImageView::setImage(const QImage& image)
{
    if (image.cacheKey() == m_image.cacheKey() && image.size() == m_image.size())
        return;
    m_image = image;
    m_textureStale = true;
    updatePaintedRect();
    emit imageChanged();
    update();
}

QRectF ImageView::fittedRect(const QSizeF& imageSize, const QRectF& bounds)
{
    if (imageSize.isEmpty() || bounds.isEmpty())
        return {};
    const QSizeF size = imageSize.scaled(bounds.size(), Qt::KeepAspectRatio);
    return {bounds.x() + (bounds.width() - size.width()) / 2, bounds.y() + (bounds.height() - size.height()) / 2,
            size.width(), size.height()};
}

void ImageView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    updatePaintedRect();
    update();
}

void ImageView::updatePaintedRect()
{
    const QRectF rect = fittedRect(m_image.size(), boundingRect());
    if (rect == m_paintedRect)
        return;
    m_paintedRect = rect;
    emit paintedRectChanged();
}

QSGNode* ImageView::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*)
{
    auto* node = static_cast<QSGImageNode*>(oldNode);
    if (m_image.isNull() || m_paintedRect.isEmpty()) {
        delete node;
        m_uploadedKey = 0;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        m_textureStale = true;
    }
    if (m_textureStale || m_uploadedKey != m_image.cacheKey()) {
        const bool shrinks = m_image.width() > m_paintedRect.width() * 2;
        QQuickWindow::CreateTextureOptions options = QQuickWindow::TextureHasAlphaChannel;
        if (shrinks)
            options |= QQuickWindow::TextureHasMipmaps;
        node->setTexture(window()->createTextureFromImage(m_image, options));
        node->setMipmapFiltering(shrinks ? QSGTexture::Linear : QSGTexture::None);
        m_uploadedKey = m_image.cacheKey();
        ++m_uploads;
        m_textureStale = false;
    }
    node->setFiltering(QSGTexture::Linear);
    node->setRect(m_paintedRect);
    return node;
}

} // namespace zephrin
