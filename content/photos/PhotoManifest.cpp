#include "content/photos/PhotoManifest.h"

#include "content/files/JsonFields.h"
#include "content/files/SafePath.h"

#include <QJsonArray>

namespace zephrin {

namespace {

std::optional<PhotoBackdrop> decodeItem(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto id = json::string(object, QLatin1String("id"));
    const auto category = json::string(object, QLatin1String("category"));
    const auto location = json::string(object, QLatin1String("location"));
    if (!id || !category || !location)
        return std::nullopt;
    return PhotoBackdrop{*id, *category, *location};
}

} // namespace

std::optional<PhotoManifest> decodePhotoManifest(const QByteArray& data)
{
    const std::optional<QJsonDocument> document = json::parse(data);
    if (!document || !document->isObject())
        return std::nullopt;
    const QJsonObject root = document->object();

    PhotoManifest manifest;
    const auto version = json::integer(root, QLatin1String("version"));
    const QJsonValue items = root.value(QLatin1String("items"));
    if (!version || !items.isArray())
        return std::nullopt;
    manifest.version = *version;
    if (!json::isAbsent(root, QLatin1String("categories"))) {
        manifest.categories = json::stringArray(root, QLatin1String("categories"));
        if (!manifest.categories)
            return std::nullopt;
    }
    for (const QJsonValue element : items.toArray()) {
        std::optional<PhotoBackdrop> item = decodeItem(element);
        if (item && isSafeName(item->id))
            manifest.items.append(std::move(*item));
    }
    return manifest;
}

} // namespace zephrin
