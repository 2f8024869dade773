#pragma once
// Whether an embedded ICC profile is made for the pixels it comes with. A
// profile names the colour space of the data it converts (GRAY, RGB, CMYK, ...);
// applied to other pixels it turns them into other colours (a grey profile
// read an RGB picture's red disc as washed-out pink). libpng drops such a
// profile with a warning; every other reader drops it here, and the picture
// keeps its colours as stored.

#include <QByteArrayView>
#include <QColorSpace>
#include <QImage>

namespace zephrin {

// How a file stores its pixels, as a profile must describe them: a YCbCr
// JPEG, HEIC or WebP stores RGB by this measure (the profile converts what
// comes out of YCbCr). No profile read here fits `other` (CIE L*a*b*, ...).
enum class StoredColours { grey, rgb, cmyk, other };

// The colour space of `icc` for pixels stored as `colours`; an invalid one when
// the profile's header names another colour space, or Qt cannot read it.
QColorSpace profileFor(QByteArrayView icc, StoredColours colours);

// `picture` with its colour space dropped when that space came from a profile
// for other pixels than `colours` (as Qt's readers set it, unchecked).
void dropMismatchedProfile(QImage& picture, StoredColours colours);

// The colour space of `icc` for `picture` (four bytes a pixel), which a
// library decoded to RGB without saying from what: an RGB profile fits it, a
// grey one only when every pixel is grey (R = G = B), as a grey picture decodes.
// Cost for a grey profile: one pass over the pixels, up to the first that is
// not grey.
QColorSpace profileForDecodedRgb(QByteArrayView icc, const QImage& picture);

} // namespace zephrin
