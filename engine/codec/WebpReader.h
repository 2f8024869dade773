#pragma once
// WebP files through libwebp: a still picture decoded straight at the size
// the limits allow (libwebp scales while it decodes), the first frame of an
// animation over its canvas, the ICC profile and the Exif orientation read
// from their chunks. Qt's reader would allocate each frame under its
// process-wide limit instead of the read's own.
//
// Refused as unreadable before anything is decoded: a file that ends before
// its last chunk does, one libwebp cannot parse, an animation with a frame
// whose header gives another size than its bitstream decodes at, and one
// whose canvas all its frames together cover too little of, their areas
// added up (framesCoverCanvas in ReadSteps.h).

#include "engine/codec/ImageRead.h"

#include <QByteArrayView>

#include <optional>

namespace zephrin {

// Why readWebp would refuse these bytes without decoding them; none when it
// would decode them.
std::optional<ReadFailure> webpRefusal(QByteArrayView bytes, const ReadLimits& limits);

// The picture of a WebP file, as readImage gives it. Never throws.
ImageRead readWebp(QByteArrayView bytes, const ReadLimits& limits);

} // namespace zephrin
