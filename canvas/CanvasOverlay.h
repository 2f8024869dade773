#pragma once
// Draws the tools' marks (OverlayPainter) over the shown image. It fills the
// canvas region and draws inside the displayed image's rectangle only, so its
// cost follows the window's size, not the zoom. It takes no input.

#include "canvas/CanvasSurface.h"
#include "canvas/OverlayPainter.h"

#include <QPointer>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class CanvasOverlay : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    // The canvas item whose editor and mapping it draws.
    Q_PROPERTY(zephrin::CanvasSurface* surface READ surface WRITE setSurface NOTIFY surfaceChanged)
    // The theme's colours of the marks.
    Q_PROPERTY(QColor accentColor MEMBER m_accent NOTIFY colorsChanged)
    Q_PROPERTY(QColor successColor MEMBER m_success NOTIFY colorsChanged)
    Q_PROPERTY(QColor eraseColor MEMBER m_erase NOTIFY colorsChanged)

public:
    explicit CanvasOverlay(QQuickItem* parent = nullptr);

    CanvasSurface* surface() const { return m_surface; }
    void setSurface(CanvasSurface* surface);
    void paint(QPainter* painter) override;

signals:
    void surfaceChanged();
    void colorsChanged();

private:
    void watchEditor();

    QPointer<CanvasSurface> m_surface;
    QList<QMetaObject::Connection> m_connections;
    QColor m_accent = OverlayColors{}.accent;
    QColor m_success = OverlayColors{}.success;
    QColor m_erase = OverlayColors{}.erase;
};

} // namespace zephrin
