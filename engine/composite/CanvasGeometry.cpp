#include "engine/composite/CanvasGeometry.h"

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

std::optional<double> aspectRatio(const CompositeSettings& settings)
{
    if (settings.shapeCrop == ShapeCrop::circle)
        return 1.0;
    return aspectRatio(settings.aspect);
}

std::optional<double> aspectRatio(AspectPreset aspect)
{
    switch (aspect) {
    case AspectPreset::original:
        return std::nullopt;
    case AspectPreset::square:
        return 1.0;
    case AspectPreset::fourThree:
        return 4.0 / 3.0;
    case AspectPreset::portrait:
        return 0.8;
    case AspectPreset::landscape:
        return 1.5;
    case AspectPreset::wide:
        return 16.0 / 9.0;
    case AspectPreset::story:
        return 0.5625;
    }
    return std::nullopt;
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

cv::Rect canvasAtAspect(const QRectF& canvas, std::optional<double> ratio)
{
    QRectF grown = canvas;
    if (ratio && canvas.height() > 0) {
        const double r = *ratio;
        const double current = canvas.width() / canvas.height();
        if (current < r) {
            const double side = (r * canvas.height() - canvas.width()) / 2;
            grown.adjust(-side, 0, side, 0);
        } else if (current > r) {
            const double side = (canvas.width() / r - canvas.height()) / 2;
            grown.adjust(0, -side, 0, side);
        }
    }
    return integralRect(grown);
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
    return canvasAtAspect(contentCanvas(subject, content, dressMargin(settings), settings), aspectRatio(settings));
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

} // namespace zephrin
