#pragma once
// The byte rules of a picture file's first bytes, as its reader judges them
// before it decodes anything: the sizes and the first chunk or segment. Both
// the editor's reader (engine/codec/ImageHead) and zephrin-share follow them,
// so that a file one takes the other takes too. QtCore only.

#include <QByteArrayView>

namespace zephrin {

enum class PictureHeadKind { png, jpeg, gif, webp, tiff, bmp };

// Whether `head`, the first bytes of a file whose signature is `kind`'s,
// keeps that format's rules as far as it goes: a file that starts with bytes
// that break them is refused by its reader whatever follows. What lies past
// `head` is taken on trust. Never throws.
bool pictureHeadHolds(PictureHeadKind kind, QByteArrayView head);

} // namespace zephrin
