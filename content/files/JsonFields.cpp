#include "content/files/JsonFields.h"

#include <QJsonArray>

#include <cmath>

namespace zephrin::json {

std::optional<QJsonDocument> parse(const QByteArray& data)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return document;
}

std::optional<QString> string(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<bool> boolean(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isBool())
        return std::nullopt;
    return value.toBool();
}

std::optional<double> number(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble())
        return std::nullopt;
    return value.toDouble();
}

std::optional<qint64> integer(const QJsonObject& object, QLatin1String key)
{
    const std::optional<double> value = number(object, key);
    // ±2^63 themselves are out of range; every double below is an exact integer or fractional.
    if (!value || std::trunc(*value) != *value || !(std::abs(*value) < 0x1.0p63))
        return std::nullopt;
    return static_cast<qint64>(*value);
}

std::optional<QStringList> stringArray(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isArray())
        return std::nullopt;
    QStringList strings;
    for (const QJsonValue element : value.toArray()) {
        if (!element.isString())
            return std::nullopt;
        strings.append(element.toString());
    }
    return strings;
}

bool isAbsent(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    return value.isUndefined() || value.isNull();
}

} // namespace zephrin::json
