#pragma once
// The font catalogue "fonts.json":
//
//     {"categories": ["Sans Serif", ...],
//      "items": [{"id": "inter", "name": "Inter", "category": "Sans Serif",
//                 "files": {"regular": "inter/Inter-Regular.otf", ...}}, ...]}
//
// Every key shown is required with that type; other keys are ignored. A
// missing or mistyped key of the document rejects it whole. An item with a
// missing or mistyped key, whose id is not a safe name or one of whose file
// paths is not a safe relative path (see SafePath.h) is left out and the rest
// kept.

#include "content/fonts/FontItem.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>

namespace zephrin {

struct FontManifest {
    QStringList categories;
    QList<FontItem> items;
};

std::optional<FontManifest> decodeFontManifest(const QByteArray& json);

} // namespace zephrin
