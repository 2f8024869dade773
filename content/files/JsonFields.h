#pragma once
// Strict reading of JSON documents we decode all-or-nothing: a required key
// that is missing or has the wrong type makes the caller reject the whole
// document. Each accessor gives none for a missing or mistyped value.

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace zephrin::json {

// The whole of `data` parsed as JSON; none when it isn't JSON.
std::optional<QJsonDocument> parse(const QByteArray& data);

std::optional<QString> string(const QJsonObject& object, QLatin1String key);
std::optional<bool> boolean(const QJsonObject& object, QLatin1String key);
std::optional<double> number(const QJsonObject& object, QLatin1String key);
// A number without a fractional part, within the range of a 64-bit integer.
std::optional<qint64> integer(const QJsonObject& object, QLatin1String key);
// An array whose every element is a string.
std::optional<QStringList> stringArray(const QJsonObject& object, QLatin1String key);

// Whether the key is absent or null: how an optional field says "none".
bool isAbsent(const QJsonObject& object, QLatin1String key);

} // namespace zephrin::json
