#pragma once
// The photo-backdrop catalogue "manifest.json":
//
//     {"version": 1, "categories": ["Nature", ...],
//      "items": [{"id": "lake-01", "category": "Nature", "location": "..."}, ...]}
//
// "version" (an integer, read by nobody) and "items" are required;
// "categories" may be absent or null. Other keys are ignored. A missing or
// mistyped key of the document rejects it whole. An item with a missing or
// mistyped key, or whose id is not a safe name (see SafePath.h), is left out
// and the rest kept.

#include "content/photos/PhotoBackdrop.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>

namespace zephrin {

struct PhotoManifest {
    qint64 version = 0;
    std::optional<QStringList> categories;
    QList<PhotoBackdrop> items;
};

std::optional<PhotoManifest> decodePhotoManifest(const QByteArray& json);

} // namespace zephrin
