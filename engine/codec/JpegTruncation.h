#pragma once
// Whether a JPEG file ends before its image does. libjpeg decodes a cut-off file
// without an error, filling the missing rows with grey; readers that must not
// pass such a picture on check the file first.

#include <QByteArrayView>

namespace zephrin {

// True when `bytes` start like a JPEG (SOI) but the end-of-image marker of that
// first image is never reached: a segment runs past the end, or the entropy-coded
// data does. Data after the end-of-image marker (appended previews, motion-photo
// video) does not matter. False for anything that is not a JPEG.
// Cost: one pass over the bytes, skipping segment payloads by their lengths.
bool isTruncatedJpeg(QByteArrayView bytes);

} // namespace zephrin
