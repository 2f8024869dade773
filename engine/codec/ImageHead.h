#pragma once
// The verdict on an image file from its first bytes alone, before the rest is
// read: a huge file of text, or one whose header is followed by nothing a
// reader takes, is refused without reading (and holding) gigabytes. Only what
// readImage would refuse whatever followed is refused here: a format it does
// not read; a PNG, JPEG, GIF, WebP or TIFF head that breaks its format's byte
// rules (picturehead/PictureHeadRules.h, which zephrin-share follows too); a
// BMP header that Qt's reader refuses. Anything the first bytes leave open
// is left to readImage and headerRefusal, which see the whole file.

#include <QByteArrayView>

namespace zephrin {

// The first bytes of a file that imageHeadRefused judges.
inline constexpr qsizetype kImageHeadBytes = 64 * 1024;

// Whether readImage refuses any file that starts with `head` (its first
// kImageHeadBytes, or all of a shorter file) as unreadable. Never throws.
bool imageHeadRefused(QByteArrayView head);

} // namespace zephrin
