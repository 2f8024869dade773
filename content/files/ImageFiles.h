#pragma once
// Decoding downloaded and stored pictures (PNG, JPEG, and whatever else Qt's
// image plugins read) into premultiplied RGBA. The first image of the data,
// without orientation or scaling; Qt's allocation limit refuses pictures whose
// pixels would not fit in memory.

#include "engine/pixel/Image.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zephrin {

std::optional<Image> decodeImage(const QByteArray& data);

// None when the file is missing, unreadable or not a picture.
std::optional<Image> readImageFile(const QString& path);

} // namespace zephrin
