#pragma once
// The checkerboard behind transparent pixels: squares of side `cell`, the
// top-left one light, alternating along rows and columns; the last row and
// column may be cut off; with a corner radius the board is a rounded
// rectangle. CheckerboardView.qml gives it the theme's colours.

#include <QColor>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class CheckerboardItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal cell READ cell WRITE setCell NOTIFY cellChanged)
    Q_PROPERTY(QColor lightColor READ lightColor WRITE setLightColor NOTIFY lightColorChanged)
    Q_PROPERTY(QColor darkColor READ darkColor WRITE setDarkColor NOTIFY darkColorChanged)
    Q_PROPERTY(qreal cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)

public:
    explicit CheckerboardItem(QQuickItem* parent = nullptr);

    qreal cell() const { return m_cell; }
    void setCell(qreal cell);
    QColor lightColor() const { return m_light; }
    void setLightColor(const QColor& color);
    QColor darkColor() const { return m_dark; }
    void setDarkColor(const QColor& color);
    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);

    void paint(QPainter* painter) override;

signals:
    void cellChanged();
    void lightColorChanged();
    void darkColorChanged();
    void cornerRadiusChanged();

private:
    qreal m_cell = 8;
    QColor m_light;
    QColor m_dark;
    qreal m_cornerRadius = 0;
};

} // namespace zephrin
