#include "content/fonts/FontManifest.h"

#include "content/files/JsonFields.h"
#include "content/files/SafePath.h"

#include <QJsonArray>

#include <algorithm>

namespace zephrin {

namespace {

std::optional<QMap<QString, QString>> decodeFiles(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    QMap<QString, QString> files;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isString())
            return std::nullopt;
        files.insert(it.key(), it.value().toString());
    }
    return files;
}

std::optional<FontItem> decodeItem(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto id = json::string(object, QLatin1String("id"));
    const auto name = json::string(object, QLatin1String("name"));
    const auto category = json::string(object, QLatin1String("category"));
    const auto files = decodeFiles(object.value(QLatin1String("files")));
    if (!id || !name || !category || !files)
        return std::nullopt;
    return FontItem{*id, *name, *category, *files};
}

bool isSafe(const FontItem& item)
{
    return isSafeName(item.id)
        && std::all_of(item.files.cbegin(), item.files.cend(), [](const QString& path) {
               return isSafeRelativePath(path);
           });
}

} // namespace

std::optional<FontManifest> decodeFontManifest(const QByteArray& data)
{
    const std::optional<QJsonDocument> document = json::parse(data);
    if (!document || !document->isObject())
        return std::nullopt;
    const QJsonObject root = document->object();
    const auto categories = json::stringArray(root, QLatin1String("categories"));
    const QJsonValue items = root.value(QLatin1String("items"));
    if (!categories || !items.isArray())
        return std::nullopt;

    FontManifest manifest{*categories, {}};
    for (const QJsonValue element : items.toArray()) {
        std::optional<FontItem> item = decodeItem(element);
        if (item && isSafe(*item))
            manifest.items.append(std::move(*item));
    }
    return manifest;
}

} // namespace zephrin
