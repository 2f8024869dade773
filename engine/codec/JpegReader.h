#pragma once
// JPEG files through libjpeg, decoded straight into the Image's buffer with no
// intermediate QImage. Decoding follows Qt's JPEG reader step for step (accurate
// integer DCT, smooth chroma upsampling, the smallest M/8 scale that still
// covers the wanted size and then Qt's smooth scaling, CMYK as Adobe stores it,
// the ICC profile and the Exif orientation), so the pixels are the ones Qt's
// reader gives. Where Qt's reader is at fault, this one differs: Qt's reader
// loses the colour space of a picture it turns by 90°, so its colours stayed
// unconverted, while here every picture with a profile is converted, turned or
// not; a profile for other pixels than the file's (a grey one on a colour
// picture) is ignored here (ColourProfile.h); and the Exif block is the APP1
// segment that starts as one, wherever it stands, where Qt's reader looks
// only at the first APP1 (often an XMP block).
//
// Refused as unreadable: a file cut off before its end marker, a Huffman-coded
// file whose scans hold less than one bit per 8 × 8 block of its picture (an
// arithmetic-coded one than a bit per 64 blocks, zero bytes not counted; what
// lies around the scans does not count), a scan whose data ends before its
// last block (in an arithmetic-coded file of one scan: before its last rows,
// unless the rows after are one flat colour, which the coder codes with no
// bytes), a bad arithmetic code, arithmetic-coded data its decoder leaves
// unread, a scan refining what is refined already, more than 100 scans or,
// past some 33 million block visits, more than 16 passes over the picture's
// blocks. Where Qt's scale would pass the limits' maxDecodeBytes (output
// plus a progressive file's coefficient buffer), a smaller eighth is taken and
// its picture kept at that size; refused as tooLarge when even 1/8 passes it.

#include "engine/codec/ImageRead.h"

#include <QByteArrayView>

#include <optional>

namespace zephrin {

// Starts with the start-of-image marker.
bool isJpeg(QByteArrayView bytes);

// Why readJpeg would refuse these bytes without decoding them (from the
// header, the data's floor and the limits); none when it would decode them.
std::optional<ReadFailure> jpegRefusal(QByteArrayView bytes, const ReadLimits& limits);

// The picture of a JPEG file, as readImage gives it. Never throws.
ImageRead readJpeg(QByteArrayView bytes, const ReadLimits& limits);

} // namespace zephrin
