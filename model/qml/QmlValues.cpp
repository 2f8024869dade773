#include "model/qml/QmlValues.h"

#include <cmath>

namespace zephrin::qml {

QColor color(const RGBAColor& value)
{
    return QColor::fromRgbF(float(value.r), float(value.g), float(value.b), float(value.a));
}

std::optional<RGBAColor> rgbaColor(const QVariant& value)
{
    QColor c;
    if (value.typeId() == QMetaType::QColor)
        c = value.value<QColor>();
    else if (value.typeId() == QMetaType::QString)
        c = QColor::fromString(value.toString());
    if (!c.isValid())
        return std::nullopt;
    return RGBAColor{c.redF(), c.greenF(), c.blueF(), c.alphaF()};
}

bool sameInQml(const RGBAColor& a, const RGBAColor& b)
{
    return color(a) == color(b);
}

std::optional<double> number(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    default:
        return std::nullopt;
    }
}

std::optional<bool> boolean(const QVariant& value)
{
    if (value.typeId() != QMetaType::Bool)
        return std::nullopt;
    return value.toBool();
}

QVariantList pointList(const std::vector<QPointF>& points)
{
    QVariantList list;
    list.reserve(qsizetype(points.size()));
    for (const QPointF& p : points)
        list.append(p);
    return list;
}

std::optional<QPointF> point(const QVariant& value)
{
    if (value.typeId() == QMetaType::QPointF || value.typeId() == QMetaType::QPoint)
        return value.toPointF();
    return std::nullopt;
}

std::optional<std::vector<QPointF>> points(const QVariant& value)
{
    if (!value.canConvert<QVariantList>() || value.typeId() == QMetaType::QString)
        return std::nullopt;
    std::vector<QPointF> result;
    for (const QVariant& element : value.toList()) {
        const auto p = point(element);
        if (!p)
            return std::nullopt;
        result.push_back(*p);
    }
    return result;
}

std::optional<QRectF> rect(const QVariant& value)
{
    if (value.typeId() == QMetaType::QRectF || value.typeId() == QMetaType::QRect)
        return value.toRectF();
    return std::nullopt;
}

bool isNone(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

} // namespace zephrin::qml
