#pragma once
// Writes one rendered image into the bytes of an image file: PNG through libpng,
// JPEG through QImageWriter, HEIC (HEVC) through libheif. Every file is tagged
// sRGB.

#include "engine/pixel/Image.h"

#include <QByteArray>

#include <optional>

namespace zephrin {

enum class ImageFileType { png, jpeg, heic };

struct ImageFileOptions {
    double lossyQuality = 1;  // 0 to 1, for jpeg and heic; png is lossless and ignores it
    bool keepAlpha = true;    // false: the alpha channel is dropped (the caller has flattened
                              // the image); jpeg never has one

    friend bool operator==(const ImageFileOptions&, const ImageFileOptions&) = default;
};

// `rendered`: CV_8UC4 premultiplied RGBA, sRGB, rows top first; its origin is
// ignored. Nothing when the encoder fails (an empty image, a side beyond the
// format's limit, an encoder error).
std::optional<QByteArray> writeImageFile(const Image& rendered, ImageFileType type, const ImageFileOptions& options);

// A 0-to-1 quality as the encoders' whole-number percent, rounded and clamped
// (NaN gives 0).
int qualityPercent(double lossyQuality);

} // namespace zephrin
