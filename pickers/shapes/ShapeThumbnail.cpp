#include "pickers/shapes/ShapeThumbnail.h"

#include "engine/shapes/ShapeKit.h"

#include <QTransform>

#include <algorithm>

namespace zephrin::shapethumbs {

QStringList groups()
{
    return {QStringLiteral("Basics"), QStringLiteral("Stickers"), QStringLiteral("Bubbles"), QStringLiteral("Frames")};
}

QList<std::pair<QString, QString>> kindsOf(const QString& group)
{
    QList<std::pair<QString, QString>> list;
    for (const ShapeKit::Kind& kind : ShapeKit::kinds())
        if (kind.group == group)
            list.append({kind.id, kind.name});
    return list;
}

std::optional<QPainterPath> thumbnailPath(const QString& id, double width, double height)
{
    const auto kind = ShapeKit::kind(id);
    if (!kind || kind->w <= 0 || kind->h <= 0 || !(width > 0) || !(height > 0))
        return std::nullopt;
    const double s = std::min(width / kind->w, height / kind->h) * 0.92;
    const auto geometry = ShapeKit::path(id, kind->w * s, kind->h * s);
    if (!geometry.path)
        return std::nullopt;
    // Label space has y up and its origin at the centre.
    QTransform toView;
    toView.translate(width / 2, height / 2);
    toView.scale(1, -1);
    QPainterPath path = toView.map(*geometry.path);
    path.setFillRule(Qt::WindingFill);
    return path;
}

} // namespace zephrin::shapethumbs
