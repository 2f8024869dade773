#pragma once
// HEIC files through libheif: one HEVC-coded image (x265), the alpha channel as
// its auxiliary image, colour tagged sRGB (nclx: BT.709 primaries, sRGB transfer,
// full range).

#include "engine/codec/ImageDestination.h"

namespace zephrin {

// `rendered`: CV_8UC4 premultiplied RGBA, sRGB. It is un-premultiplied for the
// encoder, which takes straight colour. Nothing when libheif fails.
// Cost: one straight RGB(A) copy plus x265's own buffers; the encode dominates
// (about 0.5 s for a 2400 × 1800 cutout).
std::optional<QByteArray> writeHeic(const Image& rendered, const ImageFileOptions& options);

} // namespace zephrin
