#pragma once
// JPEG files of every kind a camera or an editor writes, made with libjpeg:
// subsampled or not, grey, CMYK, progressive, with restart markers, an ICC
// profile or an Exif block. The picture is a seeded, noisy gradient, so that
// every decoding step (IDCT, upsampling, colour conversion, scaling) shows in
// the pixels.

#include "support/ExifBlock.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <jpeglib.h>

namespace zephrin::testing {

struct JpegSpec {
    int width = 211;
    int height = 149;
    int components = 3;     // 1 grey, 3 YCbCr, 4 CMYK (Adobe, inverted)
    int lumaH = 2, lumaV = 2; // sampling of the first component: 2 × 2 is 4:2:0
    bool progressive = false;
    bool arithmetic = false;
    int restartRows = 0;
    int quality = 88;
    QByteArray icc{};  // written as APP2 chunks
    QByteArray app1{}; // written as one APP1 segment, verbatim
};

inline QByteArray writeJpeg(const JpegSpec& spec)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(spec.width);
    info.image_height = JDIMENSION(spec.height);
    info.input_components = spec.components;
    info.in_color_space = spec.components == 1 ? JCS_GRAYSCALE : spec.components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, spec.quality, TRUE);
    if (spec.components == 3) {
        info.comp_info[0].h_samp_factor = spec.lumaH;
        info.comp_info[0].v_samp_factor = spec.lumaV;
    }
    if (spec.progressive)
        jpeg_simple_progression(&info);
    info.arith_code = spec.arithmetic ? TRUE : FALSE;
    info.restart_in_rows = spec.restartRows;
    jpeg_start_compress(&info, TRUE);
    if (!spec.app1.isEmpty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(spec.app1.constData()),
                          unsigned(spec.app1.size()));
    if (!spec.icc.isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(spec.icc.constData()), unsigned(spec.icc.size()));

    std::mt19937 noise(20240611);
    std::vector<unsigned char> row(size_t(spec.width) * size_t(spec.components));
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < spec.width; ++x) {
            for (int c = 0; c < spec.components; ++c) {
                const int gradient = (c % 2 == 0 ? x * 255 / spec.width : y * 255 / spec.height) + 40 * c;
                row[size_t(x * spec.components + c)] = (unsigned char)((gradient + int(noise() % 48)) % 256);
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

} // namespace zephrin::testing
