#pragma once
// What zephrin-share needs to know about a candidate image before copying it:
// whether a file's name says it is an image, and, for data without a usable
// name, which extension its first bytes call for. Neither decodes anything.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zephrin {

// The extensions of the image types the editor opens (lower case): PNG, JPEG,
// HEIC, AVIF, WebP, TIFF, BMP, GIF. Nothing else is handed over, so the editor
// never receives a file it would refuse (an SVG, an icon, a PDF).
const QStringList& handedOverExtensions();

// True when the file name's extension (any letter case) is one of those.
bool isImageFileName(const QString& fileName);

// The extension for data that starts with `head` (its first bytes: those of
// a HEIF file's first box, its brands, and 16 for every other type): "png", "jpg", "gif", "webp", "tiff", "bmp", "heic" or "avif". Empty
// when the bytes belong to none of the image types the editor opens.
QString imageExtensionFromMagic(const QByteArray& head);

} // namespace zephrin
