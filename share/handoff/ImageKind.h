#pragma once
// What zephrin-share needs to know about a candidate image before copying it:
// whether a file's name says it is an image, and, for data without a usable
// name, which extension its first bytes call for. Neither decodes anything.

#include <QByteArray>
#include <QString>

namespace zephrin {

// True when the file name's extension is that of an image type (any letter
// case): the shared MIME database's answer for the name alone.
bool isImageFileName(const QString& fileName);

// The extension for data that starts with `head` (its first bytes; 16 are
// enough): "png", "jpg", "gif", "webp", "tiff", "bmp" or "heic". Empty when the
// bytes belong to none of the image types the editor opens.
QString imageExtensionFromMagic(const QByteArray& head);

} // namespace zephrin
