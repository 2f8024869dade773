#pragma once
// Whether the first bytes of data of a known image type (ImageKind.h) hold a
// header the editor's reader takes: the sizes and the first chunk or segment
// as that reader would judge them, so that a text that starts with "BM", or a
// PNG signature followed by garbage, is not handed over for the editor to
// refuse later. Nothing is decoded. What lies past the bytes given is taken
// on trust: the editor checks the whole file. The rules are the editor's
// own (picturehead/PictureHeadRules.h).

#include <QByteArrayView>
#include <QString>

namespace zephrin {

// `kind` is an extension imageExtensionFromMagic gives for `head`.
bool holdsReadableHeader(const QString& kind, QByteArrayView head);

} // namespace zephrin
