#pragma once
// GIF files through a decoder of our own: the first frame over the logical
// screen, as Qt's reader shows it (the same screen size, transparency,
// background and interlacing), but allocated by the read's own limits rather
// than Qt's process-wide one, which holds any GIF above 128 MB (a 6000 × 6000
// picture) to be too large.
//
// Refused as unreadable before anything is allocated: a file that ends before
// its first frame's data does, one whose LZW data (at most 4096 pixels a
// 12-bit code) could not fill the picture it claims, one whose screen the
// frame covers too little of (framesCoverCanvas in ReadSteps.h), and one
// whose codes leave part of the frame unfilled where it shows (counted, not
// decoded: a pass over the codes, without a pixel written). A frame is
// followed only to the end of its last row that shows on the screen, and the
// pixels of it that do not show are stepped over, not drawn: the work is bound
// by the data and the screen, not by the frame's size. A screen larger than
// the limits allow is scaled down as it is put together, from the frame's
// colour indices (a byte a pixel): the screen is never held whole.

#include "engine/codec/ImageRead.h"

#include <QByteArrayView>

#include <optional>

namespace zephrin {

// Why readGif would refuse these bytes without decoding them; none when it
// would decode them.
std::optional<ReadFailure> gifRefusal(QByteArrayView bytes, const ReadLimits& limits);

// The picture of a GIF file, as readImage gives it. Never throws.
ImageRead readGif(QByteArrayView bytes, const ReadLimits& limits);

} // namespace zephrin
