#include "engine/edits/ApplyMaskEdits.h"

#include "engine/edits/ColorKeyMatch.h"
#include "engine/edits/SelectionCoverage.h"
#include "engine/edits/SelectionGeometry.h"
#include "engine/edits/StrokeCoverage.h"
#include "engine/pixel/ExtentLimits.h"
#include "engine/pixel/ParallelRows.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zephrin {

namespace {

// The two layers as the ops see them: `raised` goes towards white, `lowered`
// towards black, by coverage c.
void raiseAndLower(uchar* raised, uchar* lowered, const float* coverage, int pixels)
{
    for (int x = 0; x < pixels; ++x) {
        const float c = coverage[x];
        if (c <= 0)
            continue;
        raised[x] = uchar(raised[x] + c * float(255 - raised[x]) + 0.5f);
        lowered[x] = uchar((1 - c) * float(lowered[x]) + 0.5f);
    }
}

void applyStroke(const MaskStroke& stroke, MaskEditLayers& layers)
{
    const cv::Rect canvas({0, 0}, layers.erase.size());
    cv::Mat& raised = stroke.erase ? layers.erase.pixels : layers.restore.pixels;
    cv::Mat& lowered = stroke.erase ? layers.restore.pixels : layers.erase.pixels;
    const Brush brush{stroke.tip, stroke.size, stroke.hardness};
    renderStrokeCoverage(brush, stroke.points, canvas, [&](cv::Rect band, const cv::Mat& coverage) {
        for (int y = 0; y < band.height; ++y)
            raiseAndLower(raised.ptr(band.y + y) + band.x, lowered.ptr(band.y + y) + band.x,
                          coverage.ptr<float>(y), band.width);
    });
}

void applyShape(const MaskShape& shape, MaskEditLayers& layers)
{
    const auto path = selectionPath(shape.kind, shape.points);
    if (!path)
        return;
    const cv::Rect canvas({0, 0}, layers.erase.size());
    const Matte inside = selectionCoverage(*path, canvas);
    cv::Mat& erase = layers.erase.pixels;
    cv::Mat& restore = layers.restore.pixels;
    parallelRows(canvas.height, canvas.width, [&](int firstRow, int endRow) {
        std::vector<float> coverage(size_t(canvas.width));
        for (int y = firstRow; y < endRow; ++y) {
            const int insideRow = y - inside.origin.y;
            const bool rowMeetsShape = insideRow >= 0 && insideRow < inside.height();
            if (!rowMeetsShape && shape.inside)
                continue;
            std::fill(coverage.begin(), coverage.end(), 0.0f);
            if (rowMeetsShape) {
                const uchar* c = inside.pixels.ptr(insideRow);
                for (int x = 0; x < inside.width(); ++x)
                    coverage[size_t(inside.origin.x + x)] = float(c[x]) / 255;
            }
            if (!shape.inside)
                for (float& c : coverage)
                    c = 1 - c;
            raiseAndLower(erase.ptr(y), restore.ptr(y), coverage.data(), canvas.width);
        }
    });
}

void applyColorKey(const MaskColorKey& key, const RGBABitmap& source, MaskEditLayers& layers)
{
    const int width = source.width;
    const int height = source.height;
    std::vector<std::uint8_t> region;
    if (key.shape)
        if (const auto path = selectionPath(*key.shape, key.points))
            region = rasterizeMask(*path, width, height);

    // Distances are worked out on the 0 … 255 scale in single precision, so the
    // loop vectorises; only partial matches take the square root.
    const ColorKeyMatch match = ColorKeyMatch::forTolerance(key.tolerance);
    const float full2 = match.full > 0 ? float(match.full * match.full * 255 * 255) : 0.0f;
    const float none2 = float(match.none * match.none * 255 * 255);
    std::vector<std::array<float, 3>> keys;
    for (const RGBAColor& colour : key.colors)
        keys.push_back({float(colour.r * 255), float(colour.g * 255), float(colour.b * 255)});
    cv::Mat& erase = layers.erase.pixels;
    cv::Mat& restore = layers.restore.pixels;
    parallelRows(height, width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            uchar* e = erase.ptr(y);
            uchar* r = restore.ptr(y);
            const std::uint8_t* rgba = source.pixel(0, y);
            const std::uint8_t* inRegion = region.empty() ? nullptr : region.data() + size_t(y) * width;
            for (int x = 0; x < width; ++x, rgba += 4) {
                if (inRegion && !inRegion[x])
                    continue;
                float nearest2 = INFINITY;
                for (const auto& k : keys) {
                    const float dr = float(rgba[0]) - k[0];
                    const float dg = float(rgba[1]) - k[1];
                    const float db = float(rgba[2]) - k[2];
                    nearest2 = std::min(nearest2, dr * dr + dg * dg + db * db);
                }
                double m = nearest2 <= full2 ? 1.0 : nearest2 >= none2 ? 0.0 : match.at(std::sqrt(nearest2) / 255.0);
                if (key.keep)
                    m = 1 - m;
                const int v = std::clamp(int(m * 255), 0, 255);
                if (v > 0) {
                    e[x] = std::max(e[x], uchar(v));
                    r[x] = std::min(r[x], uchar(255 - v));
                }
            }
        }
    });
}

} // namespace

std::optional<MaskEditLayers> applyMaskEdits(const std::vector<MaskEditOp>& ops, int width, int height,
                                             const std::optional<RGBABitmap>& source)
{
    if (ops.empty() || width < 1 || height < 1)
        return std::nullopt;
    // Layers the pixel layer could not hold are not made at all.
    if (!withinLimits({width, height}))
        return std::nullopt;
    MaskEditLayers layers{Matte::filled({width, height}, 0), Matte::filled({width, height}, 0)};
    for (const MaskEditOp& op : ops) {
        if (const auto* stroke = std::get_if<MaskStroke>(&op)) {
            if (!stroke->points.empty())
                applyStroke(*stroke, layers);
        } else if (const auto* shape = std::get_if<MaskShape>(&op)) {
            applyShape(*shape, layers);
        } else if (const auto* key = std::get_if<MaskColorKey>(&op)) {
            if (source && source->width == width && source->height == height && !key->colors.empty()
                && source->bytes.size() >= size_t(width) * height * 4)
                applyColorKey(*key, *source, layers);
        }
    }
    return layers;
}

} // namespace zephrin
