#include "engine/composite/CanvasGeometry.h"

#include "engine/pixel/Mirror.h"
#include "engine/pixel/Translate.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

int wholePixels(double value)
{
    constexpr double kLimit = 1 << 28;
    return static_cast<int>(std::isnan(value) ? 0 : std::clamp(value, -kLimit, kLimit));
}

cv::Rect integralRect(const QRectF& rect)
{
    const QRectF r = rect.normalized();
    const int left = wholePixels(std::floor(r.left()));
    const int top = wholePixels(std::floor(r.top()));
    const int right = wholePixels(std::ceil(r.right()));
    const int bottom = wholePixels(std::ceil(r.bottom()));
    return {left, top, right - left, bottom - top};
}

std::optional<cv::Rect> cropRect(const std::optional<QRectF>& crop, const cv::Rect& extent)
{
    if (!crop || !(crop->width() > 2) || !(crop->height() > 2))
        return std::nullopt;
    const QRectF inside = crop->intersected(QRectF(extent.x, extent.y, extent.width, extent.height));
    if (inside.isEmpty())
        return std::nullopt;
    const cv::Rect whole = integralRect(inside) & extent;
    if (whole.empty())
        return std::nullopt;
    return whole;
}

std::optional<AspectParts> aspectParts(const CompositeSettings& settings)
{
    if (settings.shapeCrop == ShapeCrop::circle)
        return AspectParts{1, 1};
    return aspectParts(settings.aspect);
}

std::optional<AspectParts> aspectParts(AspectPreset aspect)
{
    switch (aspect) {
    case AspectPreset::original: return std::nullopt;
    case AspectPreset::square: return AspectParts{1, 1};
    case AspectPreset::fourThree: return AspectParts{4, 3};
    case AspectPreset::portrait: return AspectParts{4, 5};
    case AspectPreset::landscape: return AspectParts{3, 2};
    case AspectPreset::wide: return AspectParts{16, 9};
    case AspectPreset::story: return AspectParts{9, 16};
    }
    return std::nullopt;
}

std::optional<double> aspectRatio(AspectPreset aspect)
{
    const std::optional<AspectParts> parts = aspectParts(aspect);
    return parts ? std::optional(parts->ratio()) : std::nullopt;
}

QRectF contentCanvas(const cv::Rect& subject, const std::optional<QRectF>& contentBounds, double margin,
                     const CompositeSettings& settings)
{
    if (!settings.trimToContent || !contentBounds)
        return QRectF(subject.x, subject.y, subject.width, subject.height);
    const QRectF grown = contentBounds->adjusted(-margin, -margin, margin, margin);
    const double pad = std::max(grown.width(), grown.height()) * settings.padding / 100;
    return grown.adjusted(-pad, -pad, pad, pad);
}

cv::Rect canvasAtAspect(const QRectF& canvas, std::optional<AspectParts> aspect)
{
    const cv::Rect bounds = integralRect(canvas);
    if (!aspect || bounds.width <= 0 || bounds.height <= 0)
        return bounds;
    const auto partsNeeded = [](int side, int part) { return (qint64(side) + part - 1) / part; };
    const qint64 k = std::max(partsNeeded(bounds.width, aspect->width), partsNeeded(bounds.height, aspect->height));
    // Held where whole pixels are: the pixel layer refuses such a canvas as too large.
    const int width = wholePixels(double(k * aspect->width));
    const int height = wholePixels(double(k * aspect->height));
    return {bounds.x - (width - bounds.width) / 2, bounds.y - (height - bounds.height) / 2, width, height};
}

std::optional<cv::Rect> cropAtAspect(const QRectF& drawn, AspectParts aspect, cv::Size bounds)
{
    const double most = std::min(bounds.width / aspect.width, bounds.height / aspect.height);
    if (most < 1)
        return std::nullopt;
    const double wanted = std::round(std::min(drawn.width() / aspect.width, drawn.height() / aspect.height));
    const int k = int(std::clamp(std::isnan(wanted) ? 1.0 : wanted, 1.0, most));
    const cv::Size size(k * aspect.width, k * aspect.height);
    const int x = wholePixels(std::floor(drawn.center().x() - size.width / 2.0));
    const int y = wholePixels(std::floor(drawn.center().y() - size.height / 2.0));
    return cv::Rect(std::clamp(x, 0, bounds.width - size.width), std::clamp(y, 0, bounds.height - size.height),
                    size.width, size.height);
}

double dressMargin(const CompositeSettings& settings)
{
    double margin = 0;
    if (settings.outlineEnabled && settings.outlineWidth > 0.5)
        margin = settings.outlineWidth;
    if (settings.shadowEnabled && settings.shadowOpacity > 0.5)
        margin += 3 * settings.shadowBlur + std::abs(settings.shadowOffsetX) + std::abs(settings.shadowOffsetY);
    return margin;
}

cv::Rect compositeCanvas(const cv::Rect& subject, const std::optional<QRectF>& contentBounds,
                         const CompositeSettings& settings)
{
    const std::optional<QRectF> content = settings.trimToContent ? contentBounds : std::nullopt;
    return canvasAtAspect(contentCanvas(subject, content, dressMargin(settings), settings), aspectParts(settings));
}

CompositeFrame compositeFrame(const cv::Rect& cutoutExtent, const std::optional<QRectF>& contentBounds,
                              const CompositeSettings& settings)
{
    const CompositeSettings s = settings.clamped();
    const cv::Rect subject = cropRect(s.crop, cutoutExtent).value_or(cutoutExtent);
    const cv::Rect canvas = compositeCanvas(subject, contentBounds, s);
    CompositeFrame frame;
    frame.origin = QPointF(canvas.x, canvas.y);
    frame.mirror = s.mirror;
    frame.width = canvas.width;
    return frame;
}

Matte inCompositePixels(const Matte& matte, const CompositeFrame& frame)
{
    const cv::Point origin(wholePixels(std::round(frame.origin.x())), wholePixels(std::round(frame.origin.y())));
    Matte placed = translated(matte, -origin);
    if (frame.mirror) {
        placed = mirrored(placed);
        placed.origin.x = wholePixels(std::round(frame.width)) - placed.origin.x - placed.width();
    }
    return placed;
}

} // namespace zephrin
