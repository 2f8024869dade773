#pragma once
// PNG files through libpng with message handlers of our own: Qt's reader
// leaves libpng's errors to libpng, which prints them on standard error. The
// picture is the one Qt's reader gives (the same formats, transformations,
// colour space and row-by-row downscaling of 8-bit RGB(A) rows that are not
// interlaced), turned upright by the orientation of an eXIf chunk, which Qt's
// reader does not read. A 16-bit picture to be scaled down is read as 8-bit
// RGB(A) rows, scaled as they are read unless interlaced: decoded whole at
// eight bytes a pixel, it was scaled through a copy as large (and wrongly,
// Qt's scaling multiplying its alpha in twice).
//
// Refused as unreadable before anything is decoded: a file libpng cannot
// take the header of, and one whose IDAT data cannot hold its rows (see
// ImageDataCheck.h); refused when libpng reports an error while it decodes.

#include "engine/codec/ImageRead.h"

#include <QByteArrayView>

#include <optional>

namespace zephrin {

// Why readPng would refuse these bytes without decoding them; none when it
// would decode them.
std::optional<ReadFailure> pngRefusal(QByteArrayView bytes, const ReadLimits& limits);

// The picture of a PNG file, as readImage gives it. Never throws.
ImageRead readPng(QByteArrayView bytes, const ReadLimits& limits);

} // namespace zephrin
