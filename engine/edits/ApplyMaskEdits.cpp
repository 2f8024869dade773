#include "engine/edits/ApplyMaskEdits.h"

#include "engine/edits/BrushDabs.h"
#include "engine/edits/ColorKeyMatch.h"
#include "engine/edits/SelectionCoverage.h"
#include "engine/edits/SelectionGeometry.h"
#include "engine/edits/StrokeCoverage.h"
#include "engine/pixel/detail/ExtentLimits.h"
#include "engine/pixel/detail/ParallelRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
    const BrushDabShape shape{stroke.tip, brushRadius(stroke.size), stroke.hardness};
    const QRectF reach = QRectF(0, 0, canvas.width, canvas.height)
                             .adjusted(-shape.radius - 1, -shape.radius - 1, shape.radius + 1, shape.radius + 1);
    const auto centres = dabCentres(stroke.points, dabSpacing(shape.radius), reach);
    cv::Mat& raised = stroke.erase ? layers.erase.pixels : layers.restore.pixels;
    cv::Mat& lowered = stroke.erase ? layers.restore.pixels : layers.erase.pixels;
    renderStrokeCoverage(centres, shape, canvas, [&](cv::Rect band, const cv::Mat& coverage) {
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
    detail::parallelRows(canvas.height, canvas.width, [&](int firstRow, int endRow) {
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

    const ColorKeyMatch match = ColorKeyMatch::forTolerance(key.tolerance);
    const double full2 = match.full > 0 ? match.full * match.full : 0;
    const double none2 = match.none * match.none;
    cv::Mat& erase = layers.erase.pixels;
    cv::Mat& restore = layers.restore.pixels;
    detail::parallelRows(height, width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            uchar* e = erase.ptr(y);
            uchar* r = restore.ptr(y);
            const std::uint8_t* inRegion = region.empty() ? nullptr : region.data() + size_t(y) * width;
            for (int x = 0; x < width; ++x) {
                if (inRegion && !inRegion[x])
                    continue;
                const std::uint8_t* rgba = source.pixel(x, y);
                double nearest2 = INFINITY;
                for (const RGBAColor& colour : key.colors) {
                    const double dr = rgba[0] / 255.0 - colour.r;
                    const double dg = rgba[1] / 255.0 - colour.g;
                    const double db = rgba[2] / 255.0 - colour.b;
                    nearest2 = std::min(nearest2, dr * dr + dg * dg + db * db);
                }
                // The square root only where the match is partial.
                double m = nearest2 <= full2 ? 1.0 : nearest2 >= none2 ? 0.0 : match.at(std::sqrt(nearest2));
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
    if (width > detail::kMaxSide || height > detail::kMaxSide || std::int64_t(width) * height > detail::kMaxPixels)
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
