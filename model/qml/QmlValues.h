#pragma once
// How the editor's values look to QML: enumerations as their labels, colours as
// `color`, points and rectangles as Qt's value types, an absent optional as an
// invalid QVariant (undefined in QML). Each conversion has its way back, which
// refuses what does not fit instead of guessing.

#include "engine/types/RGBAColor.h"
#include "engine/types/RawEnum.h"

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <optional>
#include <vector>

namespace zephrin::qml {

QColor color(const RGBAColor& value);
// A QColor, or a colour name or "#rrggbb[aa]" text; none for anything else.
std::optional<RGBAColor> rgbaColor(const QVariant& value);
// Two colours that QML shows alike (QColor keeps 16 bits a channel): a colour
// written back from QML compares equal to the one it was read from.
bool sameInQml(const RGBAColor& a, const RGBAColor& b);

// The case whose label is the text; none for another text.
template <RawEnum E>
std::optional<E> enumValue(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return fromRaw<E>(value.toString());
}

template <RawEnum E>
QStringList labels()
{
    QStringList result;
    for (E value : allCases<E>())
        result.append(rawValue(value));
    return result;
}

// A number of any numeric type; none for text, booleans and the rest.
std::optional<double> number(const QVariant& value);
std::optional<bool> boolean(const QVariant& value);

QVariantList pointList(const std::vector<QPointF>& points);
// A list whose every element is a point; none otherwise.
std::optional<std::vector<QPointF>> points(const QVariant& value);
std::optional<QPointF> point(const QVariant& value);
std::optional<QRectF> rect(const QVariant& value);

// Whether the value stands for "none": invalid (undefined) or null.
bool isNone(const QVariant& value);

template <typename T>
QVariant optional(const std::optional<T>& value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

} // namespace zephrin::qml
