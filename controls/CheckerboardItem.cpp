#include "controls/CheckerboardItem.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace zephrin {

CheckerboardItem::CheckerboardItem(QQuickItem* parent) : QQuickPaintedItem(parent) {}

void CheckerboardItem::setCell(qreal cell)
{
    if (cell == m_cell || !(cell > 0))
        return;
    m_cell = cell;
    emit cellChanged();
    update();
}

void CheckerboardItem::setLightColor(const QColor& color)
{
    if (color == m_light)
        return;
    m_light = color;
    emit lightColorChanged();
    update();
}

void CheckerboardItem::setDarkColor(const QColor& color)
{
    if (color == m_dark)
        return;
    m_dark = color;
    emit darkColorChanged();
    update();
}

void CheckerboardItem::setCornerRadius(qreal radius)
{
    if (radius == m_cornerRadius || !(radius >= 0))
        return;
    m_cornerRadius = radius;
    emit cornerRadiusChanged();
    update();
}

void CheckerboardItem::paint(QPainter* painter)
{
    const QRectF area = boundingRect();
    if (area.isEmpty())
        return;
    // One 2 × 2 tile repeated by the brush: light squares where row + column
    // is even, starting at the top-left corner.
    const int side = std::max(1, int(std::lround(m_cell)));
    QPixmap tile(2 * side, 2 * side);
    tile.fill(m_dark);
    {
        QPainter tilePainter(&tile);
        tilePainter.fillRect(0, 0, side, side, m_light);
        tilePainter.fillRect(side, side, side, side, m_light);
    }
    if (m_cornerRadius > 0) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(QBrush(tile));
        painter->drawRoundedRect(area, m_cornerRadius, m_cornerRadius);
        return;
    }
    painter->fillRect(area, QBrush(tile));
}

} // namespace zephrin
