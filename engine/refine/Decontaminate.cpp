#include "engine/refine/Decontaminate.h"

#include <opencv2/imgproc.hpp>

#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/ColorMatrix.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/MultiplyCompositing.h"
#include "engine/pixel/ParallelRows.h"
#include "engine/pixel/PixelBuffer.h"
#include "engine/pixel/RenderContext.h"

#include <vector>

namespace zephrin {

namespace {

constexpr double kSpreadSigma = 4.0;
// The colour work is done tile by tile, only where the band is: a ring a few
// pixels wide touches a small share of a large image. 12 MP with a subject
// filling most of it: 268 ms over the whole image, 45 ms in tiles. Blurring
// the tiles in one mosaic instead of a filter call each (every call makes its
// exact kernel anew, about 0.3 ms) and looking the opaque colour up: the whole
// refinement 3156 → 1105 million instructions, 124 → 54 ms (load about 10).
constexpr int kTile = 128;

// Where the matte is not black, tile by tile: in each tile of the matte's
// extent, the smallest rectangle holding its non-zero pixels (none for an all
// black tile), row by row of tiles, each row searched on a thread of its own.
// A band crossing a tile lengthwise needs only its own few rows blurred.
std::vector<cv::Rect> tilesWhereNonZero(const Matte& matte)
{
    const cv::Rect extent = matte.extent();
    std::vector<std::vector<cv::Rect>> rows(size_t((extent.height + kTile - 1) / kTile));
    cv::parallel_for_(cv::Range(0, int(rows.size())), [&](const cv::Range& range) {
        for (int row = range.start; row < range.end; ++row)
            for (int x = extent.x; x < extent.x + extent.width; x += kTile) {
                const cv::Rect tile = cv::Rect(x, extent.y + row * kTile, kTile, kTile) & extent;
                const cv::Rect used = cv::boundingRect(cropped(matte, tile).pixels);
                if (!used.empty())
                    rows[size_t(row)].push_back(used + tile.tl());
            }
    });
    std::vector<cv::Rect> tiles;
    for (const auto& row : rows)
        tiles.insert(tiles.end(), row.begin(), row.end());
    return tiles;
}

// Each pixel's straight colour made opaque: what colorMatrix with an alpha row
// of 0 and an alpha bias of 1 makes of it, looked up in a table of every
// (channel, alpha) pair made by that very filter (once). The filter works in
// floating point; the table costs a tile a lookup per channel.
Image madeOpaque(const Image& image)
{
    static const std::vector<uchar> table = [] {
        cv::Mat pairs(256, 256, CV_8UC4);
        for (int alpha = 0; alpha < 256; ++alpha)
            for (int channel = 0; channel < 256; ++channel)
                pairs.at<cv::Vec4b>(alpha, channel) = cv::Vec4b(uchar(channel), uchar(channel), uchar(channel), uchar(alpha));
        ColorMatrix opaque;
        opaque.a = {0, 0, 0, 0};
        opaque.bias = {0, 0, 0, 1};
        const Image made = colorMatrix(Image(pairs), opaque);
        std::vector<uchar> values(256 * 256);
        for (int i = 0; i < 256 * 256; ++i)
            values[size_t(i)] = made.pixels.at<cv::Vec4b>(i / 256, i % 256)[0];
        return values;
    }();
    Image out(cv::Mat(image.size(), CV_8UC4), image.origin);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* in = image.pixels.ptr(y);
        uchar* to = out.pixels.ptr(y);
        for (int x = 0; x < image.width(); ++x, in += 4, to += 4) {
            const uchar* row = table.data() + size_t(in[3]) * 256;
            to[0] = row[in[0]];
            to[1] = row[in[1]];
            to[2] = row[in[2]];
            to[3] = 255;
        }
    }
    return out;
}

// The band's weight and the eroded core T of the matte thresholded at one
// half, from one maximum and one minimum of the matte itself: the disk's
// maximum (minimum) of T is white where the matte's reaches the threshold
// (thresholding is monotone), and T is white where the matte is 128 or more.
// The band dilate(T) × (1 − erode(T)) is then white or black, and its weight
// what the strength's colour matrix makes of white there. Three passes where
// the filters one by one take six.
struct Rim {
    Matte weight;
    Matte eroded;
};

Rim rimOf(const Matte& refined, double strength)
{
    constexpr uchar kHalf = 128;
    const Matte dilated = morphologyMaximum(refined, 2.5, EdgeMode::clamp);
    const Matte eroded = morphologyMinimum(refined, 2.5, EdgeMode::clamp);
    ColorMatrix scale;
    scale.r = {strength, 0, 0, 0};
    const uchar full = colorMatrix(Matte::filled({1, 1}, 255), scale).pixels.at<uchar>(0, 0);
    Rim rim{Matte(newPixelBuffer(refined.size(), CV_8UC1), refined.origin),
            Matte(newPixelBuffer(refined.size(), CV_8UC1), refined.origin)};
    parallelRows(refined.height(), refined.width(), [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* high = dilated.pixels.ptr(y);
            const uchar* low = eroded.pixels.ptr(y);
            uchar* weight = rim.weight.pixels.ptr(y);
            uchar* core = rim.eroded.pixels.ptr(y);
            for (int x = 0; x < refined.width(); ++x) {
                const bool inside = low[x] >= kHalf;
                weight[x] = high[x] >= kHalf && !inside ? full : 0;
                core[x] = inside ? 255 : 0;
            }
        }
    });
    return rim;
}

} // namespace

std::vector<Image> decontaminatedTiles(const Image& colour, const Image& source, const Matte& refined,
                                       double strength)
{
    const Rim rim = rimOf(refined, strength);
    const Matte& eroded = rim.eroded;
    // Only where there is colour to change.
    const Matte weight = cropped(rim.weight, colour.extent());

    const std::vector<cv::Rect> tiles = tilesWhereNonZero(weight);
    // The interior colour spread over the tiles: G of the whole image there
    // (a matte of another extent than the source's reads black beyond it).
    const Matte interior = eroded.extent() == source.extent() ? eroded
                                                              : Matte(renderGrey8(eroded, source.extent()), source.origin);
    const std::vector<Image> spreads = gaussianBlurTiles(source, interior, tiles, kSpreadSigma);
    std::vector<Image> result(tiles.size());
    cv::parallel_for_(cv::Range(0, int(tiles.size())), [&](const cv::Range& range) {
        for (int i = range.start; i < range.end; ++i) {
            const cv::Rect tile = tiles[size_t(i)];
            const Image& spread = spreads[size_t(i)];
            const Image fill = madeOpaque(spread);
            const Matte mask = multiplyCompositing(cropped(weight, tile), alphaMatte(spread));
            result[size_t(i)] = blendWithMask(fill, cropped(colour, tile), mask);
        }
    });
    return result;
}

} // namespace zephrin
