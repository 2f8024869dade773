#include "engine/shapes/ShapeKit.h"

#include "engine/shapes/PathArcs.h"

#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace zephrin::ShapeKit {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

QPainterPath polygon(const std::vector<QPointF>& vertices)
{
    QPainterPath path;
    for (const QPointF& vertex : vertices) {
        if (path.elementCount() == 0)
            path.moveTo(vertex);
        else
            path.lineTo(vertex);
    }
    path.closeSubpath();
    return path;
}

// A closed polygon of `count` vertices around the origin, the first at 90° (the
// top), alternating between the two radii: stars and seals.
QPainterPath starPolygon(int count, double stepDegrees, double evenRadius, double oddRadius)
{
    std::vector<QPointF> vertices;
    for (int k = 0; k < count; ++k) {
        const double angle = (90 + stepDegrees * k) * kDegree;
        const double radius = k % 2 == 0 ? evenRadius : oddRadius;
        vertices.emplace_back(radius * std::cos(angle), radius * std::sin(angle));
    }
    return polygon(vertices);
}

// A full circle as its own closed subpath. Every circle turns the same way, so
// overlapping circles merge under the non-zero rule.
void addCircle(QPainterPath& path, QPointF centre, double radius)
{
    QPainterPath circle;
    appendArc(circle, centre, radius, 0, 2 * std::numbers::pi);
    circle.closeSubpath();
    path.addPath(circle);
}

QPainterPath heart()
{
    QPainterPath path;
    path.moveTo(0, -0.95);
    path.cubicTo(-0.55, -0.55, -1, -0.2, -1, 0.3);
    path.cubicTo(-1, 0.95, -0.25, 1.05, 0, 0.62);
    path.cubicTo(0.25, 1.05, 1, 0.95, 1, 0.3);
    path.cubicTo(1, -0.2, 0.55, -0.55, 0, -0.95);
    path.closeSubpath();
    return path;
}

QPainterPath cloud()
{
    QPainterPath path;
    addCircle(path, {0, 0.18}, 0.78);
    for (int k = 0; k < 10; ++k) {
        const double t = 0.2 + k * 2 * std::numbers::pi / 10;
        addCircle(path, {0.82 * std::cos(t), 0.18 + 0.52 * std::sin(t)}, 0.36);
    }
    addCircle(path, {-0.62, -0.62}, 0.13);
    addCircle(path, {-0.82, -0.86}, 0.08);
    return path;
}

QPainterPath arch()
{
    QPainterPath path;
    path.moveTo(-1, -1.4);
    path.lineTo(1, -1.4);
    path.lineTo(1, 0.2);
    appendArc(path, {0, 0.2}, 1, 0, std::numbers::pi);
    path.closeSubpath();
    return path;
}

QPainterPath hexagon()
{
    std::vector<QPointF> vertices;
    for (int k = 0; k < 6; ++k)
        vertices.emplace_back(std::cos(60 * k * kDegree), 0.95 * std::sin(60 * k * kDegree));
    return polygon(vertices);
}

QPainterPath scallop()
{
    QPainterPath path;
    addCircle(path, {0, 0}, 0.86);
    for (int k = 0; k < 16; ++k)
        addCircle(path, 0.86 * QPointF(std::cos(22.5 * k * kDegree), std::sin(22.5 * k * kDegree)), 0.17);
    return path;
}

// A rounded body over a tail at the bottom left.
Geometry speech(double w, double h)
{
    const double l = -w / 2;
    const double r = w / 2;
    const double bottom = -h / 2;
    const double top = h / 2;
    const double b = bottom + 0.22 * h;  // the body's bottom edge
    const double c = std::min(0.2 * w, 0.28 * std::min(0.78 * h, w));

    QPainterPath path;
    path.moveTo(l + c, top);
    appendTangentArc(path, {r, top}, {r, b}, c);
    appendTangentArc(path, {r, b}, {l, b}, c);
    path.lineTo(-0.06 * w, b);
    path.lineTo(-0.34 * w, bottom);
    path.lineTo(-0.27 * w, b);
    appendTangentArc(path, {l, b}, {l, top}, c);
    appendTangentArc(path, {l, top}, {r, top}, c);
    path.closeSubpath();
    return {path, QRectF(-0.4 * w, b + 0.16 * (top - b), 0.8 * w, 0.68 * (top - b))};
}

Geometry designedPath(const QString& id)
{
    if (id == u"ellipse") {
        QPainterPath path;
        addCircle(path, {0, 0}, 1);
        return {path, QRectF(-0.66, -0.6, 1.32, 1.2)};
    }
    if (id == u"heart")
        return {heart(), QRectF(-0.56, -0.28, 1.12, 0.78)};
    if (id == u"star")
        return {starPolygon(10, 36, 1, 0.47), QRectF(-0.36, -0.3, 0.72, 0.56)};
    if (id == u"badge")
        return {starPolygon(40, 9, 1, 0.87), QRectF(-0.6, -0.58, 1.2, 1.16)};
    if (id == u"banner")
        return {polygon({{-1, 0.3}, {1, 0.3}, {0.86, 0}, {1, -0.3}, {-1, -0.3}, {-0.86, 0}}),
                QRectF(-0.7, -0.22, 1.4, 0.44)};
    if (id == u"thought")
        return {cloud(), QRectF(-0.68, -0.16, 1.36, 0.68)};
    if (id == u"arch")
        return {arch(), QRectF(-0.78, -1.1, 1.56, 1.5)};
    if (id == u"hexagon")
        return {hexagon(), QRectF(-0.56, -0.56, 1.12, 1.12)};
    if (id == u"scallop")
        return {scallop(), QRectF(-0.62, -0.6, 1.24, 1.2)};
    return {};
}

Geometry sizedPath(const QString& id, double width, double height)
{
    const double w = width;
    const double h = height;
    if (id == u"rect") {
        QPainterPath path;
        path.addRect(QRectF(-w / 2, -h / 2, w, h));
        return {path, QRectF(-0.42 * w, -0.38 * h, 0.84 * w, 0.76 * h)};
    }
    if (id == u"rounded") {
        const double radius = 0.22 * std::min(w, h);
        QPainterPath path;
        path.addRoundedRect(QRectF(-w / 2, -h / 2, w, h), radius, radius);
        return {path, QRectF(-0.4 * w, -0.36 * h, 0.8 * w, 0.72 * h)};
    }
    if (id == u"speech")
        return speech(w, h);

    const Geometry unit = designedPath(id);
    if (!unit.path)
        return {};
    const QRectF box = unit.path->boundingRect();
    if (!(box.width() > 0) || !(box.height() > 0) || !std::isfinite(w) || !std::isfinite(h))
        return {};
    const QTransform fit = QTransform::fromTranslate(-box.center().x(), -box.center().y())
                           * QTransform::fromScale(w / box.width(), h / box.height());
    return {fit.map(*unit.path), fit.mapRect(unit.textRect)};
}

Geometry withWindingRule(Geometry geometry)
{
    if (geometry.path)
        geometry.path->setFillRule(Qt::WindingFill);
    return geometry;
}

} // namespace

const std::array<Kind, 12>& kinds()
{
    static const std::array<Kind, 12> catalogue{{
        {QStringLiteral("rect"), QStringLiteral("Rectangle"), QStringLiteral("Basics"), 0.6, 0.3, QStringLiteral("Your Text")},
        {QStringLiteral("rounded"), QStringLiteral("Rounded"), QStringLiteral("Basics"), 0.6, 0.3, QStringLiteral("Your Text")},
        {QStringLiteral("ellipse"), QStringLiteral("Circle / Oval"), QStringLiteral("Basics"), 0.5, 0.34, QStringLiteral("Your Text")},
        {QStringLiteral("heart"), QStringLiteral("Heart"), QStringLiteral("Stickers"), 0.42, 0.38, QStringLiteral("LOVE")},
        {QStringLiteral("star"), QStringLiteral("Star"), QStringLiteral("Stickers"), 0.46, 0.44, QStringLiteral("WOW")},
        {QStringLiteral("badge"), QStringLiteral("Badge / Seal"), QStringLiteral("Stickers"), 0.42, 0.42, QStringLiteral("NEW")},
        {QStringLiteral("banner"), QStringLiteral("Banner"), QStringLiteral("Stickers"), 0.72, 0.2, QStringLiteral("SALE")},
        {QStringLiteral("speech"), QStringLiteral("Speech"), QStringLiteral("Bubbles"), 0.56, 0.38, QStringLiteral("Hello!")},
        {QStringLiteral("thought"), QStringLiteral("Thought"), QStringLiteral("Bubbles"), 0.56, 0.42, QStringLiteral("Hmm\u2026")},
        {QStringLiteral("arch"), QStringLiteral("Arch"), QStringLiteral("Frames"), 0.36, 0.48, QStringLiteral("Your Text")},
        {QStringLiteral("hexagon"), QStringLiteral("Hexagon"), QStringLiteral("Frames"), 0.46, 0.4, QStringLiteral("Your Text")},
        {QStringLiteral("scallop"), QStringLiteral("Scalloped"), QStringLiteral("Frames"), 0.44, 0.44, QStringLiteral("Your Text")},
    }};
    return catalogue;
}

std::optional<Kind> kind(const QString& id)
{
    const auto& all = kinds();
    const auto found = std::find_if(all.begin(), all.end(), [&](const Kind& k) { return k.id == id; });
    if (found == all.end())
        return std::nullopt;
    return *found;
}

Geometry path(const QString& id, double width, double height)
{
    return withWindingRule(sizedPath(id, width, height));
}

Geometry unitPath(const QString& id)
{
    return withWindingRule(designedPath(id));
}

} // namespace zephrin::ShapeKit
