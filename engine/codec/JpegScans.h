#pragma once
// A walk over a JPEG file's segments: whether the file ends before its image
// does, and how much entropy-coded data its scans hold. libjpeg decodes a
// cut-off file without an error, filling the missing rows with grey, and reads
// zeros past the end of arithmetic-coded data; readers that must not pass such
// a picture on check the file first.

#include <QByteArrayView>

#include <optional>

namespace zephrin {

// The bytes of entropy-coded data in the scans of the first image of `bytes`:
// from the end of each start-of-scan header to the marker that ends its data
// (stuffed bytes and restart markers inside it count). In an arithmetic-coded
// image zero bytes do not count: its decoder takes zeros wherever data is
// missing, so zeros code next to nothing, and runs of them passed for data
// the decoder mostly never read. What lies around the
// scans (tables, comments, APPn blocks, anything after the end-of-image marker:
// appended previews, motion-photo video) codes no pixel and does not count.
// None when the bytes do not start like a JPEG (SOI), or when the end-of-image
// marker of that first image is never reached: a segment runs past the end, or
// the entropy-coded data does.
// Cost: one pass over the bytes, skipping segment payloads by their lengths.
std::optional<qint64> jpegScanBytes(QByteArrayView bytes);

} // namespace zephrin
