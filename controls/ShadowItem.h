#pragma once
// A soft shadow or glow of a rounded rectangle: the shape inset by `spread`
// on every side of the item, blurred with a Gaussian of standard deviation
// blur ÷ 2 and filled with `color`. ZPShadow.qml sizes it around the shape it
// belongs to. Painted once per size or setting (three box passes, O(w·h)).

#include <QColor>
#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class ShadowItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(qreal blur READ blur WRITE setBlur NOTIFY blurChanged)
    Q_PROPERTY(qreal cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)
    Q_PROPERTY(qreal spread READ spread WRITE setSpread NOTIFY spreadChanged)

public:
    explicit ShadowItem(QQuickItem* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    qreal blur() const { return m_blur; }
    void setBlur(qreal blur);
    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);
    qreal spread() const { return m_spread; }
    void setSpread(qreal spread);

    void paint(QPainter* painter) override;

    // The blurred coverage of a rounded rectangle inset by `spread` in an
    // image of `size`, as premultiplied ARGB in `color`.
    static QImage render(QSize size, qreal spread, qreal cornerRadius, qreal blur, const QColor& color);

signals:
    void colorChanged();
    void blurChanged();
    void cornerRadiusChanged();
    void spreadChanged();

private:
    template <typename T> bool assign(T& member, const T& value);

    QColor m_color = Qt::black;
    qreal m_blur = 0;
    qreal m_cornerRadius = 0;
    qreal m_spread = 0;
    QImage m_cache;
};

} // namespace zephrin
