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
    int whiteFrom = -1; // rows from this one down are white, when 0 or more
    bool scanPerCoefficient = false; // progressive: the DC scan, then one scan for each AC coefficient
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
    std::vector<jpeg_scan_info> scans;
    if (spec.scanPerCoefficient) {
        jpeg_scan_info dc{};
        dc.comps_in_scan = spec.components;
        for (int c = 0; c < spec.components; ++c)
            dc.component_index[c] = c;
        scans.push_back(dc);
        for (int c = 0; c < spec.components; ++c)
            for (int k = 1; k < 64; ++k) {
                jpeg_scan_info ac{};
                ac.comps_in_scan = 1;
                ac.component_index[0] = c;
                ac.Ss = ac.Se = k;
                scans.push_back(ac);
            }
        info.scan_info = scans.data();
        info.num_scans = int(scans.size());
    }
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
                const bool white = spec.whiteFrom >= 0 && y >= spec.whiteFrom;
                row[size_t(x * spec.components + c)] =
                    white ? 255 : (unsigned char)((gradient + int(noise() % 48)) % 256);
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

// Where the entropy-coded data of the first scan of `jpeg` starts.
inline qsizetype firstScanData(const QByteArray& jpeg)
{
    const qsizetype header = jpeg.indexOf("\xFF\xDA");
    return header + 2 + (qsizetype(quint8(jpeg[header + 2])) << 8 | quint8(jpeg[header + 3]));
}

// `jpeg` (as writeJpeg makes it, one scan) with its scan's data cut to
// `kept` of its bytes, its end marker kept: a file damaged in its middle.
inline QByteArray withScanCut(const QByteArray& jpeg, double kept)
{
    const qsizetype start = firstScanData(jpeg);
    return jpeg.left(start + qsizetype(double(jpeg.size() - 2 - start) * kept)) + QByteArray("\xFF\xD9", 2);
}

// `jpeg` (as writeJpeg makes it, one scan) with `count` bytes taken out of
// the middle of its scan's data.
inline QByteArray withScanBytesRemoved(const QByteArray& jpeg, qsizetype count)
{
    const qsizetype start = firstScanData(jpeg);
    return QByteArray(jpeg).remove(start + (jpeg.size() - 2 - start) / 2, count);
}

// A progressive `jpeg` whose last scan (a refinement, as
// jpeg_simple_progression writes it) comes `times` times more, each a pass
// over every block that refines nothing new.
inline QByteArray withLastScanRepeated(const QByteArray& jpeg, int times)
{
    const qsizetype last = jpeg.lastIndexOf("\xFF\xDA"); // entropy-coded data never holds a marker
    const QByteArray scan = jpeg.mid(last, jpeg.size() - 2 - last);
    return jpeg.left(jpeg.size() - 2) + scan.repeated(times) + QByteArray("\xFF\xD9", 2);
}

} // namespace zephrin::testing
