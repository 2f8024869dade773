#include "pickers/ShapeThumb.h"

#include "engine/shapes/ShapeKit.h"
#include "pickers/shapes/ShapeThumbnail.h"

#include <QPainter>

namespace zephrin {

ShapeThumb::ShapeThumb(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setOpaquePainting(false);
    setAntialiasing(true);
}

void ShapeThumb::setKind(const QString& kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    emit kindChanged();
    update();
}

void ShapeThumb::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    emit colorChanged();
    update();
}

void ShapeThumb::paint(QPainter* painter)
{
    const auto path = shapethumbs::thumbnailPath(m_kind, width(), height());
    if (!path)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(*path, m_color);
}

QStringList ShapeCatalogue::groups() const
{
    return shapethumbs::groups();
}

QVariantList ShapeCatalogue::kinds(const QString& group) const
{
    QVariantList list;
    for (const auto& [id, name] : shapethumbs::kindsOf(group))
        list.append(QVariantMap{{QStringLiteral("id"), id}, {QStringLiteral("name"), name}});
    return list;
}

QString ShapeCatalogue::name(const QString& id) const
{
    const auto kind = ShapeKit::kind(id);
    return kind ? kind->name : QString();
}

} // namespace zephrin
